// Table viewer columns and the reading of their form elements.
#include "nytoolkit/table/table_viewer_column.h"

#include "nycore/system/console.h"
#include "nycore/text/string_functions.h"
#include "nytoolkit/table/table_viewer.h"

namespace NyToolkit {

NyCore::TypeData TableViewerColumn::MetaData = {&NyCore::Object::MetaData,
                                                nullptr,
                                                u"NyToolkit.TableViewerColumn"_str,
                                                NyCore::NoMethods,
                                                NyCore::NoEvents,
                                                nullptr,
                                                sizeof(TableViewerColumn),
                                                0,
                                                nullptr};

Loader::FlagDescrip const TableViewerColumn::AlignmentWords[] = {{u"Center"_str, 1},
                                                                 {u"Right"_str, 2},
                                                                 {u"Middle"_str, 4},
                                                                 {u"Bottom"_str, 8},
                                                                 {nullptr, 0}};

TableViewerColumn::TableViewerColumn(TableViewer* viewer, NyCore::XML::Element* element)
    : viewer(viewer),
      label(string_copy(xml_get_attribute(element, u"label") ? xml_get_attribute(element, u"label")
                                                             : NyCore::Text::EmptyString)),
      alignment(Loader::flagsParse(xml_get_attribute(element, u"align"), AlignmentWords)),
      width(Loader::intAttribute(element, u"width"))
{
    for (NyCore::XML::Node* node = xml_first_child(element); node; node = xml_next_sibling(node)) {
        if (xml_get_type(node) == NyCore::XML::ElementNode &&
            string_compare(xml_get_name(node), u"rowRenderer"_str) == 0) {
            renderer = createRenderer(static_cast<NyCore::XML::Element*>(node));
            break;
        }
    }
}

TableViewerColumn::TableViewerColumn(TableViewer* viewer, NyCore::String const* label, int width,
                                     unsigned alignment, NyCore::Data::DataRenderer* renderer)
    : viewer(viewer),
      label(string_copy(label ? label : NyCore::Text::EmptyString)),
      renderer(renderer),
      alignment(alignment),
      width(width)
{
}

TableViewerColumn::~TableViewerColumn()
{
    delete renderer;
    string_free(label);
}

NyCore::Data::DataRenderer* TableViewerColumn::createRenderer(NyCore::XML::Element* rendererElement)
{
    NyCore::String const* type = xml_get_attribute(rendererElement, u"type");
    if (!type)
        return nullptr;
    NyCore::Object* made = NyCore::Object::create(type);
    if (made && !made->getType()->isOfType(NyCore::asType(&NyCore::Data::DataRenderer::MetaData))) {
        print(u"\"%s\" is not a data renderer\n", type->units());
        delete made;
        made = nullptr;
    }
    auto* created = static_cast<NyCore::Data::DataRenderer*>(made);
    // The renderer reads its own parameters from its element, whatever follows it in the column.
    if (created)
        created->initilize(rendererElement);
    return created;
}

void TableViewerColumn::changed()
{
    if (viewer)
        viewer->redraw();
}

void TableViewerColumn::set$visible(bool flag)
{
    if (visible == flag)
        return;
    visible = flag;
    changed();
}

void TableViewerColumn::set$label(NyCore::String const* text)
{
    NyCore::String* copy = string_copy(text ? text : NyCore::Text::EmptyString);
    string_free(label);
    label = copy;
    changed();
}

void TableViewerColumn::set$width(int pixels)
{
    width = pixels < 0 ? 0 : pixels;
    changed();
}

void TableViewerColumn::set$alignment(unsigned flags)
{
    alignment = flags;
    changed();
}

void TableViewerColumn::set$renderer(NyCore::Data::DataRenderer* newRenderer)
{
    if (newRenderer == renderer)
        return;
    delete renderer;
    renderer = newRenderer;
    changed();
}

}
