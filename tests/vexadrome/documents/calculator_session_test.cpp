// The calculator's transcript: what each entered line prints, with the
// colour changes shown as {B} (blue, bold), {R} (red, bold) and {/} (normal).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/strings.h"
#include "nycore/text/string_functions.h"
#include "vexadrome/documents/calculator_session.h"

using namespace Vexadrome::Documents;

namespace {

class RecordingWriter : public TranscriptWriter {
public:
    void append(char16_t unit) override { text += unit; }
    void append(NyCore::String const* s) override { text += TestSupport::toU16(s); }
    void setTextColor(std::uint32_t color, int flags) override
    {
        if (color == 0 && flags == 0)
            text += u"{/}";
        else
            text += color == CalculatorSession::ResultColor ? u"{B}" : u"{R}";
    }
    void clearScreen() override { text += u"{clear}"; }

    std::u16string text;
};

// The transcript of a fresh calculator after entering the lines.
std::string transcriptOf(std::vector<std::u16string> const& lines)
{
    ExprManager store;
    RecordingWriter output;
    CalculatorSession session(&store, &output);
    session.promptInput();
    for (auto const& line : lines) {
        NyCore::String* text = TestSupport::makeString(line);
        session.executeCmnd(text);
        string_free(text);
    }
    return TestSupport::toUtf8(output.text);
}

struct TranscriptCase {
    std::vector<std::u16string> lines;
    std::string transcript;
};

void expectTranscripts(std::vector<TranscriptCase> const& cases)
{
    for (auto const& c : cases) {
        std::string lines;
        for (auto const& line : c.lines)
            lines += TestSupport::toUtf8(line) + " | ";
        EXPECT_EQ(transcriptOf(c.lines), c.transcript) << lines;
    }
}

// The transcript text of one evaluated line and its answer.
std::string answer(char const* line, char const* value)
{
    return std::string("math> ") + line + "\n{B}answ> " + value + "\n{/}";
}

// The transcript text of one line and its error marker at `column`.
std::string failure(char const* line, int column, char const* message)
{
    std::string marker = column >= 0 ? "      " + std::string(static_cast<std::size_t>(column), ' ') + "*\n" : "";
    return std::string("math> ") + line + "\n{R}" + marker + "errr> " + message + "\n{/}";
}

}

TEST(CalculatorSession, ResultsOfScalarsVectorsAndMatrices)
{
    expectTranscripts({
        {{u"1-2-3"}, answer("1-2-3", "-4") + "math> "},
        {{u"8/4/2"}, answer("8/4/2", "1") + "math> "},
        {{u"2*-3"}, answer("2*-3", "-6") + "math> "},
        {{u"-(2+3)*2"}, answer("-(2+3)*2", "-10") + "math> "},
        {{u"0.1+0.2"}, answer("0.1+0.2", "0.30000000000000004") + "math> "},
        {{u"0.96"}, answer("0.96", "0.96") + "math> "},
        {{u"1/0"}, answer("1/0", "inf") + "math> "},
        {{u"sqrt(-1)"}, answer("sqrt(-1)", "nan") + "math> "},
        {{u"dtor(180)"}, answer("dtor(180)", "3.141592653589793") + "math> "},
        {{u"power(2, 10)"}, answer("power(2, 10)", "1024") + "math> "},
        {{u"vector(1,2,3)"}, answer("vector(1,2,3)", "(1, 2, 3)") + "math> "},
        {{u"-vector(1,2)"}, answer("-vector(1,2)", "(-1, -2)") + "math> "},
        {{u"matrix((1,2),(3,4))"}, answer("matrix((1,2),(3,4))", "[[1, 2]\n       [3, 4]]") + "math> "},
        {{u"matrix((1,2,3))"}, answer("matrix((1,2,3))", "[[1, 2, 3]]") + "math> "},
        {{u"matrix((1,2),(3,4))*matrix((5,6),(7,8))"},
         answer("matrix((1,2),(3,4))*matrix((5,6),(7,8))", "[[19, 22]\n       [43, 50]]") + "math> "},
        {{u"transpose(vector(1,2))*vector(3,4)"}, answer("transpose(vector(1,2))*vector(3,4)", "11") + "math> "},
        {{u"magnitude(vector(3,4))"}, answer("magnitude(vector(3,4))", "5") + "math> "},
        {{u"dot(vector(1,2,3),vector(4,5,6))"}, answer("dot(vector(1,2,3),vector(4,5,6))", "32") + "math> "},
    });
}

