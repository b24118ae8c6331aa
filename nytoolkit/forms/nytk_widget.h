// NytkWidget: the base of every toolkit widget. It adds the shared style
// (counted, copied before a change when others share it) and the ancestor
// search that form loading relies on.
#pragma once

#include <cstdint>

#include "nycore/system/widget.h"
#include "nytoolkit/styles/style.h"

namespace NyToolkit {

class NytkWidget : public NyCore::System::Widget {
    NY_REFLECTIVE(NytkWidget)
public:
    // Takes a reference on the default style of "control".
    NytkWidget();
    ~NytkWidget() override;
    static NyCore::Object* __create();

    void onCreate() override;
    void setParameters(NyCore::XML::Element* element) override;
    // Called after the style or its font or colours changed.
    virtual void onStyleChange();

    // A non-zero class takes that class's default style; then the background
    // becomes the parent's (inheritBackground with a parent) or the style's first colour.
    void setStyleClass(int styleClass, bool inheritBackground);
    Style* get$style() const { return style; }
    void set$style(Style* newStyle);
    // Copy on write: a shared style is replaced by a private duplicate first.
    void set$font(NyCore::Graphics::Font* font);
    void setColor(int slot, std::uint32_t rgb);
    std::uint32_t getColor(int slot) const { return style->getColor(slot); }

    // The widget itself or its nearest ancestor of the type (or a derived
    // one); the search stops at the first top-level window. Null when none.
    NyCore::System::Widget* getAncestor(NyCore::String const* typeName);

protected:
    void makeStylePrivate();

    Style* style = nullptr;
};

}
