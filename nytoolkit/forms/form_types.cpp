// The form classes the toolkit registers.
#include "nytoolkit/forms/form.h"
#include "nytoolkit/toolkit_types.h"

namespace NyToolkit {

NyCore::TypeData* const FormTypes[] = {&NytkWidget::MetaData, &Form::MetaData, nullptr};

}
