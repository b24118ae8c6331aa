// The buttons classes the toolkit registers.
#include "nytoolkit/buttons/button_base.h"
#include "nytoolkit/buttons/check_button.h"
#include "nytoolkit/buttons/group.h"
#include "nytoolkit/buttons/icon_button.h"
#include "nytoolkit/buttons/radio_button.h"
#include "nytoolkit/buttons/text_button.h"
#include "nytoolkit/toolkit_types.h"

namespace NyToolkit {

NyCore::TypeData* const ButtonTypes[] = {&Buttons::ButtonBase::MetaData,  &Buttons::TextButton::MetaData,
                                         &Buttons::IconButton::MetaData,  &Buttons::CheckButton::MetaData,
                                         &Buttons::RadioButton::MetaData, &Group::MetaData,
                                         nullptr};

}