TEST(CalculatorSession, DefinitionsAreStoredAndLinkedLate)
{
    expectTranscripts({
        {{u"f(x, y) = x*y", u"f(2, 3)"}, "math> f(x, y) = x*y\n" + answer("f(2, 3)", "6") + "math> "},
        {{u"f(x, y) = x - y", u"f(5, 2)"}, "math> f(x, y) = x - y\n" + answer("f(5, 2)", "3") + "math> "},
        {{u"a = b + 1", u"a", u"b = 1", u"a", u"b = 5", u"a"},
         "math> a = b + 1\n" + failure("a", 0, "unknown variable or function") + "math> b = 1\n" +
             answer("a", "2") + "math> b = 5\n" + answer("a", "6") + "math> "},
        {{u"x = 10", u"f(x) = x + 1", u"f(2)", u"x"},
         "math> x = 10\nmath> f(x) = x + 1\n" + answer("f(2)", "3") + answer("x", "10") + "math> "},
        {{u"f() = 2", u"f"}, "math> f() = 2\n" + answer("f", "2") + "math> "},
        {{u"x = 1", u"x = 2 +", u"x"},
         "math> x = 1\n" + failure("x = 2 +", -1, "malformed expression") + answer("x", "1") + "math> "},
    });
}

TEST(CalculatorSession, ErrorsAreMarkedUnderTheOffendingText)
{
    expectTranscripts({
        {{u"f(x, x) = 1"}, failure("f(x, x) = 1", 5, "duplicate parameter name") + "math> "},
        {{u"f(x,) = 1"}, failure("f(x,) = 1", 4, "malformed expression") + "math> "},
        {{u"f(x) 1 = 2"}, failure("f(x) 1 = 2", 5, "malformed expression") + "math> "},
        {{u"3 = 4"}, failure("3 = 4", 0, "malformed expression") + "math> "},
        {{u"g(1)"}, failure("g(1)", 0, "unknown variable or function") + "math> "},
        {{u"f(x, y) = x", u"f(1)"}, "math> f(x, y) = x\n" + failure("f(1)", 0, "wrong parameter count") + "math> "},
        {{u"sin(1, 2)"}, failure("sin(1, 2)", 0, "wrong parameter count") + "math> "},
        {{u"matrix((1, 2), (3))"}, failure("matrix((1, 2), (3))", 0, "wrong shape") + "math> "},
        {{u"vector(1,2)+1"}, failure("vector(1,2)+1", -1, "invalid command parameters") + "math> "},
        {{u"1 + vector(1,2)+vector(1,2,3)"}, failure("1 + vector(1,2)+vector(1,2,3)", 2, "invalid command parameters") + "math> "},
        {{u"vector(1,2)+vector(1,2,3)"}, failure("vector(1,2)+vector(1,2,3)", -1, "invalid dimesions") + "math> "},
        {{u"x = y + 1", u"y = x * 2", u"x"},
         "math> x = y + 1\nmath> y = x * 2\n" + failure("x", 0, "circular reference found") + "math> "},
        {{u" history"}, failure(" history", 1, "unknown variable or function") + "math> "},
    });
}

