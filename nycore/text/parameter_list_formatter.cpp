// ParameterListFormatter and String::formatList, which String::format calls
// with its arguments laid in a null-terminated array.
#include "nycore/text/parameter_list_formatter.h"

#include "nycore/system/exceptions.h"
#include "nycore/system/object.h"
#include "nycore/system/runtime.h"
#include "nycore/text/string_functions.h"
#include "nycore/text/text_buffer.h"

namespace NyCore {

namespace Text {

void ParameterListFormatter::applyFormat(CharWriter* writer, ParameterList parameters, String const* text)
{
    ParameterListFormatter formatter(parameters);
    formatter.parseFields(writer, text);
}

void ParameterListFormatter::appendField(CharWriter* writer, String const* name, String const* format)
{
    int index = string_to_int(name, 10);
    int count = 0;
    while (parameters && parameters[count])
        ++count;
    if (index < 0 || index >= count)
        NY_THROW(OutOfBoundsException(index, count - 1));
    parameters[index]->appendTo(writer, format);
}

}

String* String::formatList(String const* text, Object* const* parameters)
{
    Text::TextBuffer buffer;
    Text::ParameterListFormatter::applyFormat(&buffer, parameters, text);
    return buffer.abandonString();
}

}
