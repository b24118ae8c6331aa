// IconTextBox: a one-line box that shows a text, with an icon button at its
// right end (for example the "choose..." button beside a file name). Pressing
// the button (the left mouse button, or Space or Enter while the box has the
// focus) sends "buttonClick"; letting it go sends "buttonRelease".
#pragma once

#include "nytoolkit/forms/nytk_widget.h"
#include "nytoolkit/styles/icon_set.h"

namespace NyToolkit {

class IconTextBox : public NytkWidget {
    NY_REFLECTIVE(IconTextBox)
public:
    IconTextBox() = default;
    ~IconTextBox() override;
    static NyCore::Object* __create();

    void onCreate() override;
    // "icon": an icon file whose icons 0, 1 and 2 are the button's picture at
    // rest, under the pointer and pressed (one icon serves for all three);
    // without it the style's drop arrows. "value": the text shown.
    void setParameters(NyCore::XML::Element* element) override;
    void onDraw(NyCore::Graphics::GC* gc) override;
    void onStyleChange() override { redraw(); }
    void onMouseDown(int x, int y, int button, int keys) override;
    void onDoubleClick(int x, int y, int button, int keys) override;
    void onMouseUp(int x, int y, int button, int keys) override;
    void onMouseMove(int x, int y, int keys) override;
    void onMouseOut(int x, int y, int keys) override;
    void onCharKeyDown(int code, int modifiers) override;
    void onCharKeyUp(int code, int modifiers) override;
    void onFocusGained() override;
    void onFocusLost() override;

    void setText(NyCore::String const* newText);
    NyCore::String const* get$text() const;
    // The button's rectangle, at the right end inside the frame.
    void getButtonRect(NyCore::System::WidgetRect* rect) const;
    bool get$pressed() const { return pressed; }
    IconSet* get$icons() const;

private:
    bool insideButton(int x, int y) const;
    void press();
    void unpress();

    NyCore::String* text = nullptr;
    // An icon file's set (owned); null uses the style's drop arrows.
    IconSet* icons = nullptr;
    bool pressed = false;
    bool hover = false;
    bool keyPressed = false;
};

}
