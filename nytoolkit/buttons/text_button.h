// TextButton: a push button, a raised box with its label centred that
// shows sunken while pressed or active, with hover and focus outlines.
#pragma once

#include "nytoolkit/buttons/button_base.h"

namespace NyToolkit::Buttons {

class TextButton : public ButtonBase {
    NY_REFLECTIVE(TextButton)
public:
    TextButton() = default;
    static NyCore::Object* __create();

    // Takes the style of the "button" class.
    void onCreate() override;
    void onDraw(NyCore::Graphics::GC* gc) override;

protected:
    bool focusOnPress() const override { return true; }

private:
    void drawRaisedBorder(NyCore::Graphics::GC* gc);
    void drawSunkenBorder(NyCore::Graphics::GC* gc);
};

}
