// Font: a face at a pixel size, shared through a reference count by styles,
// widgets and drawing contexts. Names go through fontconfig, so "arial" and
// "courier new" find their metric-compatible Liberation faces.
#pragma once

#include "nycore/system/counted_object.h"
#include "nycore/text/string.h"

namespace NyCore::Graphics {

class Font : public Extenders::CountedObject {
    NY_REFLECTIVE(Font)
public:
    enum Style { Regular = 0, Bold = 1, Italic = 2 };

    // A new font (count 1) of the face, `size` pixels high, with the style
    // bits; needs the X display.
    static Font* create(String const* face, int size, int style);
    ~Font() override;

    int get$size() const { return size; }
    int get$style() const { return style; }
    // The height of one line of text (ascent + descent).
    int get$height() const { return ascent + descent; }
    int get$ascent() const { return ascent; }
    int get$descent() const { return descent; }
    // The family fontconfig chose for the face (a new String).
    String* getFamilyName() const;

    // Advance width of the text in pixels.
    int measure(String const* s) const;
    int measureUnits(char16_t const* units, int count) const;

    // The platform font (an XftFont*) for the drawing code.
    void* get$handle() const { return handle; }

private:
    Font() = default;

    void* handle = nullptr;
    int size = 0;
    int style = 0;
    int ascent = 0;
    int descent = 0;
};

}
