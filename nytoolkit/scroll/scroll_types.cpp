// The scroll classes the toolkit registers.
#include "nytoolkit/scroll/scroll_bar.h"
#include "nytoolkit/scroll/scroll_view.h"
#include "nytoolkit/toolkit_types.h"

namespace NyToolkit {

NyCore::TypeData* const ScrollTypes[] = {&ScrollView::MetaData, &ScrollBar::MetaData, nullptr};

}
