// Offsets to lines and columns.
#include "nycore/xml/xml_position.h"

NyCore::XML::TextPosition xml_locate(char16_t const* units, int count, int offset)
{
    NyCore::XML::TextPosition position{1, 1};
    int end = offset < count ? offset : count;
    for (int i = 0; i < end; ++i) {
        char16_t c = units[i];
        if (c == u'\n') {
            ++position.line;
            position.column = 1;
        } else if (c < 0xD800 || c > 0xDBFF || i + 1 == count || units[i + 1] < 0xDC00 || units[i + 1] > 0xDFFF) {
            // A pair counts once, at its second half.
            ++position.column;
        }
    }
    return position;
}
