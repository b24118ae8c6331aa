// CurrencyRenderer: a number cell like DoubleRenderer whose negative
// amounts are drawn in their own colour ("negitiveColor").
#pragma once

#include <cstdint>

#include "nytoolkit/table/double_renderer.h"

namespace NyToolkit::DataRenderers {

class CurrencyRenderer : public DoubleRenderer {
    NY_REFLECTIVE(CurrencyRenderer)
public:
    // Negative amounts are red until the element names a colour.
    static constexpr std::uint32_t DefaultNegativeColor = 0xFF0000;

    CurrencyRenderer() = default;
    static NyCore::Object* __create();

    void initilize(NyCore::XML::Element* parameters) override;
    void render(NyCore::Object* value, NyCore::Graphics::GC* gc, NyCore::Graphics::Rect const* cell,
                unsigned flags) override;

    std::uint32_t get$negitiveColor() const { return negitiveColor; }
    void set$negitiveColor(std::uint32_t rgb) { negitiveColor = rgb; }

private:
    std::uint32_t negitiveColor = DefaultNegativeColor;
};

}
