// Tests of the first-wins Error record and the message table of its codes.
#include <gtest/gtest.h>

#include <tuple>

#include "tests/support/strings.h"
#include "vexadrome/parsing/error.h"
#include "vexadrome/parsing/scanner.h"

namespace {

using Vexadrome::Parsing::Error;

TEST(Error, FirstReportWinsForCodeAndLocationIndependently)
{
    auto state = [](Error const& e) { return std::tuple(e.code, e.start, e.length, e.hasCode(), e.hasLocation()); };
    Error error;
    EXPECT_EQ(state(error), std::tuple(0, -1, 0, false, false));
    error.setLocation(3, 0);
    error.setCode(8);
    error.setCode(2);
    error.setLocation(9, 4);
    EXPECT_EQ(state(error), std::tuple(8, 3, 0, true, true));

    error.reset();
    EXPECT_EQ(state(error), std::tuple(0, -1, 0, false, false));
    error.setCode(2);
    error.setLocation(5, 2);
    EXPECT_EQ(state(error), std::tuple(2, 5, 2, true, true));

    // setValue takes the scanner's last token as the location.
    TestSupport::OwnedString text(u"  abc + 1");
    Vexadrome::Parsing::Scanner scanner(text);
    scanner.getNextToken();
    error.reset();
    error.setValue(&scanner, 6);
    EXPECT_EQ(state(error), std::tuple(6, 2, 3, true, true));
    scanner.getNextToken();
    error.setValue(&scanner, 9);
    EXPECT_EQ(state(error), std::tuple(6, 2, 3, true, true));
}

TEST(Error, MessagesByCode)
{
    struct Case {
        int code;
        char16_t const* message;
    };
    Case const cases[] = {
        {0, u"no error"}, {1, u"invalid command parameters"}, {2, u"unknown variable or function"},
        {3, u"circular reference found"}, {4, u"invalid element"}, {5, u"invalid dimesions"},
        {6, u"malformed expression"}, {7, u"wrong shape"}, {8, u"wrong parameter count"},
        {9, u"invalid assignment command"}, {10, u"duplicate parameter name"}, {11, u"bad syntax"},
        {12, u"expression too complex"}, {13, u"unknown command error"}, {1000, u"unknown command error"},
        {-1, u"unknown command error"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(TestSupport::toU16(Vexadrome::Res::Strings::errorMessage(c.code)), c.message);
    }
}

}
