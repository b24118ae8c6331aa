// StringRenderer: draws a text cell (a String value) with the column's
// alignment.
#pragma once

#include "nycore/data/data_renderer.h"

namespace NyToolkit::DataRenderers {

class StringRenderer : public NyCore::Data::DataRenderer {
    NY_REFLECTIVE(StringRenderer)
public:
    StringRenderer() = default;
    static NyCore::Object* __create();

    void render(NyCore::Object* value, NyCore::Graphics::GC* gc, NyCore::Graphics::Rect const* cell,
                unsigned flags) override;

    // Pixels kept free left and right of a cell's text, so that text never touches the column edges.
    static constexpr int TextInset = 3;
    // The box that the text renderers draw a cell's text in.
    static NyCore::Graphics::Rect textBox(NyCore::Graphics::Rect const* cell);
    // Draws text in the cell's text box.
    static void drawText(NyCore::Graphics::GC* gc, NyCore::String const* text, NyCore::Graphics::Rect const* cell,
                         unsigned flags);
};

}
