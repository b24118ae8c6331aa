// The widgets classes the toolkit registers.
#include "nytoolkit/toolkit_types.h"
#include "nytoolkit/widgets/animated_bar.h"
#include "nytoolkit/widgets/calendar.h"
#include "nytoolkit/widgets/icon_text_box.h"
#include "nytoolkit/widgets/image.h"
#include "nytoolkit/widgets/label.h"
#include "nytoolkit/widgets/progress_bar.h"
#include "nytoolkit/widgets/tab_bar.h"
#include "nytoolkit/widgets/value_spin.h"

namespace NyToolkit {

NyCore::TypeData* const WidgetTypes[] = {&Label::MetaData, &Image::MetaData, &IconTextBox::MetaData,
                                         &ProgressBar::MetaData, &AnimatedBar::MetaData, &ValueSpin::MetaData,
                                         &TabBar::MetaData, &Calendar::MetaData,
                                         nullptr};

}
