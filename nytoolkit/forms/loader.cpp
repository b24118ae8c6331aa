// Form files turned into widget trees.
#include "nytoolkit/forms/loader.h"

#include "nycore/io/data_folder.h"
#include "nycore/io/file_stream.h"
#include "nycore/system/console.h"
#include "nycore/system/exceptions.h"
#include "nycore/system/owned.h"
#include "nycore/system/runtime.h"
#include "nycore/text/print.h"
#include "nycore/text/string_functions.h"
#include "nycore/xml/xml_parser.h"
#include "nytoolkit/forms/form.h"

namespace NyToolkit {

using NyCore::System::Widget;
namespace WidgetFlags = NyCore::System::WidgetFlags;

Loader::FlagDescrip const Loader::WidgetFlagWords[] = {
    {u"Disabled"_str, WidgetFlags::Disabled}, {u"Hidden"_str, WidgetFlags::Hidden},
    {u"Resizeable"_str, WidgetFlags::Resizeable}, {u"TabStop"_str, WidgetFlags::TabStop},
    {u"WantTab"_str, WidgetFlags::WantTab}, {nullptr, 0}};

Loader::FlagDescrip const Loader::AlignWords[] = {{u"Right"_str, WidgetFlags::AnchorRight},
                                                  {u"Bottom"_str, WidgetFlags::AnchorBottom},
                                                  {u"Width"_str, WidgetFlags::AnchorWidth},
                                                  {u"Height"_str, WidgetFlags::AnchorHeight},
                                                  {nullptr, 0}};

namespace {

using OwnedString = NyCore::Owned<NyCore::String, string_free>;
using OwnedArray = NyCore::Owned<NyCore::Collections::ArrayBase, array_delete>;

bool isSeparator(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

// Ends the process with a report that names the form file.
[[noreturn]] void formFileFailure(NyCore::String const* fileName, NyCore::String const* reason)
{
    OwnedString message(string_print(u"form file \"%s\": %s", fileName ? fileName->units() : u"",
                                     reason ? reason->units() : u""));
    NyCore::System::Runtime::throwException(new NyCore::Exception(message.get()));
}

struct XmlTree {
    NyCore::XML::Document document;
    XmlTree() { xml_doc_ctor(&document); }
    ~XmlTree() { xml_node_dtor(&document); }
    XmlTree(XmlTree const&) = delete;
    XmlTree& operator=(XmlTree const&) = delete;
};

char16_t const* unitsOf(NyCore::String const* s)
{
    return s ? s->units() : u"";
}

Form* formOf(NytkWidget* container)
{
    return static_cast<Form*>(container->getAncestor(u"NyToolkit.Form"_str));
}

// The widget a Link names: the form itself for "root", else a registered id.
Widget* linkEnd(Form* form, NyCore::String const* id)
{
    if (id && string_compare(id, u"root"_str) == 0)
        return form;
    return id ? form->getChild(id) : nullptr;
}

// A registered class that cannot give a widget (no creation function, or not
// a widget class at all) would be used as a widget by Widget::create; it is
// refused here instead. An unregistered name is left to Widget::create, which
// reports it as fatal.
bool makesWidgets(NyCore::String const* className)
{
    NyCore::Type* type = NyCore::Type::getType(className);
    return !type || (type->create && type->isOfType(NyCore::asType(&Widget::MetaData)));
}

}

bool Loader::flagsMatch(char16_t const* text, char16_t const* word)
{
    int i = 0;
    for (; word[i] != 0; ++i) {
        if (text[i] != word[i])
            return false;
    }
    return text[i] == 0 || isSeparator(text[i]);
}

std::uint32_t Loader::flagsParse(NyCore::String const* text, FlagDescrip const* table)
{
    if (!text)
        return 0;
    std::uint32_t result = 0;
    char16_t const* p = text->units();
    while (*p) {
        while (*p && isSeparator(*p))
            ++p;
        if (!*p)
            break;
        for (FlagDescrip const* row = table; row->word; ++row) {
            if (flagsMatch(p, row->word->units())) {
                result |= row->value;
                break;
            }
        }
        while (*p && !isSeparator(*p))
            ++p;
    }
    return result;
}

int Loader::intAttribute(NyCore::XML::Element const* element, char16_t const* name)
{
    NyCore::String const* text = element ? xml_get_attribute(element, name) : nullptr;
    return text ? string_to_int(text, 10) : 0;
}

Widget* Loader::load(NyCore::String const* fileName, Widget* parent, std::uint32_t flags)
{
    NyCore::IO::StreamReader reader;
    NyCore::String* openFailure = nullptr;
    // A relative name is a data file: found from any working directory.
    OwnedString path(data_file_find(fileName));
    if (!freader_open(&reader, path.get(), NyCore::IO::ReaderDocument, &openFailure)) {
        OwnedString reason(openFailure);
        formFileFailure(fileName, reason.get());
    }
    OwnedArray content(reader_buffer(&reader));
    bool readFailed = reader_has_failed(&reader);
    freader_close(&reader);
    if (readFailed || !content)
        formFileFailure(fileName, u"the file could not be read to its end"_str);
    XmlTree xml;
    NyCore::XML::ParseError parseError;
    if (!xml_parse_array_checked(&xml.document, content.get(), true, &parseError)) {
        OwnedString reason(string_print(u"not well-formed XML at line %d, column %d: %s", parseError.line,
                                        parseError.column, parseError.message));
        formFileFailure(fileName, reason.get());
    }
    return read(&xml.document, parent, flags);
}

Widget* Loader::read(NyCore::XML::Document* document, Widget* parent, std::uint32_t flags)
{
    NyCore::XML::Element* root = xml_doc_element(document);
    if (!root)
        return nullptr;
    NyCore::String const* className = xml_get_name(root);
    if (!makesWidgets(className)) {
        print(u"failed to create \"%s\"\n", className->units());
        return nullptr;
    }
    if (flags == 0)
        flags = flagsParse(xml_get_attribute(root, u"flags"), WidgetFlagWords);
    int w = intAttribute(root, u"w");
    int h = intAttribute(root, u"h");
    int x = intAttribute(root, u"x");
    int y = intAttribute(root, u"y");
    if (x == 0 || y == 0) {
        NyCore::System::WidgetPoint screen;
        Widget::screenSize(&screen);
        if (x == 0)
            x = (screen.x - w) / 2;
        if (y == 0)
            y = (screen.y - h) / 2;
    }
    Widget* widget = Widget::create(parent, className->units(), flags | WidgetFlags::TopLevel, x, y, w, h);
    if (widget)
        widget->setParameters(root);
    return widget;
}

void Loader::parseChildren(NytkWidget* container, NyCore::XML::Element* element)
{
    Form* form = formOf(container);
    for (NyCore::XML::Node* node = xml_first_child(element); node; node = xml_next_sibling(node)) {
        if (xml_get_type(node) != NyCore::XML::ElementNode)
            continue;
        auto* child = static_cast<NyCore::XML::Element*>(node);
        NyCore::String const* name = xml_get_name(child);
        if (string_compare(name, u"Link"_str) == 0) {
            linkChildren(container, child);
            continue;
        }
        std::uint32_t anchors = flagsParse(xml_get_attribute(child, u"align"), AlignWords);
        std::uint32_t flags = flagsParse(xml_get_attribute(child, u"flags"), WidgetFlagWords);
        Widget* widget = nullptr;
        if (makesWidgets(name))
            widget = Widget::create(container, name->units(), flags, intAttribute(child, u"x"),
                                    intAttribute(child, u"y"), intAttribute(child, u"w"), intAttribute(child, u"h"));
        if (!widget) {
            print(u"failed to create \"%s\"\n", name->units());
            return;
        }
        if (anchors)
            widget->align(anchors);
        NyCore::String const* id = xml_get_attribute(child, u"id");
        if (id && form)
            form->addChildReference(id, widget);
        widget->setParameters(child);
    }
}

void Loader::linkChildren(NytkWidget* container, NyCore::XML::Element* link)
{
    Form* form = formOf(container);
    if (!form)
        return;
    NyCore::String const* event = xml_get_attribute(link, u"event");
    NyCore::String const* method = xml_get_attribute(link, u"method");
    NyCore::String const* emitter = xml_get_attribute(link, u"emitter");
    NyCore::String const* listener = xml_get_attribute(link, u"listener");
    Widget* sender = linkEnd(form, emitter);
    Widget* receiver = linkEnd(form, listener);
    // A link with a missing end is reported and skipped.
    if (!sender) {
        print(u"invalid widget name: \"%s\"\n", unitsOf(emitter));
        return;
    }
    if (!receiver) {
        print(u"invalid widget name: \"%s\"\n", unitsOf(listener));
        return;
    }
    if (!event || !method || !NyCore::Object::link(sender, receiver, event->units(), method->units()))
        print(u"error linking \"%s\" to \"%s\"\n", unitsOf(emitter), unitsOf(listener));
}

}
