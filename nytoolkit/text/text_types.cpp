// The text classes the toolkit registers.
#include "nytoolkit/text/text_area.h"
#include "nytoolkit/text/text_box.h"
#include "nytoolkit/toolkit_types.h"

namespace NyToolkit {

NyCore::TypeData* const TextTypes[] = {&TextBox::MetaData, &TextArea::MetaData, nullptr};

}
