// IconSet: an icon strip shared by count between styles, buttons and
// renderers. The strip is destroyed with the last reference.
#pragma once

#include "nycore/graphics/icon_strip.h"
#include "nycore/system/counted_object.h"

namespace NyToolkit {

class IconSet : public NyCore::Extenders::CountedObject {
    NY_REFLECTIVE(IconSet)
public:
    // A set (count 1) loaded from an icon file found as a data file; a file
    // that cannot be read is fatal and names the path.
    static IconSet* load(NyCore::String const* fileName);
    static IconSet* load(char16_t const* fileName);
    ~IconSet() override;

    NyCore::Graphics::IconStrip* get$strip() { return &strip; }
    int get$count() const { return strip.count; }
    int get$width() const { return strip.width; }
    int get$height() const { return strip.height; }
    // Draws icon `index` opaque with its mask at (x, y); an index outside the set draws nothing.
    void draw(NyCore::Graphics::GC* gc, int x, int y, int index);

private:
    IconSet() = default;
    NyCore::Graphics::IconStrip strip{};
    bool loaded = false;
};

}
