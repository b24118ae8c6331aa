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
};

}
