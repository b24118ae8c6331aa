// IntegerFormatter: digits come from string_from_int, so every radix and the
// unsigned form of negative values in radices other than 10 match it.
#include "nycore/text/integer_formatter.h"

#include "nycore/text/string_functions.h"

namespace NyCore::Text {

void IntegerFormatter::applyFormat(CharWriter* writer, int value, int radix, int minDigits)
{
    String* digits = string_from_int(value, radix);
    char16_t const* units = digits->units();
    int length = digits->count;
    int start = 0;
    if (length > 0 && units[0] == u'-') {
        writer->append(u'-');
        start = 1;
    }
    for (int pad = length; pad < minDigits; ++pad)
        writer->append(u'0');
    for (int i = start; i < length; ++i)
        writer->append(units[i]);
    string_free(digits);
}

void IntegerFormatter::applyFormat(CharWriter* writer, int value, String const*)
{
    applyFormat(writer, value, 10, 0);
}

}
