// TextFormatter: the field parser shared by the formatters. It copies text to
// a writer and hands every '{name}' or '{name|format}' field to appendField.
#pragma once

#include "nycore/text/char_writer.h"

namespace NyCore::Text {

class TextFormatter {
public:
    virtual ~TextFormatter() = default;

    // Writes one field; format is null when the field has none.
    virtual void appendField(CharWriter* writer, String const* name, String const* format) = 0;

    // Copies text to writer, replacing each field by appendField's output.
    // There is no escape: every '{' opens a field; a lone '}' is copied.
    void parseFields(CharWriter* writer, String const* text);
};

}
