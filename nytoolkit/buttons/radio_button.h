// RadioButton: a radio button, the icon button that takes the "radio"
// strip of its style; without Toggle or Stickey from the form it sticks on.
#pragma once

#include "nytoolkit/buttons/icon_button.h"

namespace NyToolkit::Buttons {

class RadioButton : public IconButton {
    NY_REFLECTIVE(RadioButton)
public:
    RadioButton() = default;
    static NyCore::Object* __create();

    void onCreate() override;
    void setParameters(NyCore::XML::Element* element) override;
};

}
