// Forms built from XML text in a test, for the toolkit's windowed tests
// (header only: only programs that link the toolkit include it).
#pragma once

#include <string>

#include "nycore/text/string_functions.h"
#include "nycore/xml/xml_node.h"
#include "nycore/xml/xml_parser.h"
#include "nytoolkit/forms/form.h"
#include "nytoolkit/forms/loader.h"
#include "tests/support/run_until.h"
#include "tests/support/windows.h"

namespace TestSupport {

// Reads the form text (its root element a form class) as a top-level window
// at (x, y), waits until it is mapped and gives it the keyboard focus.
inline NyToolkit::Form* formFromText(std::u16string const& text, int x = 40, int y = 40)
{
    auto wide = [](int number) {
        std::string const digits = std::to_string(number);
        return std::u16string(digits.begin(), digits.end());
    };
    std::u16string placed = text;
    // The root's place is given here so that tests know where the window is.
    std::size_t end = placed.find_first_of(u" >");
    placed.insert(end, u" x=\"" + wide(x) + u"\" y=\"" + wide(y) + u"\"");
    NyCore::XML::Document document;
    xml_doc_ctor(&document);
    xml_parse_buffer(&document, placed.data() + 0, static_cast<int>(placed.size()), true);
    auto* form = static_cast<NyToolkit::Form*>(NyToolkit::Loader::read(&document, nullptr, 0));
    xml_node_dtor(&document);
    runUntil([&] { return mapped(form); });
    form->focus();
    return form;
}

// The widget of the form registered under the id.
template <typename T = NyCore::System::Widget>
T* child(NyToolkit::Form* form, char16_t const* id)
{
    NyCore::String* name = string_from_cstr(id);
    auto* widget = static_cast<T*>(form->getChild(name));
    string_free(name);
    return widget;
}

}
