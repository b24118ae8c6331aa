// IconButton: a button drawn as one picture of an icon strip, chosen by its
// state (off, on, hovered or focused, pushed, disabled), with the label
// beside, below or over the picture.
#pragma once

#include "nytoolkit/buttons/button_base.h"
#include "nytoolkit/styles/icon_set.h"

namespace NyToolkit::Buttons {

class IconButton : public ButtonBase {
    NY_REFLECTIVE(IconButton)
public:
    IconButton() = default;
    ~IconButton() override;
    static NyCore::Object* __create();

    // Takes the style of the "button" class on the parent's background.
    void onCreate() override;
    // The button's parameters, and "file": an icon file loaded as the strip.
    void setParameters(NyCore::XML::Element* element) override;
    void onDraw(NyCore::Graphics::GC* gc) override;

    // Counted; null draws the label alone.
    void set$icons(IconSet* set);
    IconSet* get$icons() const { return icons; }
    // The picture for the state: 0-2 off (normal, hovered or focused,
    // pushed), 3-5 the same on, 6 disabled off, 7 disabled on.
    int iconIndex() const;

private:
    void drawFocus(NyCore::Graphics::GC* gc, int labelX, int iconX, int iconY);

    IconSet* icons = nullptr;
};

}
