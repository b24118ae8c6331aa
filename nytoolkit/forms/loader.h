// Loader: builds widget trees from form files. A form file is an XML document
// whose elements name registered widget classes with their place, size,
// flags, anchors and ids, and whose "Link" elements connect events to
// handler methods by name.
#pragma once

#include <cstdint>

#include "nycore/system/widget.h"
#include "nycore/xml/xml_node.h"

namespace NyToolkit {

class NytkWidget;

class Loader {
public:
    // One row of a flag-word table; the table ends with a row whose word is null.
    struct FlagDescrip {
        NyCore::String const* word;
        std::uint32_t value;
    };

    // The words of "flags" and "align".
    static FlagDescrip const WidgetFlagWords[];
    static FlagDescrip const AlignWords[];

    // Opens (a relative name among the data folders), parses and reads the
    // file. A file that cannot be opened or is not well-formed XML is fatal,
    // and the report names the file and the reason.
    static NyCore::System::Widget* load(NyCore::String const* fileName, NyCore::System::Widget* parent,
                                        std::uint32_t flags);
    // Creates the top-level widget of the document's root element and lets it
    // read its parameters (containers read their children through parseChildren).
    static NyCore::System::Widget* read(NyCore::XML::Document* document, NyCore::System::Widget* parent,
                                        std::uint32_t flags);
    // Creates the children of `element` inside `container` and performs its links, in document order.
    static void parseChildren(NytkWidget* container, NyCore::XML::Element* element);
    // Performs one "Link" element.
    static void linkChildren(NytkWidget* container, NyCore::XML::Element* link);

    // OR of the values of the table's words found in the text (blank, tab or
    // line feed separated; unknown words add nothing). Null text gives 0.
    static std::uint32_t flagsParse(NyCore::String const* text, FlagDescrip const* table);
    // The word stands at `text` whole: equal units followed by a separator or the end.
    static bool flagsMatch(char16_t const* text, char16_t const* word);
    // A decimal attribute, 0 when missing or not a number.
    static int intAttribute(NyCore::XML::Element const* element, char16_t const* name);
};

}
