// Writing attributes in the documents' number and enumeration texts, and the
// atomic save of a whole document.
#include "vexadrome/documents/math_doc_writer.h"

#include "nycore/io/file_save.h"
#include "nycore/io/memory_stream.h"
#include "nycore/text/double_formatter.h"
#include "nycore/text/string_functions.h"
#include "nycore/text/text_buffer.h"
#include "vexadrome/documents/math_doc_reader.h"

namespace Vexadrome::Documents {

namespace {

void writeEnum(NyCore::XML::Element* element, char16_t const* name, std::int32_t value, EnumName const* table,
               int count)
{
    char16_t const* text = table[0].name;
    for (int i = 0; i < count; ++i) {
        if (table[i].value == value)
            text = table[i].name;
    }
    NyCore::String* copy = string_from_cstr(text);
    xml_set_attribute(element, name, copy);
    string_free(copy);
}

}

void MathDocWriter::writeAttribute(NyCore::XML::Element* element, char16_t const* name, bool value)
{
    xml_set_attribute(element, name, value ? u"true"_str : u"false"_str);
}

void MathDocWriter::writeAttribute(NyCore::XML::Element* element, char16_t const* name, std::int32_t value)
{
    NyCore::String* text = string_from_int(value, 10);
    xml_set_attribute(element, name, text);
    string_free(text);
}

void MathDocWriter::writeAttribute(NyCore::XML::Element* element, char16_t const* name, double value)
{
    NyCore::Text::TextBuffer text;
    NyCore::Text::DoubleFormatter::appendTo(&text, value);
    xml_set_attribute(element, name, text.get$text());
}

void MathDocWriter::writeAttribute(NyCore::XML::Element* element, char16_t const* name, float value)
{
    writeAttribute(element, name, static_cast<double>(value));
}

void MathDocWriter::writeAttribute(NyCore::XML::Element* element, char16_t const* name, NyCore::String const* value)
{
    xml_set_attribute(element, name, value ? value : NyCore::Text::EmptyString);
}

void MathDocWriter::writeGraphMode(NyCore::XML::Element* element, char16_t const* name, std::int32_t value)
{
    writeEnum(element, name, value, GraphModeNames, 3);
}

void MathDocWriter::writeExprRendMode(NyCore::XML::Element* element, char16_t const* name, std::int32_t value)
{
    writeEnum(element, name, value, RendModeNames, 3);
}

void MathDocWriter::writeExprMaterial(NyCore::XML::Element* element, char16_t const* name, std::int32_t value)
{
    writeEnum(element, name, value, MaterialNames, 4);
}

bool MathDocWriter::save(NyUser::Models::Document* document, NyCore::String const* path, NyCore::String** reason)
{
    NyCore::IO::StreamWriter writer;
    memwriter_construct(&writer);
    document->writeTo(&writer);
    NyCore::String* text = memwriter_get_text(&writer);
    memwriter_destroy(&writer);
    // Encoding -1: one byte per character unless a character needs more.
    bool saved = file_save_atomic(path, text, -1, reason);
    string_free(text);
    if (saved)
        document->markSaved();
    return saved;
}

}
