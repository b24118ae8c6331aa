// DoubleFormatter: digits always come from the shortest decimal text of the
// value (std::to_chars), never from floating-point division, so large values
// keep their exact digits and picture rounding happens in decimal.
#include "nycore/text/double_formatter.h"

#include <charconv>
#include <cmath>
#include <vector>

#include "nycore/system/exceptions.h"
#include "nycore/system/runtime.h"

namespace NyCore::Text {

namespace {

// Fixed notation of any finite double fits: 309 integer digits, or "0." and
// up to 341 fraction digits for the smallest subnormals.
constexpr int MaxDecimalText = 400;

// The shortest fixed-notation text of a finite magnitude that reads back to it.
std::string shortestText(double magnitude)
{
    char text[MaxDecimalText];
    auto result = std::to_chars(text, text + MaxDecimalText, magnitude, std::chars_format::fixed);
    return std::string(text, result.ptr);
}

void writeAscii(CharWriter* writer, std::string const& text)
{
    for (char c : text)
        writer->append(static_cast<char16_t>(c));
}

bool isDigitPlaceholder(char16_t unit) { return unit == u'0' || unit == u'#'; }

// Adds one unit in the last place of a string of decimal digits; true when
// the carry runs out of the front ("99" becomes "00").
bool incrementDigits(std::string& digits)
{
    for (auto i = digits.size(); i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            return false;
        }
        digits[i] = '0';
    }
    return true;
}

}

void DoubleFormatter::appendTo(CharWriter* writer, double value)
{
    if (std::isnan(value)) {
        writeAscii(writer, "nan");
        return;
    }
    if (value == 0) {
        writer->append(u'0');
        return;
    }
    if (value < 0)
        writer->append(u'-');
    if (std::isinf(value))
        writeAscii(writer, "inf");
    else
        writeAscii(writer, shortestText(std::fabs(value)));
}

void DoubleFormatter::applyFormat(CharWriter* writer, double value, String const* format)
{
    if (!format || format->count == 0 || !std::isfinite(value)) {
        appendTo(writer, value);
        return;
    }
    char16_t const* units = format->units();
    int length = format->count;
    // Up to four sections split at the first three ';': positive (and default), negative, zero, unused.
    std::vector<int> bounds{0};
    for (int i = 0; i < length && bounds.size() < 4; ++i) {
        if (units[i] == u';')
            bounds.push_back(i + 1);
    }
    int sections = static_cast<int>(bounds.size());
    bounds.push_back(length + 1);
    auto sectionStart = [&](int s) { return bounds[s]; };
    auto sectionEnd = [&](int s) { return bounds[s + 1] - 1; };

    if (value == 0 && sections >= 3) {
        for (int i = sectionStart(2); i < sectionEnd(2); ++i)
            writer->append(units[i]);
        return;
    }
    int section = value < 0 && sections >= 2 ? 1 : 0;
    int start = sectionStart(section);
    int end = sectionEnd(section);
    FormatInfo info;
    preParseFormat(info, format, start, end);
    preParseString(info, std::fabs(value));
    if (section == 0 && value < 0)
        writer->append(u'-');
    applyFormat(writer, info, format, start, end);
}

void DoubleFormatter::preParseFormat(FormatInfo& info, String const* format, int start, int end)
{
    char16_t const* units = format->units();
    info.decimalPoint = end;
    for (int i = start; i < end; ++i) {
        if (units[i] == u'.') {
            info.decimalPoint = i;
            break;
        }
    }
    info.fractionDigits = 0;
    for (int i = info.decimalPoint + 1; i < end; ++i) {
        if (units[i] == u'0')
            ++info.fractionDigits;
    }

    // The integer part may hold one loop; every brace there must belong to it.
    info.loopClose = -1;
    info.loopOpen = -1;
    bool digitInLoop = false;
    for (int i = info.decimalPoint - 1; i >= start; --i) {
        char16_t unit = units[i];
        if (unit == u'}') {
            if (info.loopClose >= 0)
                NY_THROW(Text::NestingNotAloudException());
            info.loopClose = i;
        } else if (unit == u'{') {
            if (info.loopClose < 0 || info.loopOpen >= 0)
                NY_THROW(Text::UnterminatedLoopException());
            if (!digitInLoop)
                NY_THROW(Text::NoDigitsInLoopException());
            info.loopOpen = i;
        } else if (unit == u'#' && info.loopClose >= 0 && info.loopOpen < 0) {
            digitInLoop = true;
        }
    }
    if (info.loopClose >= 0 && info.loopOpen < 0)
        NY_THROW(Text::UnterminatedLoopException());
}

void DoubleFormatter::preParseString(FormatInfo& info, double magnitude)
{
    std::string text = shortestText(magnitude);
    auto point = text.find('.');
    std::string integer = text.substr(0, point);
    std::string fraction = point == std::string::npos ? std::string() : text.substr(point + 1);

    auto kept = static_cast<std::size_t>(info.fractionDigits);
    bool roundUp = fraction.size() > kept && fraction[kept] >= '5';
    fraction.resize(kept, '0');
    std::string digits = integer + fraction;
    if (roundUp && incrementDigits(digits))
        digits.insert(digits.begin(), '1');

    info.fractionText = digits.substr(digits.size() - kept);
    std::string rounded = digits.substr(0, digits.size() - kept);
    auto firstSignificant = rounded.find_first_not_of('0');
    info.integerDigits = firstSignificant == std::string::npos ? std::string() : rounded.substr(firstSignificant);
}

void DoubleFormatter::applyFormat(CharWriter* writer, FormatInfo const& info, String const* format, int start, int end)
{
    char16_t const* units = format->units();
    std::string const& digits = info.integerDigits;
    int digitCount = static_cast<int>(digits.size());
    int used = 0;
    auto nextDigit = [&]() -> char16_t {
        int k = used++;
        return k < digitCount ? static_cast<char16_t>(digits[digitCount - 1 - k]) : u'0';
    };

    // The integer part is walked right to left, collecting units in reverse.
    // Each pass through the loop uses at least one digit (it must hold a '#'),
    // and the walk leaves it once the digits are used up, so the walk ends.
    std::u16string collected;
    int i = info.decimalPoint - 1;
    while (i >= start) {
        char16_t unit = units[i];
        bool insideLoop = i > info.loopOpen && i < info.loopClose;
        if (insideLoop && used >= digitCount) {
            i = info.loopOpen - 1;
            continue;
        }
        if (i == info.loopOpen) {
            i = used < digitCount ? info.loopClose - 1 : i - 1;
            continue;
        }
        if (i != info.loopClose)
            collected.push_back(isDigitPlaceholder(unit) ? nextDigit() : unit);
        --i;
    }
    while (used < digitCount)
        collected.push_back(nextDigit());
    for (auto it = collected.rbegin(); it != collected.rend(); ++it)
        writer->append(*it);

    if (info.decimalPoint >= end)
        return;
    writer->append(u'.');
    std::size_t fractionUsed = 0;
    for (int j = info.decimalPoint + 1; j < end; ++j) {
        if (units[j] == u'0')
            writer->append(static_cast<char16_t>(info.fractionText[fractionUsed++]));
        else
            writer->append(units[j]);
    }
}

}
