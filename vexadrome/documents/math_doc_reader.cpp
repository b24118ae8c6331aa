// Reading document files: open with byte-order-mark detection, parse with the
// checked XML parser, dispatch on the root element. Every failure is a null
// document with a reason; nothing here ends the process.
#include "vexadrome/documents/math_doc_reader.h"

#include <charconv>
#include <cmath>
#include <string>
#include <limits>

#include "nycore/io/file_stream.h"
#include "nycore/system/owned.h"
#include "nycore/text/print.h"
#include "nycore/text/string_functions.h"
#include "nycore/xml/xml_parser.h"
#include "nycore/xml/xml_position.h"
#include "vexadrome/documents/command_doc.h"
#include "vexadrome/documents/command_reader.h"
#include "vexadrome/documents/graph_reader.h"

namespace Vexadrome::Documents {

EnumName const GraphModeNames[3] = {{u"euclidian", 0}, {u"polar", 1}, {u"spherical", 2}};
EnumName const RendModeNames[3] = {{u"wireframe", 0}, {u"filled", 1}, {u"points", 2}};
EnumName const MaterialNames[4] = {{u"plastic", 0}, {u"metal", 1}, {u"rubber", 2}, {u"flat", 3}};

namespace {

using OwnedString = NyCore::Owned<NyCore::String, string_free>;
using OwnedArray = NyCore::Owned<NyCore::Collections::ArrayBase, array_delete>;

// Destroys the tree a stack-held XML document owns.
struct XmlTree {
    NyCore::XML::Document document;
    XmlTree() { xml_doc_ctor(&document); }
    ~XmlTree() { xml_node_dtor(&document); }
    XmlTree(XmlTree const&) = delete;
    XmlTree& operator=(XmlTree const&) = delete;
};

NyUser::Models::Document* fail(NyCore::String** reason, OwnedString text)
{
    if (reason)
        *reason = text.release();
    return nullptr;
}

NyUser::Models::Document* fail(NyCore::String** reason, char16_t const* text)
{
    return fail(reason, OwnedString(string_from_cstr(text)));
}

// Where the attribute's value begins in the text the tree was parsed from; -1 when unknown.
int valueOffset(NyCore::XML::Element const* element, std::u16string_view name)
{
    for (NyCore::XML::Attribute const* a = element->attributes; a != nullptr; a = a->next) {
        if (name == a->name())
            return a->sourceOffset;
    }
    return -1;
}

// The units of an attribute's text, when they are all ASCII (as every number is).
bool asciiText(NyCore::String const* text, std::string* out)
{
    for (int i = 0; i < text->count; ++i) {
        char16_t c = text->units()[i];
        if (c == 0 || c > 0x7F)
            return false;
        out->push_back(static_cast<char>(c));
    }
    return true;
}

// [+-] digits [. digits] | [+-] [digits] . digits, then an optional
// e[+-]digits. Returns the decimal exponent of the first non-zero digit
// through firstDigitExponent (0 for zero) so that an out-of-range conversion
// can tell overflow from underflow.
bool isNumberText(char const* s, long* firstDigitExponent)
{
    std::size_t i = 0;
    if (s[i] == '+' || s[i] == '-')
        ++i;
    long digitsBeforePoint = 0;
    long leadingZerosAfterPoint = 0;
    bool nonZeroSeen = false;
    bool nonZeroBeforePoint = false;
    int digits = 0;
    for (; s[i] >= '0' && s[i] <= '9'; ++i, ++digits) {
        if (s[i] != '0')
            nonZeroSeen = nonZeroBeforePoint = true;
        if (nonZeroBeforePoint)
            ++digitsBeforePoint;
    }
    if (s[i] == '.') {
        for (++i; s[i] >= '0' && s[i] <= '9'; ++i, ++digits) {
            if (s[i] != '0')
                nonZeroSeen = true;
            else if (!nonZeroSeen)
                ++leadingZerosAfterPoint;
        }
    }
    if (digits == 0)
        return false;
    long exponent = 0;
    if (s[i] == 'e' || s[i] == 'E') {
        ++i;
        bool negative = s[i] == '-';
        if (s[i] == '+' || s[i] == '-')
            ++i;
        if (s[i] < '0' || s[i] > '9')
            return false;
        for (; s[i] >= '0' && s[i] <= '9'; ++i)
            exponent = std::min(exponent * 10 + (s[i] - '0'), 100000L);
        if (negative)
            exponent = -exponent;
    }
    if (s[i] != 0)
        return false;
    *firstDigitExponent = !nonZeroSeen ? 0
                          : nonZeroBeforePoint ? digitsBeforePoint - 1 + exponent
                                               : -1 - leadingZerosAfterPoint + exponent;
    return true;
}

void recordFailure(NyCore::XML::Element const* element, char16_t const* name, char16_t const* problem,
                   AttrFailure* failure)
{
    int const offset = valueOffset(element, name);
    if (!failure->hasFailed() || (offset >= 0 && offset < failure->offset))
        *failure = {element, name, problem, offset};
}

// The attribute's value as a double; false when it is missing, or, with
// the failure recorded, when it is not a number or beyond the doubles.
bool readNumber(NyCore::XML::Element const* element, char16_t const* name, double* value, AttrFailure* failure)
{
    NyCore::String const* text = xml_get_attribute(element, name);
    if (text == nullptr)
        return false;
    std::string ascii;
    long firstDigitExponent = 0;
    if (!asciiText(text, &ascii) || !isNumberText(ascii.c_str(), &firstDigitExponent)) {
        recordFailure(element, name, u"is not a number", failure);
        return false;
    }
    char const* digits = ascii.c_str() + (ascii[0] == '+' ? 1 : 0);  // from_chars takes no '+'
    std::errc ec = std::from_chars(digits, ascii.c_str() + ascii.size(), *value).ec;
    if (ec == std::errc::result_out_of_range && firstDigitExponent < 0) {
        *value = ascii[0] == '-' ? -0.0 : 0.0;  // below the smallest double: its nearest value
    } else if (ec != std::errc()) {
        recordFailure(element, name, u"is out of range", failure);
        return false;
    }
    return true;
}

}

NyCore::String* AttrFailure::describe(std::u16string_view source) const
{
    NyCore::String const* value = xml_get_attribute(element, name);
    NyCore::String const* elementName = xml_get_name(element);
    if (source.empty() || offset < 0 || static_cast<std::size_t>(offset) > source.size())
        return string_print(u"attribute \"%s\" of <%s>: \"%s\" %s", name, elementName->units(), value->units(),
                            problem);
    NyCore::XML::TextPosition at = xml_locate(source.data(), static_cast<int>(source.size()), offset);
    return string_print(u"attribute \"%s\" of <%s> at line %d, column %d: \"%s\" %s", name, elementName->units(),
                        at.line, at.column, value->units(), problem);
}

NyUser::Models::Document* MathDocReader::load(NyCore::String const* path, DocumentHost* host, NyCore::String** reason)
{
    NyCore::IO::StreamReader reader;
    NyCore::String* openFailure = nullptr;
    if (!freader_open(&reader, path, NyCore::IO::ReaderDocument, &openFailure))
        return fail(reason, OwnedString(openFailure));
    OwnedArray content(reader_buffer(&reader));
    bool readFailed = reader_has_failed(&reader);
    freader_close(&reader);
    if (readFailed)
        return fail(reason, u"the file could not be read to its end");
    if (content == nullptr || content->length == 0)
        return fail(reason, u"the file is empty");

    std::u16string_view source(static_cast<char16_t const*>(content->data()), content->length);
    XmlTree xml;
    NyCore::XML::ParseError parseError;
    // Untrimmed: a script's blanks next to a comment or CDATA section are part of it.
    if (!xml_parse_array_checked(&xml.document, content.get(), false, &parseError)) {
        return fail(reason, OwnedString(string_print(u"not well-formed XML at line %d, column %d: %s",
                                                     parseError.line, parseError.column, parseError.message)));
    }
    NyUser::Models::Document* document = read(&xml.document, host, reason, source);
    if (document)
        document->set$fileName(path);
    return document;
}

NyUser::Models::Document* MathDocReader::read(NyCore::XML::Document* xml, DocumentHost* host, NyCore::String** reason,
                                              std::u16string_view source)
{
    NyCore::XML::Element* root = xml_doc_element(xml);
    if (root == nullptr)
        return fail(reason, u"the file holds no root element");
    NyCore::String const* name = xml_get_name(root);
    NyUser::Models::Document* document = nullptr;
    if (string_compare(name, u"graph"_str) == 0) {
        NyCore::String* graphFailure = nullptr;
        document = GraphReader::read(xml, host, &graphFailure, source);
        OwnedString failure(graphFailure);
        if (document == nullptr)
            return failure ? fail(reason, std::move(failure)) : fail(reason, u"the graph could not be read");
    } else if (string_compare(name, u"command"_str) == 0) {
        document = CommandReader::read(xml, host);
    } else {
        return fail(reason, OwnedString(string_print(u"the root element <%s> is neither <graph> nor <command>",
                                                     name->units())));
    }
    NyCore::String const* title = xml_get_attribute(root, u"title");
    document->set$title(title ? title : NyCore::Text::EmptyString);
    return document;
}

bool MathDocReader::readBoolAttr(NyCore::XML::Element const* element, char16_t const* name, bool defaultValue)
{
    NyCore::String const* text = xml_get_attribute(element, name);
    if (text == nullptr)
        return defaultValue;
    return string_cmp_nocase(text, u"true"_str) == 0;
}

std::int32_t MathDocReader::readInt32Attr(NyCore::XML::Element const* element, char16_t const* name,
                                          std::int32_t defaultValue, AttrFailure* failure)
{
    double value = 0.0;
    if (!readNumber(element, name, &value, failure))
        return defaultValue;
    if (value != std::trunc(value) || value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        recordFailure(element, name, u"is not a whole number from -2147483648 to 2147483647", failure);
        return defaultValue;
    }
    return static_cast<std::int32_t>(value);
}

float MathDocReader::readFloat32Attr(NyCore::XML::Element const* element, char16_t const* name, float defaultValue,
                                     AttrFailure* failure)
{
    double value = 0.0;
    if (!readNumber(element, name, &value, failure))
        return defaultValue;
    if (std::fabs(value) > std::numeric_limits<float>::max()) {
        recordFailure(element, name, u"is out of range", failure);
        return defaultValue;
    }
    return static_cast<float>(value);
}

double MathDocReader::readFloat64Attr(NyCore::XML::Element const* element, char16_t const* name, double defaultValue,
                                      AttrFailure* failure)
{
    double value = 0.0;
    return readNumber(element, name, &value, failure) ? value : defaultValue;
}

std::int32_t MathDocReader::parseEnumValue(NyCore::String const* text, std::int32_t defaultValue,
                                           EnumName const* table, int count)
{
    if (text == nullptr)
        return defaultValue;
    for (int i = 0; i < count; ++i) {
        NyCore::String* name = string_from_cstr(table[i].name);
        bool matches = string_cmp_nocase(text, name) == 0;
        string_free(name);
        if (matches)
            return table[i].value;
    }
    return defaultValue;
}

std::int32_t MathDocReader::readGraphModeAttr(NyCore::XML::Element const* element, char16_t const* name,
                                              std::int32_t defaultValue)
{
    return parseEnumValue(xml_get_attribute(element, name), defaultValue, GraphModeNames, 3);
}

std::int32_t MathDocReader::readRendModeAttr(NyCore::XML::Element const* element, char16_t const* name,
                                             std::int32_t defaultValue)
{
    return parseEnumValue(xml_get_attribute(element, name), defaultValue, RendModeNames, 3);
}

std::int32_t MathDocReader::readMaterialAttr(NyCore::XML::Element const* element, char16_t const* name,
                                             std::int32_t defaultValue)
{
    return parseEnumValue(xml_get_attribute(element, name), defaultValue, MaterialNames, 4);
}

}
