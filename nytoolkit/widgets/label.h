// Label: a line or block of static text placed in its box by the drawing
// context's text flags ("textAlign" words), on the background of its parent.
#pragma once

#include "nytoolkit/forms/loader.h"
#include "nytoolkit/forms/nytk_widget.h"

namespace NyToolkit {

class Label : public NytkWidget {
    NY_REFLECTIVE(Label)
public:
    Label() = default;
    ~Label() override;
    static NyCore::Object* __create();

    // The words of "textAlign"; their values are text flags of the drawing context.
    static Loader::FlagDescrip const AlignWords[];

    // "textAlign", and the element's text content as the text.
    void setParameters(NyCore::XML::Element* element) override;
    void onDraw(NyCore::Graphics::GC* gc) override;
    void onStyleChange() override { redraw(); }

    // Copies the text; null shows nothing.
    void setText(NyCore::String const* newText);
    // Never null (the empty string when there is no text).
    NyCore::String const* get$text() const;
    int get$textAlign() const { return textAlign; }
    void set$textAlign(int flags);

private:
    NyCore::String* text = nullptr;
    int textAlign = 0;
};

}
