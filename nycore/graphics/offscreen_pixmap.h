// OffscreenPixmap: an off-screen drawable of the screen's format with its own
// drawing context. Widgets paint into one and copy it to their window in one
// step, so that nothing flickers; tests draw into one and read it back.
#pragma once

#include "nycore/graphics/gc.h"

namespace NyCore::Graphics {

class OffscreenPixmap {
public:
    // A width or height below 1 is fatal (Error.InvalidParamiter); needs the X display.
    OffscreenPixmap(int width, int height);
    ~OffscreenPixmap();
    OffscreenPixmap(OffscreenPixmap const&) = delete;
    OffscreenPixmap& operator=(OffscreenPixmap const&) = delete;

    int get$width() const { return width; }
    int get$height() const { return height; }
    NativeDrawable get$drawable() const { return drawable; }
    GC* get$gc() { return &gc; }

private:
    NativeDrawable drawable = 0;
    int width = 0;
    int height = 0;
    GC gc {};
};

}
