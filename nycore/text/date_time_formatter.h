// DateTimeFormatter: dates through field patterns such as
// "{MM}/{DD}/{YYYY} {hh}:{mm}:{ss} {AMPM}" or "{MMM} {D}, {YYYY}".
#pragma once

#include "nycore/text/text_formatter.h"

namespace NyCore {
class DateTime;
}

namespace NyCore::Text {

class DateTimeFormatter : public TextFormatter {
public:
    explicit DateTimeFormatter(DateTime const* dateTime) : dateTime(dateTime) {}

    // A null format uses the default pattern.
    static void applyFormat(CharWriter* writer, String const* format, DateTime const* dateTime);

    // A number field without format is zero-padded to the length of its name;
    // an unknown name writes "?".
    void appendField(CharWriter* writer, String const* name, String const* format) override;

private:
    DateTime const* dateTime;
};

}
