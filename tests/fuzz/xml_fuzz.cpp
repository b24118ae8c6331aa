// Fuzzes the XML parser and writer: any input, taken as 8-bit text (as files
// are read), as UTF-8 and as UTF-16 units, is parsed with and without
// trimming; every tree that parses is written, parsed again and written again,
// and a deep copy is written too: all three texts must be the same. Every
// parsed unit must also map back to its place in the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "nycore/io/memory_stream.h"
#include "nycore/system/memory.h"
#include "nycore/text/string_functions.h"
#include "nycore/xml/xml_edit.h"
#include "nycore/xml/xml_parser.h"
#include "nycore/xml/xml_path.h"
#include "nycore/xml/xml_writer.h"

using namespace NyCore::XML;

namespace {

std::u16string write(Document const* document)
{
    NyCore::IO::StreamWriter writer;
    memwriter_construct(&writer);
    xml_doc_write(document, &writer);
    NyCore::String* text = memwriter_get_text(&writer);
    std::u16string result(text->units(), static_cast<std::size_t>(text->count));
    string_free(text);
    memwriter_destroy(&writer);
    return result;
}

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// Every unit of every parsed text, CDATA and comment node maps to a place in
// the input; a unit that no reference decoded is that very unit.
void checkSourceOffsets(Node const* root, std::u16string const& input)
{
    int const count = static_cast<int>(input.size());
    for (Node const* node = root; node != nullptr;) {
        if (node->kind == TextNode || node->kind == CDataSectionNode || node->kind == CommentNode) {
            for (int i = 0; i <= node->text->count; ++i) {
                int at = xml_source_offset(node, input.data(), count, i);
                check(at >= 0 && at <= count);
                if (i < node->text->count && input[static_cast<std::size_t>(at)] != u'&')
                    check(input[static_cast<std::size_t>(at)] == node->text->units()[i]);
            }
        }
        // Pre-order walk through the parent links.
        Node const* next = xml_first_child(node);
        while (next == nullptr && node != nullptr && node != root) {
            next = node->next;
            node = node->parent;
        }
        node = next;
    }
}

void roundTrip(std::u16string const& input, bool trim)
{
    Document document;
    ParseError error;
    if (!xml_parse_buffer_checked(&document, input.data(), static_cast<int>(input.size()), trim, &error)) {
        check(xml_first_child(&document) == nullptr && error.message[0] != 0 && error.line >= 0 && error.column >= 0);
        return;
    }
    if (xml_doc_element(&document) == nullptr) {
        xml_node_dtor(&document);
        return;
    }
    checkSourceOffsets(xml_doc_element(&document), input);
    xml_follow_xpath(xml_doc_element(&document), u"a/../@b");
    xml_follow_xpath(xml_doc_element(&document), u"a/text()");
    std::u16string first = write(&document);

    auto* copy = static_cast<Document*>(xml_clone(&document, true));
    check(write(copy) == first);
    xml_node_dtor(copy);
    memory_free(copy);
    xml_node_dtor(&document);

    check(xml_parse_buffer_checked(&document, first.data(), static_cast<int>(first.size()), false, &error));
    check(write(&document) == first);
    xml_node_dtor(&document);
}

}

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size)
{
    std::u16string bytes(data, data + size);
    NyCore::String* utf8 = string_from_utf8(reinterpret_cast<char const*>(data), static_cast<int>(size));
    std::u16string decoded(utf8->units(), static_cast<std::size_t>(utf8->count));
    string_free(utf8);
    std::u16string units;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        units.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
    for (bool trim : {false, true}) {
        roundTrip(bytes, trim);
        roundTrip(decoded, trim);
        roundTrip(units, trim);
    }
    return 0;
}
