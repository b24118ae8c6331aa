// CheckBoxRenderer: draws an on/off cell (an Integer32) as the style's
// check box picture, ticked for any non-zero value, centred in the cell.
#pragma once

#include "nycore/data/data_renderer.h"
#include "nytoolkit/styles/icon_set.h"

namespace NyToolkit::DataRenderers {

class CheckBoxRenderer : public NyCore::Data::DataRenderer {
    NY_REFLECTIVE(CheckBoxRenderer)
public:
    // The pictures of the check icon set used for the two values.
    static constexpr int UncheckedIcon = 0;
    static constexpr int CheckedIcon = 3;

    // Takes a reference on the default style's check icons.
    CheckBoxRenderer();
    ~CheckBoxRenderer() override;
    static NyCore::Object* __create();

    void render(NyCore::Object* value, NyCore::Graphics::GC* gc, NyCore::Graphics::Rect const* cell,
                unsigned flags) override;

    IconSet* get$icons() const { return icons; }

private:
    IconSet* icons = nullptr;
};

}
