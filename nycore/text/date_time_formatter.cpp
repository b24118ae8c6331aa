// DateTimeFormatter: each field name is a run of one letter ("MM", "YYYY") or
// one of the AM/PM words; the run's letter picks the value and its length the
// form (number width, short or long name).
#include "nycore/text/date_time_formatter.h"

#include "nycore/system/boxed_values.h"
#include "nycore/text/integer_formatter.h"
#include "nycore/text/string_functions.h"

namespace NyCore::Text {

namespace {

String const* const LongMonths[] = {
    u"January"_str, u"February"_str, u"March"_str, u"April"_str, u"May"_str, u"June"_str,
    u"July"_str, u"August"_str, u"September"_str, u"October"_str, u"November"_str, u"December"_str,
};
String const* const ShortMonths[] = {
    u"Jan"_str, u"Feb"_str, u"Mar"_str, u"Apr"_str, u"May"_str, u"Jun"_str,
    u"Jul"_str, u"Aug"_str, u"Sep"_str, u"Oct"_str, u"Nov"_str, u"Dec"_str,
};
String const* const LongDays[] = {
    u"Sunday"_str, u"Monday"_str, u"Tuesday"_str, u"Wednesday"_str, u"Thursday"_str, u"Friday"_str, u"Saturday"_str,
};
String const* const ShortDays[] = {
    u"Sun"_str, u"Mon"_str, u"Tue"_str, u"Wed"_str, u"Thu"_str, u"Fri"_str, u"Sat"_str,
};

struct MeridiemNames {
    String const* name;
    String const* morning;
    String const* afternoon;
};
MeridiemNames const Meridiems[] = {
    {u"AMPM"_str, u"AM"_str, u"PM"_str},
    {u"AP"_str, u"A"_str, u"P"_str},
    {u"ampm"_str, u"am"_str, u"pm"_str},
    {u"ap"_str, u"a"_str, u"p"_str},
};

String const* const DefaultPattern = u"{MM}/{DD}/{YYYY} {hh}:{mm}:{ss} {AMPM}"_str;
String const* const UnknownField = u"?"_str;

// The length of the name when it is one letter repeated, else 0.
int runLength(String const* name)
{
    char16_t letter = string_get_char(name, 0);
    for (int i = 1; i < name->count; ++i) {
        if (name->units()[i] != letter)
            return 0;
    }
    return name->count;
}

// A table entry by index, or "?" outside the table.
template <int N>
String const* nameAt(String const* const (&table)[N], int index)
{
    return index >= 0 && index < N ? table[index] : UnknownField;
}

}

void DateTimeFormatter::applyFormat(CharWriter* writer, String const* format, DateTime const* dateTime)
{
    DateTimeFormatter formatter(dateTime);
    formatter.parseFields(writer, format ? format : DefaultPattern);
}

void DateTimeFormatter::appendField(CharWriter* writer, String const* name, String const* format)
{
    int n = runLength(name);
    char16_t letter = n > 0 ? name->units()[0] : 0;
    auto number = [&](int value) { IntegerFormatter::applyFormat(writer, value, 10, format ? 0 : n); };
    if (n == 1 || n == 2) {
        switch (letter) {
        case u'D': number(dateTime->day); return;
        case u'M': number(dateTime->month); return;
        case u'H': number(dateTime->hour); return;
        case u'h': number(dateTime->hour % 12); return;
        case u'm': number(dateTime->minute); return;
        case u's': number(dateTime->second); return;
        case u'Y':
            if (n == 2) {
                number(dateTime->year % 100);
                return;
            }
            break;
        default: break;
        }
    } else if (n == 3 || n == 4) {
        switch (letter) {
        case u'D': writer->append(nameAt(n == 3 ? ShortDays : LongDays, dateTime->get$dayOfWeek())); return;
        case u'M': writer->append(nameAt(n == 3 ? ShortMonths : LongMonths, dateTime->month - 1)); return;
        case u'Y':
            if (n == 4) {
                number(dateTime->year);
                return;
            }
            break;
        default: break;
        }
    }
    for (auto const& meridiem : Meridiems) {
        if (string_compare(name, meridiem.name) == 0) {
            writer->append(dateTime->hour < 12 ? meridiem.morning : meridiem.afternoon);
            return;
        }
    }
    writer->append(UnknownField);
}

}
