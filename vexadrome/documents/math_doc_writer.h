// MathDocWriter: the attribute writers shared by the graph and command file
// formats, and the saving of a document: it is written to memory first and
// then replaces its file atomically.
#pragma once

#include <cstdint>

#include "nycore/text/string.h"
#include "nycore/xml/xml_node.h"
#include "nyuser/models/document.h"

namespace Vexadrome::Documents {

class MathDocWriter {
public:
    // "true" or "false".
    static void writeAttribute(NyCore::XML::Element* element, char16_t const* name, bool value);
    // The default text of the integer ("-12").
    static void writeAttribute(NyCore::XML::Element* element, char16_t const* name, std::int32_t value);
    // The default text of the real ("0.1", "-10", "1000").
    static void writeAttribute(NyCore::XML::Element* element, char16_t const* name, double value);
    // Widened to 64 bits, then as above.
    static void writeAttribute(NyCore::XML::Element* element, char16_t const* name, float value);
    // The text as it stands (null writes an empty value).
    static void writeAttribute(NyCore::XML::Element* element, char16_t const* name, NyCore::String const* value);
    // A bare character run would silently pick the boolean overload.
    static void writeAttribute(NyCore::XML::Element* element, char16_t const* name, char16_t const* value) = delete;

    // The enumeration value's name from the tables of MathDocReader; a value
    // outside its table writes the name of value 0.
    static void writeGraphMode(NyCore::XML::Element* element, char16_t const* name, std::int32_t value);
    static void writeExprRendMode(NyCore::XML::Element* element, char16_t const* name, std::int32_t value);
    static void writeExprMaterial(NyCore::XML::Element* element, char16_t const* name, std::int32_t value);

    // Writes the document (its writeTo) into memory and saves the text at path
    // through the atomic file replacement: one byte per character, or UTF-16LE
    // behind the mark FF FE when the text holds a character above 255. On
    // failure the old file is untouched and the result is false with a new
    // String reason when reason is not null.
    static bool save(NyUser::Models::Document* document, NyCore::String const* path,
                     NyCore::String** reason = nullptr);
};

}
