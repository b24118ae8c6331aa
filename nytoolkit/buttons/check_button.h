// CheckButton: a check box, the icon button that takes the "check" strip
// of its style; without Toggle or Stickey from the form it toggles.
#pragma once

#include "nytoolkit/buttons/icon_button.h"

namespace NyToolkit::Buttons {

class CheckButton : public IconButton {
    NY_REFLECTIVE(CheckButton)
public:
    CheckButton() = default;
    static NyCore::Object* __create();

    void onCreate() override;
    void setParameters(NyCore::XML::Element* element) override;
};

}
