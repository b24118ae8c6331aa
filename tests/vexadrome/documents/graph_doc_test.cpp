// The graph document model: variables and their strides, the expression
// list and what it owns, compiling, time-dependent refreshes and the view.
#include <gtest/gtest.h>

#include <malloc.h>

#include <limits>
#include <tuple>

#include "tests/support/child_process.h"
#include "tests/vexadrome/documents/document_test_support.h"

using namespace Vexadrome::Documents;
using namespace DocumentTests;
namespace ErrorCode = Vexadrome::Parsing::ErrorCode;

// Bytes the C heap has handed out and not taken back (the sanitizers keep a
// heap of their own, where their leak check does this work).
static std::size_t heapInUse()
{
    struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

TEST(GraphDoc, StridesAndPointCount)
{
    constexpr std::int64_t Saturated = std::numeric_limits<std::int64_t>::max();
    struct Case { std::vector<int> res; std::vector<std::int64_t> strides; bool tooMany; } const cases[] = {
        {{25, 10}, {26, 286}, false},
        {{2047, 2047}, {2048, 4194304}, false},  // exactly the limit
        {{2047, 2048}, {2048, 4196352}, true},
        {{2147483647, 2147483647, 2147483647, 2, 2, 2, 2, 2},
         {2147483648, 4611686018427387904, Saturated, Saturated, Saturated, Saturated, Saturated, Saturated},
         true},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.res));
        TestHost host;
        GraphDoc doc(&host);
        std::vector<DocumentTests::Variable> variables;
        for (std::size_t i = 0; i < c.res.size(); ++i)
            variables.push_back({u"v" + std::u16string(1, char16_t(u'0' + i)), 0.0, 1.0, c.res[i]});
        setVariables(&doc, variables);
        ASSERT_EQ(doc.get$varCount(), static_cast<int>(c.res.size()));
        for (std::size_t i = 0; i < c.strides.size(); ++i)
            EXPECT_EQ(doc.getStride(static_cast<int>(i)), c.strides[i]) << "stride " << i;
        EXPECT_EQ(doc.get$pointCount(), c.strides.back());
        EXPECT_EQ(doc.get$hasTooManyPoints(), c.tooMany);
    }
}

TEST(GraphDoc, VariablesAreRefusedOutsideOneToEight)
{
    TestHost host;
    GraphDoc doc(&host);
    for (int n : {0, -1, 9, 100})
        EXPECT_EQ((std::tuple{doc.resetVariables(n), doc.get$varCount(), doc.get$pointCount()}), std::tuple(false, 1, 26)) << n;
    TestSupport::expectException([&] { doc.updateVariable(1, u"y"_str, 0, 1, 1, 1); }, "NyCore.OutOfBoundsException",
                                 "Index 1 is not within the range 0 to 0.");
}

TEST(GraphDoc, ExpressionListKeepsOrderAndFreesWhatItOwns)
{
    TestHost host;
    std::size_t const before = heapInUse();
    {
        GraphDoc doc(&host);
        addExpr(&doc, u"1", u"a");
        GraphExpr* c = addExpr(&doc, u"3", u"c");
        auto* b = new GraphExpr(&doc);
        doc.insertExpr(1, b);
        doc.removeExpr(0);
        EXPECT_EQ((std::vector{doc.getExpr(0), doc.getExpr(1)}), (std::vector{b, c}));
        doc.resetExprs();
        EXPECT_EQ(doc.get$exprCount(), 0);

        // Two compiled expressions of 200,000 samples hold about 19 MB of points and normals.
        setVariables(&doc, {{u"x", 0, 1, 999}, {u"y", 0, 1, 199}});
        addExpr(&doc, u"x*y");
        addExpr(&doc, u"x+y");
        Vexadrome::Parsing::Error error;
        ASSERT_EQ(doc.bindAllExprs(&error), -1);
#ifndef __SANITIZE_ADDRESS__
        std::size_t const holding = heapInUse();
        EXPECT_GE(holding, before + 19'000'000);
        doc.removeExpr(0);
        EXPECT_LE(heapInUse(), holding - 9'500'000) << "removeExpr kept the expression's arrays";
#endif
    }
#ifndef __SANITIZE_ADDRESS__
    EXPECT_LE(heapInUse(), before + 65536) << "the destructor kept an expression or the variables";
#endif
}

