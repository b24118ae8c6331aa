// IconRenderer: draws an icon-number cell (an Integer32) as that icon of
// its icon set ("icons", an icon file), placed by the column's alignment.
#pragma once

#include "nycore/data/data_renderer.h"
#include "nytoolkit/styles/icon_set.h"

namespace NyToolkit::DataRenderers {

class IconRenderer : public NyCore::Data::DataRenderer {
    NY_REFLECTIVE(IconRenderer)
public:
    IconRenderer() = default;
    ~IconRenderer() override;
    static NyCore::Object* __create();

    void initilize(NyCore::XML::Element* parameters) override;
    // Numbers outside the set, and every number without a set, draw nothing.
    void render(NyCore::Object* value, NyCore::Graphics::GC* gc, NyCore::Graphics::Rect const* cell,
                unsigned flags) override;

    IconSet* get$icons() const { return icons; }
    // Takes a reference on the new set before releasing the old one.
    void set$icons(IconSet* set);

private:
    IconSet* icons = nullptr;
};

}
