// TableViewerColumn: how a table viewer shows one column of its data table,
// its heading label, width, alignment, visibility and the renderer that
// draws its cells (none leaves the cells empty).
#pragma once

#include <cstdint>

#include "nycore/data/data_renderer.h"
#include "nycore/system/object.h"
#include "nycore/xml/xml_node.h"
#include "nytoolkit/forms/loader.h"

namespace NyToolkit {

class TableViewer;

class TableViewerColumn : public NyCore::Object {
    NY_REFLECTIVE(TableViewerColumn)
public:
    // The words of a column's "align": the text flags of the drawing context.
    static Loader::FlagDescrip const AlignmentWords[];

    // A column read from its form element: "label", "width", "align" and an
    // optional "rowRenderer" child naming the renderer class by "type".
    TableViewerColumn(TableViewer* viewer, NyCore::XML::Element* element);
    // Takes ownership of the renderer (may be null).
    TableViewerColumn(TableViewer* viewer, NyCore::String const* label, int width, unsigned alignment,
                      NyCore::Data::DataRenderer* renderer);
    ~TableViewerColumn() override;

    TableViewer* get$viewer() const { return viewer; }
    NyCore::String const* get$label() const { return label; }
    int get$width() const { return width; }
    unsigned get$alignment() const { return alignment; }
    bool get$visible() const { return visible; }
    NyCore::Data::DataRenderer* get$renderer() const { return renderer; }

    // Each change redraws the viewer. A hidden column takes no width.
    void set$visible(bool flag);
    void set$label(NyCore::String const* text);
    void set$width(int pixels);
    void set$alignment(unsigned flags);
    // Takes ownership of the new renderer and destroys the old one.
    void set$renderer(NyCore::Data::DataRenderer* newRenderer);

    // The renderer named by the "type" of a "rowRenderer" element,
    // initialised from that element; null when it names no renderer class.
    static NyCore::Data::DataRenderer* createRenderer(NyCore::XML::Element* rendererElement);

private:
    void changed();

    TableViewer* viewer;
    NyCore::String* label = nullptr;
    NyCore::Data::DataRenderer* renderer = nullptr;
    bool visible = true;
    unsigned alignment = 0;
    int width = 0;
};

}
