// ButtonBase: what every push button, check box and radio button shares:
// the label, the button flags, the click logic for mouse and keys, and the
// membership in the enclosing group. Subclasses only draw.
#pragma once

#include <cstdint>

#include "nytoolkit/forms/loader.h"
#include "nytoolkit/forms/nytk_widget.h"

namespace NyToolkit {
class Group;
}

namespace NyToolkit::Buttons {

namespace ButtonFlags {
enum : std::uint32_t {
    Toggle = 1,
    Pushed = 2,
    Active = 4,
    Stickey = 8,
    Grouped = 16,
    TextBelow = 32,
    TextOver = 64,
};
}

class ButtonBase : public NytkWidget {
    NY_REFLECTIVE(ButtonBase)
public:
    ButtonBase();
    // Leaves the group it is registered with.
    ~ButtonBase() override;
    static NyCore::Object* __create();

    // The words of the "flags" parameter.
    static Loader::FlagDescrip const ButtonFlagWords[];

    // "flags", "label", and for grouped buttons "id" (registration with the nearest group).
    void setParameters(NyCore::XML::Element* element) override;

    void setLabel(NyCore::String const* text);
    NyCore::String const* get$label() const { return label; }
    std::uint32_t get$buttonFlags() const { return buttonFlags; }
    // The id under which the button is known to its group, null when it is in none.
    NyCore::String const* get$groupId() const { return groupId; }

    bool get$active() const { return (buttonFlags & ButtonFlags::Active) != 0; }
    void set$active(bool on);
    void activate();
    void deactivate();
    void deactivateIgnoreGroup();
    // Active without telling the group (the group's own selection changes).
    void activateIgnoreGroup();

    // The bare base shows its label only; the subclasses draw the control.
    void onDraw(NyCore::Graphics::GC* gc) override;
    void onMouseDown(int x, int y, int button, int keys) override;
    void onDoubleClick(int x, int y, int button, int keys) override;
    void onMouseUp(int x, int y, int button, int keys) override;
    void onMouseOver(int x, int y, int keys) override;
    void onMouseOut(int x, int y, int keys) override;
    void onCharKeyDown(int code, int modifiers) override;
    void onCharKeyUp(int code, int modifiers) override;
    void onSystemKeyDown(int code, int modifiers) override;
    void onFocusGained() override;
    void onFocusLost() override;
    void onDisable() override;

protected:
    // Toggle flips Active, Stickey sets it; then the group hears of it and "click" is sent.
    void finishClick();
    // Whether a mouse press on the button takes the keyboard focus.
    virtual bool focusOnPress() const;
    // Draws the label in the colour, in the box, with the text flags.
    void drawLabel(NyCore::Graphics::GC* gc, std::uint32_t color, int x, int y, int w, int h, int textFlags);
    bool hasFocus() const { return (flags & NyCore::System::WidgetFlags::HasFocus) != 0; }
    bool pointerInside() const { return (flags & NyCore::System::WidgetFlags::PointerInside) != 0; }
    bool isDisabled() const { return (flags & NyCore::System::WidgetFlags::Disabled) != 0; }
    bool shownPushed() const { return (buttonFlags & (ButtonFlags::Pushed | ButtonFlags::Active)) != 0; }

    NyCore::String* label = nullptr;
    NyCore::String* groupId = nullptr;
    std::uint32_t buttonFlags = 0;

private:
    void setPushed(bool on);
    // Ends a press or held key without a click.
    void cancelPress();
    Group* findGroup();
    void tellGroup();

    // A click completes only after the button's own press or key down: a
    // release that began elsewhere (a pop-up item, the dialog's background)
    // is not a click here.
    bool mousePressed = false;
    int keyPressed = 0;
};

}
