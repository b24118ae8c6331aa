// The parser: one pass over UTF-16 units that builds the tree as it goes,
// keeping its place in the tree through the parent links instead of the call
// stack. Reports name the source unit "xml/parse".
#include "nycore/xml/xml_parser.h"

#include <string>
#include <string_view>

#include "nycore/system/console.h"
#include "nycore/system/error.h"
#include "nycore/system/memory.h"
#include "nycore/text/cstring.h"
#include "nycore/text/string_functions.h"
#include "nycore/xml/xml_edit.h"
#include "nycore/xml/xml_position.h"

using namespace NyCore::XML;
using NyCore::String;

namespace {

char const SourceFile[] = "xml/parse.cpp";

// Names quoted in messages are cut to this many units.
constexpr std::size_t QuotedNameLimit = 24;

bool isSpace(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

bool isNameChar(char16_t c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'.' ||
           c == u':' || c == u'_' || c == u'-';
}

// The value of a digit of a character reference, or -1.
int digitValue(char16_t c, bool hex)
{
    int value = char_digit_value(c);
    return value < (hex ? 16 : 10) ? value : -1;
}

std::u16string quoted(std::u16string_view name)
{
    if (name.size() <= QuotedNameLimit)
        return std::u16string(name);
    return std::u16string(name.substr(0, QuotedNameLimit)) + u"...";
}

// What starts at an '&'.
enum class Reference {
    None,       // a plain '&': the name is missing or has no ';' after it
    Decoded,    // one of the five entities or a character reference
    Unknown,    // "&name;" with a name that is none of the five
    Forbidden,  // "&#" that is not a reference to a character XML allows
};

// Reads the reference at `at` (an '&') of in[..end): its kind, its length
// through the ';' and, when decoded, its code point.
Reference readReference(char16_t const* in, int at, int end, int& length, char32_t& codePoint)
{
    static struct {
        std::u16string_view name;
        char16_t unit;
    } const entities[] = {
        {u"lt", u'<'}, {u"gt", u'>'}, {u"amp", u'&'}, {u"quot", u'"'}, {u"apos", u'\''},
    };
    int p = at + 1;
    if (p < end && in[p] == u'#') {
        ++p;
        bool hex = p < end && in[p] == u'x';
        if (hex)
            ++p;
        int digitsStart = p;
        char32_t value = 0;
        for (; p < end && digitValue(in[p], hex) >= 0; ++p) {
            if (value <= 0x10FFFF)
                value = value * (hex ? 16 : 10) + static_cast<char32_t>(digitValue(in[p], hex));
        }
        bool closed = p < end && in[p] == u';';
        length = p + (closed ? 1 : 0) - at;
        if (p == digitsStart || !closed || value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            return Reference::Forbidden;
        codePoint = value;
        return Reference::Decoded;
    }
    while (p < end && isNameChar(in[p]))
        ++p;
    if (p == at + 1 || p == end || in[p] != u';')
        return Reference::None;
    length = p + 1 - at;
    std::u16string_view name(in + at + 1, static_cast<std::size_t>(p - at - 1));
    for (auto const& entity : entities) {
        if (name == entity.name) {
            codePoint = entity.unit;
            return Reference::Decoded;
        }
    }
    return Reference::Unknown;
}

class Parser {
public:
    Parser(Document* document, char16_t const* input, int count, bool trim)
        : document(document), in(input), count(count), trim(trim)
    {
    }

    // False on the first error, with errorOffset and message set.
    bool parse();

    int errorOffset = 0;
    std::u16string message;

private:
    bool fail(int at, std::u16string text)
    {
        errorOffset = at;
        message = std::move(text);
        return false;
    }
    bool failEnd() { return fail(count, u"unexpected end of input"); }

    bool startsWith(int at, std::u16string_view marker) const
    {
        return count - at >= static_cast<int>(marker.size()) &&
               std::u16string_view(in + at, marker.size()) == marker;
    }
    // The index of the next `marker` at or after `from`, or -1.
    int find(int from, std::u16string_view marker) const
    {
        std::u16string_view input(in, static_cast<std::size_t>(count));
        std::size_t at = input.find(marker, static_cast<std::size_t>(from));
        return at == std::u16string_view::npos ? -1 : static_cast<int>(at);
    }

    bool skipDoctype();
    bool skipMisc(bool& skipped);
    bool parseContent(Element* root);
    bool parseStartTag(Node* parent, Element*& element, bool& empty);
    bool parseEndTag(Element const* element);
    bool addText(Node* parent, int start, int end);
    void addVerbatim(Node* parent, int kind, int start, int end);
    bool decode(int start, int end, String*& text);

    Document* document;
    char16_t const* in;
    int count;
    bool trim;
    int pos = 0;
};

bool Parser::parse()
{
    pos = find(0, u"<");
    if (pos < 0)
        return true;
    // Declarations, processing instructions and comments before the root.
    for (bool skipped = true; skipped;) {
        if (!skipMisc(skipped))
            return false;
        if (!skipped && startsWith(pos, u"<!DOCTYPE")) {
            if (!skipDoctype())
                return false;
            skipped = true;
        }
        if (skipped && (pos = find(pos, u"<")) < 0)
            return true;
    }
    if (startsWith(pos, u"</"))
        return fail(pos, u"unexpected end tag");
    if (startsWith(pos, u"<!"))
        return fail(pos, u"unsupported declaration");
    Element* root = nullptr;
    bool empty = false;
    if (!parseStartTag(document, root, empty) || (!empty && !parseContent(root)))
        return false;
    // After the root only processing instructions and comments may follow;
    // text there is ignored like the text before it.
    for (;;) {
        if ((pos = find(pos, u"<")) < 0)
            return true;
        bool skipped = false;
        if (!skipMisc(skipped))
            return false;
        if (skipped)
            continue;
        if (startsWith(pos, u"</"))
            return fail(pos, u"unexpected end tag");
        if (startsWith(pos, u"<!"))
            return fail(pos, u"unsupported declaration");
        return fail(pos, u"a second root element");
    }
}

// Skips a processing instruction or a comment at pos; `skipped` tells whether
// there was one.
bool Parser::skipMisc(bool& skipped)
{
    std::u16string_view close = startsWith(pos, u"<?") ? u"?>" : startsWith(pos, u"<!--") ? u"-->" : u"";
    skipped = !close.empty();
    if (!skipped)
        return true;
    int end = find(pos + (close.size() == 2 ? 2 : 4), close);
    if (end < 0)
        return failEnd();
    pos = end + static_cast<int>(close.size());
    return true;
}

// Skips "<!DOCTYPE ...>" with its quoted literals and a bracketed internal
// subset, whose comments and literals may hold "]" and ">".
bool Parser::skipDoctype()
{
    bool inSubset = false;
    int p = pos + 9;
    for (;;) {
        if (p >= count)
            return failEnd();
        char16_t c = in[p];
        if (c == u'"' || c == u'\'') {
            while (++p < count && in[p] != c) {
            }
        } else if (inSubset && startsWith(p, u"<!--")) {
            int end = find(p + 4, u"-->");
            if (end < 0)
                return failEnd();
            p = end + 2;
        } else if (c == u'[') {
            inSubset = true;
        } else if (c == u']') {
            inSubset = false;
        } else if (c == u'>' && !inSubset) {
            pos = p + 1;
            return true;
        }
        ++p;
    }
}

bool Parser::parseContent(Element* root)
{
    Element* current = root;
    int depth = 1;
    for (;;) {
        int textStart = pos;
        while (pos < count && in[pos] != u'<')
            ++pos;
        if (pos == count)
            return failEnd();
        if (!addText(current, textStart, pos))
            return false;
        if (startsWith(pos, u"</")) {
            if (!parseEndTag(current))
                return false;
            if (current == root)
                return true;
            current = static_cast<Element*>(current->parent);
            --depth;
        } else if (startsWith(pos, u"<!--")) {
            int end = find(pos + 4, u"-->");
            if (end < 0)
                return failEnd();
            addVerbatim(current, CommentNode, pos + 4, end);
            pos = end + 3;
        } else if (startsWith(pos, u"<![CDATA[")) {
            int end = find(pos + 9, u"]]>");
            if (end < 0)
                return failEnd();
            addVerbatim(current, CDataSectionNode, pos + 9, end);
            pos = end + 3;
        } else if (startsWith(pos, u"<!")) {
            return fail(pos, u"unsupported declaration");
        } else {
            if (depth == MaxElementDepth)
                return fail(pos, u"elements nested too deeply");
            Element* child = nullptr;
            bool empty = false;
            if (!parseStartTag(current, child, empty))
                return false;
            if (!empty) {
                current = child;
                ++depth;
            }
        }
    }
}

// A start tag at pos. The element is linked into parent at once, so that a
// failure further on frees it with the rest of the tree.
bool Parser::parseStartTag(Node* parent, Element*& element, bool& empty)
{
    int p = pos + 1;
    int nameStart = p;
    while (p < count && isNameChar(in[p]))
        ++p;
    if (p == count)
        return failEnd();
    if (!isSpace(in[p]) && in[p] != u'>' && in[p] != u'/')
        return fail(p - 1, u"invalid character in element name");
    if (p == nameStart)
        return fail(pos, u"missing element name");
    element = static_cast<Element*>(xml_create_node(document, nullptr, ElementNode, sizeof(Element)));
    element->text = String::create(in, nameStart, p - nameStart);
    element->sourceOffset = pos;
    _xml_append_child(parent, element);
    if (parent->kind == DocumentNode)
        document->documentElement = element;

    Attribute** tail = &element->attributes;
    for (;;) {
        while (p < count && isSpace(in[p]))
            ++p;
        if (p == count)
            return failEnd();
        char16_t c = in[p];
        if (c == u'>') {
            pos = p + 1;
            empty = false;
            return true;
        }
        if (c == u'/') {
            if (p + 1 == count)
                return failEnd();
            if (in[p + 1] != u'>')
                return fail(p, u"expected '>' after '/'");
            pos = p + 2;
            empty = true;
            return true;
        }
        if (!isNameChar(c))
            return fail(p - 1, u"invalid character in attribute name");
        int attributeName = p;
        while (p < count && isNameChar(in[p]))
            ++p;
        int attributeNameEnd = p;
        while (p < count && isSpace(in[p]))
            ++p;
        if (p == count)
            return failEnd();
        if (in[p] != u'=')
            return fail(p - 1, u"expected '=' after attribute name");
        ++p;
        while (p < count && isSpace(in[p]))
            ++p;
        if (p == count)
            return failEnd();
        char16_t quote = in[p];
        if (quote != u'"' && quote != u'\'')
            return fail(p - 1, u"expected a quoted attribute value");
        int valueStart = ++p;
        while (p < count && in[p] != quote) {
            if (in[p] == u'<')
                return fail(p - 1, u"'<' in attribute value");
            ++p;
        }
        if (p == count)
            return failEnd();
        std::u16string_view name(in + attributeName, static_cast<std::size_t>(attributeNameEnd - attributeName));
        for (Attribute const* a = element->attributes; a != nullptr; a = a->next) {
            if (name == a->name())
                return fail(attributeName, u"attribute " + quoted(name) + u" given twice");
        }
        String* value = nullptr;
        if (!decode(valueStart, p, value))
            return false;
        *tail = createAttribute(name.data(), static_cast<int>(name.size()), value->units(), value->count);
        (*tail)->sourceOffset = valueStart;
        tail = &(*tail)->next;
        string_free(value);
        ++p;
    }
}

// An end tag at pos: "</", exactly the element's name, ">".
bool Parser::parseEndTag(Element const* element)
{
    int p = pos + 2;
    int nameStart = p;
    while (p < count && isNameChar(in[p]))
        ++p;
    if (p == count)
        return failEnd();
    std::u16string_view found(in + nameStart, static_cast<std::size_t>(p - nameStart));
    std::u16string_view expected(element->text->units(), static_cast<std::size_t>(element->text->count));
    if (found != expected)
        return fail(pos, u"mismatched end tag </" + quoted(found) + u">, expected </" + quoted(expected) + u">");
    if (in[p] != u'>')
        return fail(p - 1, u"expected '>' after </" + quoted(found));
    pos = p + 1;
    return true;
}

bool Parser::addText(Node* parent, int start, int end)
{
    if (trim) {
        while (start < end && isSpace(in[start]))
            ++start;
        while (end > start && isSpace(in[end - 1]))
            --end;
    }
    if (start == end)
        return true;
    String* text = nullptr;
    if (!decode(start, end, text))
        return false;
    Node* node = xml_create_node(document, nullptr, TextNode, sizeof(Node));
    node->text = text;
    node->sourceOffset = start;
    _xml_append_child(parent, node);
    return true;
}

void Parser::addVerbatim(Node* parent, int kind, int start, int end)
{
    Node* node = xml_create_node(document, nullptr, kind, sizeof(Node));
    node->text = String::create(in, start, end - start);
    node->sourceOffset = start;
    _xml_append_child(parent, node);
}

// The units of [start, end) with entities and character references decoded
// into a new String; false, with the failure set, at a reference XML forbids.
bool Parser::decode(int start, int end, String*& result)
{
    std::u16string_view raw(in + start, static_cast<std::size_t>(end - start));
    if (raw.find(u'&') == std::u16string_view::npos) {
        result = String::create(in, start, end - start);
        return true;
    }
    std::u16string text;
    text.reserve(raw.size());
    for (int i = start; i < end;) {
        char32_t codePoint = 0;
        int length = 0;
        Reference kind = in[i] == u'&' ? readReference(in, i, end, length, codePoint) : Reference::None;
        std::u16string_view written(in + i, static_cast<std::size_t>(length));
        if (kind == Reference::Unknown)
            return fail(i, u"unknown entity " + quoted(written));
        if (kind == Reference::Forbidden)
            return fail(i, u"invalid character reference " + quoted(written));
        if (kind == Reference::None) {
            text.push_back(in[i++]);
            continue;
        }
        if (codePoint > 0xFFFF) {
            codePoint -= 0x10000;
            text.push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
            text.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
        } else {
            text.push_back(static_cast<char16_t>(codePoint));
        }
        i += length;
    }
    result = String::create(text.data(), 0, static_cast<int>(text.size()));
    return true;
}

void fillError(ParseError* error, int line, int column, int offset, std::u16string_view message)
{
    if (error == nullptr)
        return;
    error->line = line;
    error->column = column;
    error->offset = offset;
    std::size_t n = message.size() < std::size(error->message) ? message.size() : std::size(error->message) - 1;
    message.copy(error->message, n);
    error->message[n] = 0;
}

[[noreturn]] void reportFailure(ParseError const& error)
{
    print(u"Error parsing at line %d, column %d\n", error.line, error.column);
    ERROR_THROW(ERROR_XML_PARSEFAIL, SourceFile);
}

}

bool xml_parse_buffer_checked(Document* document, char16_t const* characters, int count, bool trim,
                              ParseError* error)
{
    xml_doc_ctor(document);
    if (characters == nullptr || count < 0)
        count = 0;
    Parser parser(document, characters, count, trim);
    if (parser.parse()) {
        fillError(error, 0, 0, 0, u"");
        return true;
    }
    xml_node_release(document);
    xml_doc_ctor(document);
    TextPosition at = xml_locate(characters, count, parser.errorOffset);
    fillError(error, at.line, at.column, parser.errorOffset, parser.message);
    return false;
}

bool xml_parse_array_checked(Document* document, NyCore::Collections::ArrayBase const* characters, bool trim,
                             ParseError* error)
{
    if (characters == nullptr)
        return xml_parse_buffer_checked(document, nullptr, 0, trim, error);
    long bytes = static_cast<long>(characters->elementSize) * characters->length;
    return xml_parse_buffer_checked(document, static_cast<char16_t const*>(characters->data()),
                                    static_cast<int>(bytes / 2), trim, error);
}

bool xml_parse_stream_checked(Document* document, NyCore::IO::StreamReader* reader, bool trim, ParseError* error)
{
    NyCore::Collections::ArrayBase* buffer = reader_buffer(reader);
    if (buffer == nullptr || buffer->length == 0) {
        array_delete(buffer);
        xml_doc_ctor(document);
        fillError(error, 0, 0, 0, u"empty stream");
        return false;
    }
    bool parsed = xml_parse_array_checked(document, buffer, trim, error);
    array_delete(buffer);
    return parsed;
}

int xml_source_offset(Node const* node, char16_t const* input, int count, int index)
{
    if (node == nullptr || node->sourceOffset < 0 || index < 0)
        return -1;
    int p = node->sourceOffset;
    if (node->kind != TextNode)
        return p + index;
    for (int i = 0; i < index && p < count;) {
        char32_t codePoint = 0;
        int length = 0;
        if (input[p] != u'&' || readReference(input, p, count, length, codePoint) != Reference::Decoded) {
            ++p;
            ++i;
            continue;
        }
        i += codePoint > 0xFFFF ? 2 : 1;
        // The second unit of a pair decoded from one reference maps to its '&'.
        if (i > index)
            return p;
        p += length;
    }
    return p;
}

void xml_parse_buffer(Document* document, char16_t const* characters, int count, bool trim)
{
    ParseError error;
    if (!xml_parse_buffer_checked(document, characters, count, trim, &error))
        reportFailure(error);
}

void xml_parse_array(Document* document, NyCore::Collections::ArrayBase const* characters, bool trim)
{
    ParseError error;
    if (!xml_parse_array_checked(document, characters, trim, &error))
        reportFailure(error);
}

void xml_parse_stream(Document* document, NyCore::IO::StreamReader* reader, bool trim)
{
    NyCore::Collections::ArrayBase* buffer = reader_buffer(reader);
    if (buffer == nullptr || buffer->length == 0)
        ERROR_THROW(ERROR_IO_EMPTYSTREAM, SourceFile);
    ParseError error;
    bool parsed = xml_parse_array_checked(document, buffer, trim, &error);
    array_delete(buffer);
    if (!parsed)
        reportFailure(error);
}
