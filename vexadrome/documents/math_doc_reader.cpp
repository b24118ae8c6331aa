// Reading document files: open with byte-order-mark detection, parse with the
// checked XML parser, dispatch on the root element. Every failure is a null
// document with a reason; nothing here ends the process.
#include "vexadrome/documents/math_doc_reader.h"

#include "nycore/io/file_stream.h"
#include "nycore/text/print.h"
#include "nycore/text/string_functions.h"
#include "nycore/xml/xml_parser.h"
#include "vexadrome/documents/command_doc.h"
#include "vexadrome/documents/command_reader.h"
#include "vexadrome/documents/graph_reader.h"

namespace Vexadrome::Documents {

EnumName const GraphModeNames[3] = {{u"euclidian", 0}, {u"polar", 1}, {u"spherical", 2}};
EnumName const RendModeNames[3] = {{u"wireframe", 0}, {u"filled", 1}, {u"points", 2}};
EnumName const MaterialNames[4] = {{u"plastic", 0}, {u"metal", 1}, {u"rubber", 2}, {u"flat", 3}};

namespace {

NyUser::Models::Document* fail(NyCore::String** reason, NyCore::String* text)
{
    if (reason)
        *reason = text;
    else
        string_free(text);
    return nullptr;
}

NyUser::Models::Document* fail(NyCore::String** reason, char16_t const* text)
{
    return fail(reason, string_from_cstr(text));
}

// Line and column (both from 1) of a unit of the text.
void locate(char16_t const* units, int offset, int& line, int& column)
{
    line = 1;
    column = 1;
    for (int i = 0; i < offset; ++i) {
        if (units[i] == u'\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
}

}

NyUser::Models::Document* MathDocReader::load(NyCore::String const* path, DocumentHost* host, NyCore::String** reason)
{
    NyCore::IO::StreamReader reader;
    NyCore::String* openFailure = nullptr;
    if (!freader_open(&reader, path, 0, &openFailure))
        return fail(reason, openFailure);
    NyCore::Collections::ArrayBase* content = reader_buffer(&reader);
    bool readFailed = reader_has_failed(&reader);
    freader_close(&reader);
    if (readFailed) {
        array_delete(content);
        return fail(reason, u"the file could not be read to its end");
    }
    if (content == nullptr || content->length == 0) {
        array_delete(content);
        return fail(reason, u"the file is empty");
    }

    NyCore::XML::Document xml;
    NyCore::XML::ParseError parseError;
    if (!xml_parse_array_checked(&xml, content, true, &parseError)) {
        int line = 0;
        int column = 0;
        locate(static_cast<char16_t const*>(content->data()), parseError.offset, line, column);
        array_delete(content);
        return fail(reason, string_print(u"not well-formed XML at line %d, column %d: %s", line, column,
                                         parseError.message));
    }
    array_delete(content);

    NyUser::Models::Document* document = read(&xml, host, reason);
    xml_node_dtor(&xml);
    if (document)
        document->set$fileName(path);
    return document;
}

NyUser::Models::Document* MathDocReader::read(NyCore::XML::Document* xml, DocumentHost* host, NyCore::String** reason)
{
    NyCore::XML::Element* root = xml_doc_element(xml);
    if (root == nullptr)
        return fail(reason, u"the file holds no root element");
    NyCore::String const* name = xml_get_name(root);
    NyUser::Models::Document* document = nullptr;
    if (string_compare(name, u"graph"_str) == 0) {
        NyCore::String* graphFailure = nullptr;
        document = GraphReader::read(xml, host, &graphFailure);
        if (document == nullptr)
            return fail(reason, graphFailure ? graphFailure : string_from_cstr(u"the graph could not be read"));
        string_free(graphFailure);
    } else if (string_compare(name, u"command"_str) == 0) {
        document = CommandReader::read(xml, host);
    } else {
        return fail(reason, string_print(u"the root element <%s> is neither <graph> nor <command>", name->units()));
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
                                          std::int32_t defaultValue)
{
    NyCore::String const* text = xml_get_attribute(element, name);
    return text ? string_to_int(text, 10) : defaultValue;
}

float MathDocReader::readFloat32Attr(NyCore::XML::Element const* element, char16_t const* name, float defaultValue)
{
    return static_cast<float>(readFloat64Attr(element, name, defaultValue));
}

double MathDocReader::readFloat64Attr(NyCore::XML::Element const* element, char16_t const* name, double defaultValue)
{
    NyCore::String const* text = xml_get_attribute(element, name);
    return text ? string_to_real(text) : defaultValue;
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
