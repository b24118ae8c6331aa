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

class Parser {
public:
    Parser(Document* document, char16_t const* input, int count, bool trim)
        : document(document), in(input), count(count), trim(trim)
    {
    }

    // False on the first error, with errorOffset and message set.
    bool parse();
    void locate(int& line, int& column) const;

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
    bool parseContent(Element* root);
    bool parseStartTag(Node* parent, Element*& element, bool& empty);
    bool parseEndTag(Element const* element);
    void addText(Node* parent, int start, int end);
    void addVerbatim(Node* parent, int kind, int start, int end);
    String* decode(int start, int end) const;
    int readReference(int at, int end, char32_t& codePoint) const;

    Document* document;
    char16_t const* in;
    int count;
    bool trim;
    int origin = 0;
    int pos = 0;
};

bool Parser::parse()
{
    origin = find(0, u"<");
    if (origin < 0)
        return true;
    pos = origin;
    // Declarations, processing instructions and comments before the root.
    for (;;) {
        if (startsWith(pos, u"<?")) {
            int end = find(pos + 2, u"?>");
            if (end < 0)
                return failEnd();
            pos = end + 2;
        } else if (startsWith(pos, u"<!--")) {
            int end = find(pos + 4, u"-->");
            if (end < 0)
                return failEnd();
            pos = end + 3;
        } else if (startsWith(pos, u"<!DOCTYPE")) {
            if (!skipDoctype())
                return false;
        } else {
            break;
        }
        pos = find(pos, u"<");
        if (pos < 0)
            return true;
    }
    if (startsWith(pos, u"</"))
        return fail(pos, u"unexpected end tag");
    if (startsWith(pos, u"<!"))
        return fail(pos, u"unsupported declaration");
    Element* root = nullptr;
    bool empty = false;
    if (!parseStartTag(document, root, empty))
        return false;
    return empty || parseContent(root);
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
        addText(current, textStart, pos);
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
            if (in[p] == u'>')
                return fail(p - 1, u"'>' in attribute value");
            ++p;
        }
        if (p == count)
            return failEnd();
        String* value = decode(valueStart, p);
        *tail = createAttribute(in + attributeName, attributeNameEnd - attributeName, value->units(), value->count);
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

void Parser::addText(Node* parent, int start, int end)
{
    if (trim) {
        while (start < end && isSpace(in[start]))
            ++start;
        while (end > start && isSpace(in[end - 1]))
            --end;
    }
    if (start == end)
        return;
    Node* node = xml_create_node(document, nullptr, TextNode, sizeof(Node));
    node->text = decode(start, end);
    _xml_append_child(parent, node);
}

void Parser::addVerbatim(Node* parent, int kind, int start, int end)
{
    Node* node = xml_create_node(document, nullptr, kind, sizeof(Node));
    node->text = String::create(in, start, end - start);
    _xml_append_child(parent, node);
}

// The units of [start, end) with entities and character references decoded.
String* Parser::decode(int start, int end) const
{
    std::u16string_view raw(in + start, static_cast<std::size_t>(end - start));
    if (raw.find(u'&') == std::u16string_view::npos)
        return String::create(in, start, end - start);
    std::u16string text;
    text.reserve(raw.size());
    for (int i = start; i < end;) {
        char32_t codePoint = 0;
        int length = in[i] == u'&' ? readReference(i, end, codePoint) : 0;
        if (length == 0) {
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
    return String::create(text.data(), 0, static_cast<int>(text.size()));
}

// The length of the entity or character reference at `at` (an '&'), or 0 when
// none starts there. References to 0, to surrogates or above U+10FFFF are none.
int Parser::readReference(int at, int end, char32_t& codePoint) const
{
    static struct {
        std::u16string_view name;
        char16_t unit;
    } const entities[] = {
        {u"&lt;", u'<'}, {u"&gt;", u'>'}, {u"&amp;", u'&'}, {u"&quot;", u'"'}, {u"&apos;", u'\''},
    };
    std::u16string_view rest(in + at, static_cast<std::size_t>(end - at));
    for (auto const& entity : entities) {
        if (rest.starts_with(entity.name)) {
            codePoint = entity.unit;
            return static_cast<int>(entity.name.size());
        }
    }
    if (!rest.starts_with(u"&#"))
        return 0;
    int p = at + 2;
    bool hex = p < end && in[p] == u'x';
    if (hex)
        ++p;
    int digitsStart = p;
    char32_t value = 0;
    for (; p < end && digitValue(in[p], hex) >= 0; ++p) {
        value = value * (hex ? 16 : 10) + static_cast<char32_t>(digitValue(in[p], hex));
        if (value > 0x10FFFF)
            return 0;
    }
    if (p == digitsStart || p == end || in[p] != u';')
        return 0;
    if (value == 0 || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    codePoint = value;
    return p + 1 - at;
}

void Parser::locate(int& line, int& column) const
{
    line = 0;
    int lastFeed = -1;
    for (int i = origin; i < errorOffset; ++i) {
        if (in[i] == u'\n') {
            ++line;
            lastFeed = i;
        }
    }
    column = lastFeed < 0 ? errorOffset - origin : errorOffset - lastFeed;
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
    int line = 0;
    int column = 0;
    parser.locate(line, column);
    fillError(error, line, column, parser.errorOffset, parser.message);
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