TEST(CalculatorSession, MendedFaults)
{
    // a1 = a0 + a0, a2 = a1 + a1, ...: every use links its own copy, so a30 would need 2^30 nodes.
    auto name = [](int i) { return "a" + std::to_string(i); };
    std::vector<std::u16string> chain = {u"a0 = 1"};
    for (int i = 1; i <= 30; ++i) {
        std::string line = name(i) + " = " + name(i - 1) + " + " + name(i - 1);
        chain.push_back(std::u16string(line.begin(), line.end()));
    }
    chain.push_back(u"a30");
    std::string tooComplex = transcriptOf(chain);
    EXPECT_NE(tooComplex.find("errr> expression too complex\n"), std::string::npos) << tooComplex;

    expectTranscripts({
        // Text after a complete expression is an error at the first leftover token.
        {{u"2 3"}, failure("2 3", 2, "malformed expression") + "math> "},
        {{u"2^3"}, failure("2^3", 1, "malformed expression") + "math> "},
        {{u"1e5"}, failure("1e5", 1, "malformed expression") + "math> "},
        {{u"x = 2 3", u"x"}, failure("x = 2 3", 6, "malformed expression") + failure("x", 0, "unknown variable or function") + "math> "},
        // Calls and parameters follow their shapes.
        {{u"v(t) = vector(t, 2*t)", u"v(1) * 2"}, "math> v(t) = vector(t, 2*t)\n" + answer("v(1) * 2", "(2, 4)") + "math> "},
        {{u"f(v, s) = v*s", u"f(vector(1,2,3), 2)"},
         "math> f(v, s) = v*s\n" + answer("f(vector(1,2,3), 2)", "(2, 4, 6)") + "math> "},
        {{u"g(s, v) = v*s - s*v", u"g(2, vector(1,2,3))"},
         "math> g(s, v) = v*s - s*v\n" + answer("g(2, vector(1,2,3))", "(0, 0, 0)") + "math> "},
        {{u"vector(vector(1,2), 3)"}, failure("vector(vector(1,2), 3)", 7, "invalid element") + "math> "},
        {{u"id(t) = t", u"r = id(r)", u"r"}, "math> id(t) = t\nmath> r = id(r)\n" + failure("r", 0, "circular reference found") + "math> "},
        {{u"time(0)"}, answer("time(0)", "0") + "math> "},
        {{u"time(-1)"}, answer("time(-1)", "0") + "math> "},
        {{u"normalize(vector(3,4))"}, answer("normalize(vector(3,4))", "(0.6, 0.8)") + "math> "},
        {{u"normalize(matrix((3,4)))"}, answer("normalize(matrix((3,4)))", "[[0.6, 0.8]]") + "math> "},
        {{u"normalize(vector(0,0))"}, answer("normalize(vector(0,0))", "(0, 0)") + "math> "},
        {{u"a = vector(1,2) + 1", u"2 * a"}, "math> a = vector(1,2) + 1\n" + failure("2 * a", 4, "invalid command parameters") + "math> "},
    });
}

TEST(CalculatorSession, CommandsHistoryAndEmptyLines)
{
    expectTranscripts({
        {{u""}, "math> "},
        {{u"history"}, "math> \nmath> "},
        {{u"x=1", u"", u"y=2", u"HiStOrY"}, "math> x=1\nmath> y=2\nmath> \n0 x=1\n1 y=2\nmath> "},
        {{u"Clear"}, "math> {clear}math> "},
    });

    ExprManager store;
    RecordingWriter output;
    CalculatorSession session(&store, &output);
    CommandHistory* history = session.get$history();
    EXPECT_EQ(history->getPrevEntry(), nullptr) << "nothing to recall in a fresh calculator";
    for (char16_t const* line : {u"A", u"clear", u"B", u"history"}) {
        NyCore::String* text = TestSupport::makeString(line);
        session.executeCmnd(text);
        string_free(text);
    }
    ASSERT_EQ(history->get$count(), 2) << "commands are not kept";
    EXPECT_EQ(TestSupport::toU16(history->getPrevEntry()), u"B");
    EXPECT_EQ(TestSupport::toU16(history->getPrevEntry()), u"A");
    EXPECT_EQ(history->getPrevEntry(), nullptr);
    EXPECT_EQ(TestSupport::toU16(history->getNextEntry()), u"B");
    EXPECT_EQ(history->getNextEntry(), nullptr);
}
