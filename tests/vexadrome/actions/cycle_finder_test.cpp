// Tests of the passes over unlinked trees that run before linking: the call
// lister, the cycle search with its depth bound, and the stack sizing.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "nycore/collection/link_vector.h"
#include "tests/vexadrome/actions/link_test_support.h"
#include "vexadrome/actions/prelink_call_lister.h"
#include "vexadrome/actions/prelink_cycle_finder.h"
#include "vexadrome/actions/prelink_stack_counter.h"

namespace {

using namespace LinkTestSupport;
using Vexadrome::Actions::PrelinkCallLister;
using Vexadrome::Actions::PrelinkCycleFinder;
using Vexadrome::Actions::PrelinkStackCounter;
using Vexadrome::Parsing::ErrorCode::CircularReference;
using Vexadrome::Parsing::ErrorCode::TooComplex;

std::string listNames(std::u16string const& text, Definitions& definitions, bool* complete = nullptr)
{
    Prelink* tree = parseText(text);
    NyCore::Collections::LinkVector<NyCore::String> names;
    bool done = PrelinkCallLister::list(tree, definitions.get(), &names);
    if (complete)
        *complete = done;
    std::string joined;
    for (int i = 0; i < names.get$count(); ++i)
        joined += (i ? " " : "") + TestSupport::toUtf8(names.get(i));
    delete tree;
    return joined;
}

TEST(PrelinkCallListerTest, ListsNamesDepthFirstThroughCallsAndArguments)
{
    Definitions definitions{u"a = b + c(d)", u"c(t) = t * e", u"e = 2", u"f(x) = x + x"};
    struct Case {
        std::u16string text;
        std::string names;
    } const cases[] = {
        {u"1 + 2", ""}, {u"a + b", "a b c e d"}, {u"f(a) * f(z)", "f a b c e d z"},
        {u"vector(q, sin(r), power(s, dot(t, u)))", "q r s t u"}, {u"f(f(f(1)))", "f"}, {u"x", "x"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(TestSupport::toUtf8(c.text));
        bool complete = false;
        EXPECT_EQ(listNames(c.text, definitions, &complete), c.names);
        EXPECT_TRUE(complete);
    }
}

TEST(PrelinkCycleFinderTest, FindsCyclesThroughNamesCallsAndArguments)
{
    Definitions definitions{u"x = y + 1", u"y = x * 2", u"s = s + 1", u"id(t) = t", u"r = id(r)",
                            u"f(n) = f(n - 1)", u"q(q) = q + 1", u"g(t) = h(t)", u"h(t) = id(g(t))",
                            u"k = id(id(id(m)))", u"m = 2 * k", u"ok = id(3) + q(1)"};
    struct {
        std::u16string text;
        int code, start, length;
    } const cases[] = {
        {u"1+x", CircularReference, 2, 1}, {u"y", CircularReference, 0, 1}, {u"2 * s", CircularReference, 4, 1},
        {u"r", CircularReference, 0, 1}, {u"2*id(r)", CircularReference, 5, 1}, {u"f(3)", CircularReference, 0, 0},
        {u"ok + g(1)", CircularReference, 5, 0}, {u"m", CircularReference, 0, 1}, {u"id(1) + q(2) + ok", 0, -1, 0},
        {u"undefined(x2) + 1", 0, -1, 0},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(TestSupport::toUtf8(c.text));
        Prelink* tree = parseText(c.text);
        Error error;
        EXPECT_EQ(PrelinkCycleFinder::findCycle(tree, &error, definitions.get()), c.code != 0);
        EXPECT_EQ(std::tuple(error.code, error.start, error.length), std::tuple(c.code, c.start, c.length));
        delete tree;
    }
}

// d(k) = d(k-1) + 1 nests two levels per definition; MaxLinkDepth is 4000.
TEST(PrelinkCycleFinderTest, BoundsTheNestingOfDefinitions)
{
    Definitions definitions{u"d0 = 1"};
    for (int k = 1; k <= 2000; ++k)
        definitions.define(numbered(u"d", k) + u" = " + numbered(u"d", k - 1) + u" + 1");
    Error error;
    Expr* linked = LinkTestSupport::linkText(u"d1999", definitions, &error);
    EXPECT_NE(linked, nullptr);
    EXPECT_EQ(error.code, 0);
    delete linked;

    bool complete = true;
    listNames(u"d2000", definitions, &complete);
    EXPECT_FALSE(complete);
    Prelink* tree = parseText(u"1 + d2000");
    EXPECT_TRUE(PrelinkCycleFinder::findCycle(tree, &error, definitions.get()));
    EXPECT_EQ(std::tuple(error.code, error.start, error.length), std::tuple(TooComplex, 4, 5));
    delete tree;
}

TEST(PrelinkStackCounterTest, CountsTheLinkersGreatestStack)
{
    struct Case {
        std::u16string text;
        int depth;
    } const cases[] = {
        {u"1", 1}, {u"x", 1}, {u"1+2", 2}, {u"1+2*3", 3}, {u"1*2+3", 2}, {u"vector(1,2,3)", 1}, {u"1+vector(1,2)", 2},
        {u"f(1,2,3)", 3}, {u"1+f(2,3*4)", 4}, {u"sin(1)", 1}, {u"magnitude(vector(1+2))", 2},
        {u"power(1, dot(2, 3))", 3}, {u"1+2+3+4+5*6", 3},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(TestSupport::toUtf8(c.text));
        Prelink* tree = parseText(c.text);
        EXPECT_EQ(PrelinkStackCounter::calculate(tree), c.depth);
        delete tree;
    }
}

}
