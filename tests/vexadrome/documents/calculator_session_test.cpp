// The calculator's transcript: the layout of answers, error markers,
// definitions, commands and the history, with the colour changes shown as
// {B} (blue, bold), {R} (red, bold) and {/} (normal). Values themselves are
// the evaluator's tables; the rows here check how they are written.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/strings.h"
#include "vexadrome/documents/calculator_session.h"

using namespace Vexadrome::Documents;

namespace {

class RecordingWriter : public TranscriptWriter {
public:
    void append(char16_t unit) override { text += unit; }
    void append(NyCore::String const* s) override { text += TestSupport::toU16(s); }
    void setTextColor(std::uint32_t color, int flags) override
    {
        bool bold = flags == TranscriptWriter::Bold;
        text += color == 0 && flags == 0                             ? u"{/}"
                : color == CalculatorSession::ResultColor && bold ? u"{B}"
                : color == CalculatorSession::ErrorColor && bold  ? u"{R}"
                                                                  : u"{?}";
    }
    void clearScreen() override { text += u"{clear}"; }

    std::u16string text;
};

// Enters the lines into a fresh calculator; the transcript without the first prompt.
std::string transcriptOf(std::vector<std::string> const& lines)
{
    ExprManager store;
    RecordingWriter output;
    CalculatorSession session(&store, &output);
    for (auto const& line : lines)
        session.executeCmnd(TestSupport::OwnedString(std::u16string(line.begin(), line.end())));
    return TestSupport::toUtf8(output.text);
}

// The transcript of an evaluated line and its answer, then the next prompt.
std::string answer(std::string const& line, std::string const& value)
{
    return line + "\n{B}answ> " + value + "\n{/}math> ";
}

// The transcript of a failing line with its marker at `column` (none when negative).
std::string failure(std::string const& line, int column, std::string const& message)
{
    std::string marker = column >= 0 ? std::string(6 + static_cast<std::size_t>(column), ' ') + "*\n" : "";
    return line + "\n{R}" + marker + "errr> " + message + "\n{/}math> ";
}

void expectTranscripts(std::vector<std::pair<std::vector<std::string>, std::string>> const& cases)
{
    for (auto const& [lines, transcript] : cases)
        EXPECT_EQ(transcriptOf(lines), transcript) << lines.back();
}

}

TEST(CalculatorSession, AnswersMarkersAndDefinitions)
{
    expectTranscripts({
        {{"0.1+0.2"}, answer("0.1+0.2", "0.30000000000000004")},
        // Continuation rows stand under the inner '[' of the first row.
        {{"matrix((1,2),(3,4),(5,6))"}, answer("matrix((1,2),(3,4),(5,6))", "[[1, 2]\n       [3, 4]\n       [5, 6]]")},
        // The marker stands under the offending token, counted from the typed line.
        {{"f(x, x) = 1"}, failure("f(x, x) = 1", 5, "duplicate parameter name")},
        {{"1 + vector(1,2)+vector(1,2,3)"}, failure("1 + vector(1,2)+vector(1,2,3)", 2, "invalid command parameters")},
        {{" history"}, failure(" history", 1, "unknown variable or function")},
        // Definitions print nothing; a failed one leaves the earlier one.
        {{"x = 1", "x = 2 +", "x"}, "x = 1\nmath> " + failure("x = 2 +", -1, "malformed expression") + answer("x", "1")},
    });
}

TEST(CalculatorSession, CommandsHistoryAndEmptyLines)
{
    expectTranscripts({
        {{"x=1", "", "y=2", "HiStOrY"}, "x=1\nmath> y=2\nmath> \n0 x=1\n1 y=2\nmath> "},
        {{"Clear"}, "{clear}math> "},
    });

    ExprManager store;
    RecordingWriter output;
    CalculatorSession session(&store, &output);
    CommandHistory* history = session.get$history();
    EXPECT_EQ(history->getPrevEntry(), nullptr) << "nothing to recall in a fresh calculator";
    for (char16_t const* line : {u"1", u"clear", u"B", u"history"})
        session.executeCmnd(TestSupport::OwnedString(line));
    EXPECT_EQ(TestSupport::toU16(history->getPrevEntry()), u"B") << "commands are not kept";
    EXPECT_EQ(TestSupport::toU16(history->getPrevEntry()), u"1");
    EXPECT_EQ(history->getPrevEntry(), nullptr);
}
