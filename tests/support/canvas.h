// A white off-screen picture for the drawing tests, read back pixel by pixel
// straight from the X server (readPixels), with the bounding box of
// everything that is no longer white ("ink").
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "nycore/graphics/gc.h"
#include "nycore/graphics/offscreen_pixmap.h"
#include "tests/support/pixels.h"

namespace TestSupport {

struct CanvasPixel {
    int x, y;
    std::uint32_t rgb;
};

struct InkBox {
    int left = -1;
    int top = -1;
    int right = -1;   // inclusive
    int bottom = -1;  // inclusive
    int count = 0;
};

class Canvas {
public:
    Canvas(int width, int height) : pixmap(width, height)
    {
        clear();
    }

    NyCore::Graphics::GC* gc() { return pixmap.get$gc(); }
    int width() const { return pixmap.get$width(); }
    int height() const { return pixmap.get$height(); }

    void clear()
    {
        NyCore::Graphics::GC* context = gc();
        gc_save_state(context);
        gc_set_background(context, 0xFFFFFF);
        gc_rect_fill(context, 0, 0, width(), height());
        gc_restore_state(context);
    }

    // Reads the whole picture back; later at() and ink() calls use this copy.
    void snap()
    {
        pixels = readPixels(pixmap.get$drawable(), 0, 0, width(), height());
    }

    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width() + x]; }

    // Reads the picture back and checks every case; failures name `what`.
    void expectPixels(std::string const& what, std::vector<CanvasPixel> const& cases)
    {
        snap();
        for (CanvasPixel const& c : cases)
            EXPECT_EQ(at(c.x, c.y), c.rgb) << what << " at (" << c.x << ", " << c.y << ")";
    }

    InkBox ink() const { return ink(0, 0, width(), height()); }

    InkBox ink(int x, int y, int w, int h) const
    {
        InkBox box;
        for (int row = y; row < y + h; ++row)
            for (int column = x; column < x + w; ++column) {
                if (at(column, row) == 0xFFFFFF)
                    continue;
                // Rows are walked from the top; right and bottom start below any column and row.
                box.left = box.count == 0 ? column : std::min(box.left, column);
                box.top = box.count++ == 0 ? row : box.top;
                box.right = std::max(box.right, column);
                box.bottom = row;
            }
        return box;
    }

    // The number of separate horizontal bands of rows that hold ink.
    int inkBands() const
    {
        int bands = 0;
        bool inBand = false;
        for (int row = 0; row < height(); ++row) {
            bool inked = ink(0, row, width(), 1).count > 0;
            if (inked && !inBand)
                ++bands;
            inBand = inked;
        }
        return bands;
    }

    NyCore::Graphics::OffscreenPixmap pixmap;
    std::vector<std::uint32_t> pixels;
};

}