TEST(GraphDoc, CompilingReportsEveryExpressionsError)
{
    TestHost host;
    GraphDoc doc(&host);
    GraphExpr* good = addExpr(&doc, u"x*2");
    GraphExpr* unknown = addExpr(&doc, u"x + q(x)");
    GraphExpr* malformed = addExpr(&doc, u"x +");
    std::vector<Vexadrome::Parsing::Error> errors = doc.compileExprs();
    ASSERT_EQ(errors.size(), 3u);
    // The unknown name is located in the expression's text.
    EXPECT_EQ(std::tuple(errors[0].code, errors[1].code, errors[1].start, errors[2].code),
              std::tuple(ErrorCode::NoError, ErrorCode::UnknownName, 4, ErrorCode::MalformedExpression));
    EXPECT_EQ(std::tuple(good->active, unknown->active, malformed->active), std::tuple(true, false, false));
    EXPECT_EQ(std::tuple(good->points != nullptr, unknown->points, unknown->normals), std::tuple(true, nullptr, nullptr));

    // A later definition lets it compile, but only the user switches it on again.
    ASSERT_TRUE(host.define(u"q(a) = a*a"));
    Vexadrome::Parsing::Error first;
    EXPECT_EQ((std::tuple{doc.bindAllExprs(&first), first.code}), std::tuple(2, ErrorCode::MalformedExpression));
    ASSERT_NE(unknown->points, nullptr);
    EXPECT_EQ(unknown->points[1], -10.0 + 100.0);
    EXPECT_FALSE(unknown->active);
}

TEST(GraphDoc, TimeDependentExpressionsAreRefreshed)
{
    TestHost host;
    GraphDoc doc(&host);
    setVariables(&doc, {{u"x", 0, 1, 1}});
    GraphExpr* still = addExpr(&doc, u"x + 1");
    Vexadrome::Parsing::Error error;
    ASSERT_EQ(doc.bindAllExprs(&error), -1);
    EXPECT_FALSE(doc.searchForTimeCall());

    ASSERT_TRUE(host.define(u"wave(a) = a + time(4)"));
    GraphExpr* moving = addExpr(&doc, u"wave(x)");
    ASSERT_EQ(doc.bindAllExprs(&error), -1);
    EXPECT_EQ(std::tuple(still->usesTime, moving->usesTime, doc.searchForTimeCall()), std::tuple(false, true, true));
    moving->calculator.set$tickCount(1000);
    moving->resample();
    EXPECT_EQ(moving->points[1], 0.25);

    // refreshExprs samples the time-dependent one again and leaves the other alone.
    still->points[1] = 99.0;
    moving->points[1] = 99.0;
    doc.refreshExprs();
    EXPECT_EQ(still->points[1], 99.0);
    EXPECT_LT(moving->points[1], 1.0);

    // With other variables, nothing is sampled (101 samples into room for 2) until the next compile.
    setVariables(&doc, {{u"x", 0, 1, 100}});
    moving->points[0] = moving->points[1] = 99.0;
    doc.refreshExprs();
    EXPECT_EQ(std::tuple(moving->points[0], moving->points[1]), std::tuple(99.0, 99.0));
    ASSERT_TRUE(moving->bindExprString(&error));
    EXPECT_EQ(moving->points[3 * 100], 1.0);
}

namespace {

class FakeView : public NyCore::Object {
    NY_REFLECTIVE(FakeView)
public:
    static int setDocument(NyCore::Object* receiver, std::intptr_t document, std::intptr_t, std::intptr_t,
                           std::intptr_t, std::intptr_t)
    {
        static_cast<FakeView*>(receiver)->document = reinterpret_cast<GraphDoc*>(document);
        return 0;
    }

    GraphDoc* document = nullptr;
};

NyCore::MethodEntry const FakeViewMethods[] = {{u"set$document", &FakeView::setDocument}, {nullptr, nullptr}};
NyCore::TypeData FakeView::MetaData = {&NyCore::Object::MetaData, nullptr, u"GraphTests.FakeView"_str,
                                       FakeViewMethods, NyCore::NoEvents, nullptr, sizeof(FakeView), 0, nullptr};

}

TEST(GraphDoc, CreateDefaultViewAsksTheHost)
{
    TestHost host;
    GraphDoc doc(&host);
    doc.set$title(u"Graph1"_str);
    FakeView view;
    host.view = &view;
    EXPECT_EQ(doc.createDefaultView(), &view);
    EXPECT_EQ(std::tuple(doc.view, view.document), std::tuple(&view, &doc));
    EXPECT_EQ(host.requests, std::vector<std::string>{"Vexadrome.Interface.EquationGraphView 'Graph1' 0"});
}
