// DoubleFormatter: the text of doubles. The default rendering is the shortest
// decimal text that reads back to the same double, without exponent; picture
// rendering follows formats such as "0.00", "#,##0;(#,##0);zero" and
// "{###,}###.00" (the braces repeat their body while digits remain).
#pragma once

#include <string>

#include "nycore/text/char_writer.h"

namespace NyCore::Text {

class DoubleFormatter {
public:
    // "2.5", "-3", "0.000001", "inf", "-inf", "nan"; negative zero gives "0".
    static void appendTo(CharWriter* writer, double value);
    // Picture rendering; a null or empty format gives the default rendering.
    static void applyFormat(CharWriter* writer, double value, String const* format);

    // The analysis of one format section [start, end) and the rounded digits
    // of the magnitude it renders. Positions index the whole format.
    struct FormatInfo {
        int decimalPoint = 0;    // the first '.', or end when none
        int loopClose = -1;      // the loop's '}' and '{', both -1 without a loop
        int loopOpen = -1;
        int fractionDigits = 0;  // the '0's after the point: the digits written there
        std::string integerDigits;   // rounded, most significant first, no leading zeros
        std::string fractionText;    // rounded, exactly fractionDigits digits
    };

private:
    static void preParseFormat(FormatInfo& info, String const* format, int start, int end);
    // Rounds the magnitude half away from zero at the last digit written.
    static void preParseString(FormatInfo& info, double magnitude);
    static void applyFormat(CharWriter* writer, FormatInfo const& info, String const* format, int start, int end);
};

}
