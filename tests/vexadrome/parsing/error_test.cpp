// Tests of the first-wins Error record and the message table of its codes.
#include <gtest/gtest.h>

#include "nycore/text/string_functions.h"
#include "tests/support/strings.h"
#include "vexadrome/parsing/error.h"
#include "vexadrome/parsing/scanner.h"

namespace {

using Vexadrome::Parsing::Error;

TEST(Error, FreshRecordHasNoErrorAndNoLocation)
{
    Error error;
    EXPECT_EQ(error.code, 0);
    EXPECT_EQ(error.start, -1);
    EXPECT_EQ(error.length, 0);
    EXPECT_FALSE(error.hasCode());
    EXPECT_FALSE(error.hasLocation());
    EXPECT_EQ(TestSupport::toU16(Vexadrome::Res::Strings::errorMessage(error.code)), u"no error");
}

TEST(Error, FirstReportWinsForCodeAndLocationIndependently)
{
    Error error;
    error.setCode(6);
    error.setCode(3);
    EXPECT_EQ(error.code, 6);

    Error located;
    located.setCode(1);
    located.setLocation(5, 2);
    located.setLocation(9, 4);
    EXPECT_EQ(located.code, 1);
    EXPECT_EQ(located.start, 5);
    EXPECT_EQ(located.length, 2);

    Error locationFirst;
    locationFirst.setLocation(3, 0);
    locationFirst.setCode(8);
    locationFirst.setCode(2);
    EXPECT_EQ(locationFirst.code, 8);
    EXPECT_EQ(locationFirst.start, 3);
    EXPECT_EQ(locationFirst.length, 0);
    EXPECT_TRUE(locationFirst.hasLocation());

    locationFirst.reset();
    EXPECT_EQ(locationFirst.code, 0);
    EXPECT_EQ(locationFirst.start, -1);
    EXPECT_EQ(locationFirst.length, 0);
    locationFirst.setCode(2);
    EXPECT_EQ(locationFirst.code, 2);
}

TEST(Error, SetValueTakesTheScannersLastToken)
{
    NyCore::String* text = TestSupport::makeString(u"  abc + 1");
    Vexadrome::Parsing::Scanner scanner(text);
    scanner.getNextToken();
    Error error;
    error.setValue(&scanner, 6);
    EXPECT_EQ(error.code, 6);
    EXPECT_EQ(error.start, 2);
    EXPECT_EQ(error.length, 3);
    scanner.getNextToken();
    error.setValue(&scanner, 9);
    EXPECT_EQ(error.code, 6);
    EXPECT_EQ(error.start, 2);
    string_free(text);
}

TEST(Error, MessagesByCode)
{
    struct Case {
        int code;
        char16_t const* message;
    };
    Case const cases[] = {
        {0, u"no error"},
        {1, u"invalid command parameters"},
        {2, u"unknown variable or function"},
        {3, u"circular reference found"},
        {4, u"invalid element"},
        {5, u"invalid dimesions"},
        {6, u"malformed expression"},
        {7, u"wrong shape"},
        {8, u"wrong parameter count"},
        {9, u"invalid assignment command"},
        {10, u"duplicate parameter name"},
        {11, u"bad syntax"},
        {12, u"expression too complex"},
        {13, u"unknown command error"},
        {1000, u"unknown command error"},
        {-1, u"unknown command error"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(TestSupport::toU16(Vexadrome::Res::Strings::errorMessage(c.code)), c.message);
    }
    EXPECT_EQ(Vexadrome::Parsing::ErrorCode::TooComplex, 12);
}

}
