// DataRenderer: draws one cell value of a data table into a rectangle. The
// table viewer holds one per column; derived renderers read their form
// parameters in initilize and draw in render.
#pragma once

#include "nycore/graphics/gc.h"
#include "nycore/system/object.h"

namespace NyCore::XML {
class Element;
}

namespace NyCore::Data {

class DataRenderer : public Object {
    NY_REFLECTIVE(DataRenderer)
public:
    DataRenderer() = default;
    static Object* __create();

    // Preferred cell height and width for a value; 0 leaves them to the table.
    virtual int getHeight(Object* value, int available);
    virtual int getWidth(Object* value, int available);
    // Reads the renderer's parameters from its form element (may be null).
    virtual void initilize(XML::Element* parameters);
    // Draws the value inside the cell; flags are the text flags of the column's alignment.
    virtual void render(Object* value, Graphics::GC* gc, Graphics::Rect const* cell, unsigned flags);
};

}
