// Pixels read straight from the X server and decoded here with the visual's
// channel masks, never through the core's own colour mapping, so that a
// colour fault in drawing cannot cancel out in the check. No Xlib header
// is included, so that drawing tests keep the core's GC name.
#pragma once

#include <cstdint>
#include <vector>

namespace TestSupport {

// The 0xRRGGBB values of a rectangle of a window or pixmap, row by row.
std::vector<std::uint32_t> readPixels(unsigned long drawable, int x, int y, int w, int h);
std::uint32_t pixelAt(unsigned long drawable, int x, int y);

struct PixelCase {
    char const* name;
    int x, y;
    std::uint32_t rgb;
};
void expectPixels(unsigned long drawable, std::vector<PixelCase> const& cases);

}
