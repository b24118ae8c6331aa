// Tests of the Scanner and its lexeme matchers: token sequences for typical
// and odd texts, symbol classes, token text and value, and comparisons.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/strings.h"
#include "vexadrome/parsing/scanner.h"

namespace {

using Vexadrome::Parsing::Scanner;
using Vexadrome::Parsing::TokenData;

std::string describe(TokenData const& token)
{
    return std::to_string(token.kind) + "/" + std::to_string(token.symbol) + "@" + std::to_string(token.start) + ":"
        + std::to_string(token.length);
}

// Every token up to and including the end of the text, white space included.
// (getNextToken, which skips it, is read by the tests below and the parser's.)
std::string tokensOf(std::u16string const& source)
{
    TestSupport::OwnedString text(source);
    Scanner scanner(text);
    std::string out;
    for (int guard = 0; guard < 100; ++guard) {
        int kind = scanner.getNextTokenWs();
        EXPECT_EQ(kind, scanner.token.kind);
        out += (out.empty() ? "" : " ") + describe(scanner.token);
        if (kind == 0)
            break;
    }
    return out;
}

TEST(Scanner, TokenSequences)
{
    struct Case {
        std::u16string text;
        char const* tokens;   // kind/symbol@start:length, white space included
    };
    Case const cases[] = {
        {u"", "0/0@0:0"}, {u"x2", "1004/1004@0:2 0/0@2:0"}, {u"2x", "1003/1003@0:1 1004/1004@1:1 0/0@2:0"},
        {u"1e5", "1003/1003@0:1 1004/1004@1:2 0/0@3:0"}, {u"1.2.3", "1003/1003@0:3 1003/1003@3:2 0/0@5:0"},
        {u". 5. .5", "1003/1003@0:1 1000/1000@1:1 1003/1003@2:2 1000/1000@4:1 1003/1003@5:2 0/0@7:0"},
        {u"a_b9 _", "1004/1004@0:4 1000/1000@4:1 1004/1004@5:1 0/0@6:0"}, {u"Zz_0", "1004/1004@0:4 0/0@4:0"},
        {u"\u00e9", "233/233@0:1 0/0@1:0"}, {u"x\r", "1004/1004@0:1 1000/1000@1:1 0/0@2:0"},
        {u" \t\n\r\n", "1000/1000@0:5 0/0@5:0"}, {u"  +  ", "1000/1000@0:2 43/1010@2:1 1000/1000@3:2 0/0@5:0"},
        {u"(-*/),=", "40/40@0:1 45/1010@1:1 42/1011@2:1 47/1011@3:1 41/41@4:1 44/44@5:1 61/61@6:1 0/0@7:0"},
        {u"a+-b", "1004/1004@0:1 43/1010@1:1 45/1010@2:1 1004/1004@3:1 0/0@4:0"},
        {u"\u8000", "-32768/-32768@0:1 0/0@1:0"},
        // Codes that equal token kinds or grammar symbols are reserved
        // characters, not the end, white space, numbers, names or operators.
        {std::u16string(u"1\0" "2", 3), "1003/1003@0:1 -2/-2@1:1 1003/1003@2:1 0/0@3:0"},
        {u"\u03e8\u03eb\u03ec\u03f2\u03f3\u03e9\u03f5",
         "-2/-2@0:1 -2/-2@1:1 -2/-2@2:1 -2/-2@3:1 -2/-2@4:1 -2/-2@5:1 -2/-2@6:1 0/0@7:0"},
        {u"\u03e7\u03f6", "999/999@0:1 1014/1014@1:1 0/0@2:0"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(TestSupport::toUtf8(c.text));
        EXPECT_EQ(tokensOf(c.text), c.tokens);
    }
}

// Each step sets the position (unless -1) and reads one token; the end of the
// text repeats, and a position out of the text reads as its nearest end.
TEST(Scanner, EndOfTextRepeatsAndPositionsAreHonoured)
{
    Scanner none(nullptr);
    EXPECT_EQ(none.getNextToken(), 0);
    TestSupport::OwnedString text(u"ab 12");
    Scanner scanner(text);
    struct Step {
        int position;
        char const* token;
        int after;
    } const steps[] = {
        {-1, "1004/1004@0:2", 2}, {-1, "1003/1003@3:2", 5}, {-1, "0/0@5:0", 5}, {-1, "0/0@5:0", 5},
        {1, "1004/1004@1:1", 2}, {99, "0/0@5:0", 99}, {-3, "1004/1004@0:2", 2},
    };
    for (Step const& step : steps) {
        if (step.position != -1)
            scanner.position = step.position;
        TokenData out;
        EXPECT_EQ(scanner.getNextToken(&out), out.kind);
        EXPECT_EQ(describe(out), step.token);
        EXPECT_EQ(scanner.position, step.after) << step.token;
    }
}

TEST(Scanner, TokenTextValueAndComparison)
{
    TestSupport::OwnedString text(u"sin 1.5 . 5. .25 \u8000 007");
    Scanner scanner(text);
    TokenData tokens[7];
    for (TokenData& token : tokens)
        scanner.getNextToken(&token);

    EXPECT_EQ(TestSupport::OwnedString(scanner.tokenToString(&tokens[0])).text(), u"sin");

    double const values[] = {0, 1.5, 0.0, 5.0, 0.25, 0, 7.0};   // of the number tokens 1 to 4 and 6
    for (int i : {1, 2, 3, 4, 6})
        EXPECT_EQ(scanner.tokenToDouble(&tokens[i]), values[i]) << "token " << i;

    struct Comparison {
        int token;
        char16_t const* other;   // null for an absent string
        int expected;
    } const comparisons[] = {
        {0, u"sin", 0}, {0, u"si", 1}, {0, u"sinh", -1}, {0, u"sio", -1}, {0, u"Sin", 1},
        {0, u"", 1}, {0, nullptr, 1}, {5, u"a", -1}, {6, u"007", 0}, {6, u"0070", -1},
    };
    for (Comparison const& c : comparisons) {
        SCOPED_TRACE(c.other ? TestSupport::toUtf8(c.other) : "<null>");
        TestSupport::OwnedString other(c.other ? TestSupport::makeString(c.other) : nullptr);
        EXPECT_EQ(scanner.compareToken(&tokens[c.token], other), c.expected);
    }
}

}
