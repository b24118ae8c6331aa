// TextFormatter::parseFields: splits a text into literal units and fields.
// A field's format may itself hold braces ('{0|{###,}###.00}'), so braces are
// counted inside the format.
#include "nycore/text/text_formatter.h"

#include "nycore/text/text_buffer.h"

namespace NyCore::Text {

void TextFormatter::parseFields(CharWriter* writer, String const* text)
{
    if (!text)
        return;
    char16_t const* units = text->units();
    int length = text->count;
    TextBuffer name;
    TextBuffer format;
    int i = 0;
    while (i < length) {
        char16_t unit = units[i++];
        if (unit != u'{') {
            writer->append(unit);
            continue;
        }
        name.reset();
        format.reset();
        while (i < length && units[i] != u'}' && units[i] != u'|')
            name.append(units[i++]);
        if (i < length && units[i] == u'|') {
            ++i;
            int depth = 0;
            while (i < length && !(units[i] == u'}' && depth == 0)) {
                if (units[i] == u'{')
                    ++depth;
                else if (units[i] == u'}')
                    --depth;
                format.append(units[i++]);
            }
        }
        appendField(writer, name.get$text(), format.get$length() > 0 ? format.get$text() : nullptr);
        ++i;
    }
}

}
