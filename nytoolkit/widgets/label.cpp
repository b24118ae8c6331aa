// The static text label.
#include "nytoolkit/widgets/label.h"

#include "nycore/graphics/gc.h"
#include "nycore/graphics/gc_text.h"
#include "nycore/text/string_functions.h"
#include "nycore/xml/xml_node.h"

namespace NyToolkit {

namespace {

NyCore::MethodEntry const LabelMethods[] = {{u"setText", NY_METHOD(Label::setText)}, {nullptr, nullptr}};

// The text and CDATA children of the element joined; null when there are none.
NyCore::String* textContent(NyCore::XML::Element const* element)
{
    NyCore::String* joined = nullptr;
    for (NyCore::XML::Node* node = xml_first_child(element); node; node = xml_next_sibling(node)) {
        int kind = xml_get_type(node);
        if (kind != NyCore::XML::TextNode && kind != NyCore::XML::CDataSectionNode)
            continue;
        NyCore::String* longer = joined ? string_append(joined, xml_get_value(node)) : string_copy(xml_get_value(node));
        string_free(joined);
        joined = longer;
    }
    return joined;
}

}

NyCore::TypeData Label::MetaData = {&NytkWidget::MetaData, nullptr, u"NyToolkit.Label"_str, LabelMethods,
                                    NyCore::NoEvents, &Label::__create, sizeof(Label), 0, nullptr};

Loader::FlagDescrip const Label::AlignWords[] = {{u"Top"_str, 0},    {u"Middle"_str, 4}, {u"Bottom"_str, 8},
                                                 {u"Left"_str, 0},   {u"Center"_str, 1}, {u"Right"_str, 2},
                                                 {u"Wrap"_str, 64},  {nullptr, 0}};

Label::~Label()
{
    string_free(text);
}

NyCore::Object* Label::__create()
{
    return new Label();
}

void Label::setParameters(NyCore::XML::Element* element)
{
    textAlign = static_cast<int>(Loader::flagsParse(xml_get_attribute(element, u"textAlign"), AlignWords));
    string_free(text);
    text = textContent(element);
    redraw();
}

void Label::setText(NyCore::String const* newText)
{
    NyCore::String* copy = newText ? string_copy(newText) : nullptr;
    string_free(text);
    text = copy;
    redraw();
}

NyCore::String const* Label::get$text() const
{
    return text ? text : NyCore::Text::EmptyString;
}

void Label::set$textAlign(int flags)
{
    textAlign = flags;
    redraw();
}

void Label::onDraw(NyCore::Graphics::GC* gc)
{
    gc_set_background(gc, background);
    gc_rect_fill(gc, 0, 0, width, height);
    if (!text || text->count == 0)
        return;
    gc_set_font(gc, style->get$font());
    gc_set_foreground(gc, getColor(flags & NyCore::System::WidgetFlags::Disabled ? Style::Dim : Style::Text));
    // Only the placement bits: the label is always drawn transparent on its fill and clipped to its box.
    namespace TF = NyCore::Graphics::TextFlags;
    int placement = textAlign & (TF::CenterHorizontal | TF::AlignRight | TF::CenterVertical | TF::AlignBottom |
                                 TF::WordWrap);
    gc_string(gc, text, 0, 0, width, height, placement | TF::Clip);
}

}
