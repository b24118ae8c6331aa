// The graph document model: defaults, variables and their strides, the
// expression list, compiling, time-dependent refreshes and the view request.
#include <gtest/gtest.h>

#include <limits>

#include "nycore/io/memory_stream.h"
#include "nycore/system/memory.h"
#include "nycore/system/runtime.h"
#include "tests/support/child_process.h"
#include "tests/vexadrome/documents/graph_test_support.h"

using namespace Vexadrome::Documents;
using GraphTests::addExpr;
using GraphTests::GraphHost;
using GraphTests::setVariables;
namespace ErrorCode = Vexadrome::Parsing::ErrorCode;

TEST(GraphDoc, NewDocumentDefaults)
{
    GraphHost host;
    GraphDoc doc(&host);
    EXPECT_EQ(doc.get$varCount(), 1);
    EXPECT_EQ(TestSupport::toUtf8(doc.getVarName(0)), "x");
    EXPECT_EQ(doc.getRange(0)->min, -10.0);
    EXPECT_EQ(doc.getRange(0)->max, 10.0);
    EXPECT_EQ(doc.getRange(0)->res, 25);
    EXPECT_EQ(doc.getRange(0)->tick, 25);
    EXPECT_EQ(doc.getStride(0), 26);
    EXPECT_EQ(doc.get$pointCount(), 26);
    EXPECT_EQ(doc.get$exprCount(), 0);
    EXPECT_EQ(doc.view, nullptr);
    EXPECT_EQ(doc.get$app(), &host);
    EXPECT_EQ(doc.get$store(), &host.store);
    EXPECT_EQ(doc.mode, GraphMode::Euclidian);
    EXPECT_EQ(doc.background, 14);
    EXPECT_EQ(doc.frameRate, 30);
    EXPECT_EQ(doc.axesLength, 50.0);
    EXPECT_EQ(doc.fovAngle, 50.0);
    EXPECT_EQ(doc.nearPlane, 0.1);
    EXPECT_EQ(doc.farPlane, 1000.0);
    EXPECT_FALSE(doc.get$isModified());

    struct LightCase {
        float x, y, z;
        bool active;
    } const lights[] = {{0, 20, 0, true}, {20, 0, 0, false}, {0, 0, 20, false}, {20, 0, 20, false}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE("light " + std::to_string(i));
        EXPECT_EQ(doc.lights[i].x, lights[i].x);
        EXPECT_EQ(doc.lights[i].y, lights[i].y);
        EXPECT_EQ(doc.lights[i].z, lights[i].z);
        EXPECT_EQ(doc.lights[i].color, 0);
        EXPECT_FALSE(doc.lights[i].directional);
        EXPECT_EQ(doc.lights[i].active, lights[i].active);
    }

    GraphExpr expr(&doc);
    EXPECT_EQ(expr.doc, &doc);
    EXPECT_EQ(TestSupport::toUtf8(expr.get$name()), "");
    EXPECT_EQ(TestSupport::toUtf8(expr.get$exprString()), "");
    EXPECT_EQ(expr.points, nullptr);
    EXPECT_EQ(expr.normals, nullptr);
    EXPECT_EQ(expr.inputCount, 0);
    EXPECT_TRUE(expr.active);
    EXPECT_FALSE(expr.usesTime);
}

TEST(GraphDoc, StridesAndPointCount)
{
    constexpr std::int64_t Saturated = std::numeric_limits<std::int64_t>::max();
    struct Case {
        std::vector<int> res;
        std::vector<std::int64_t> strides;
        bool tooMany;
    } const cases[] = {
        {{25}, {26}, false},
        {{25, 10}, {26, 286}, false},
        {{1, 1, 1}, {2, 4, 8}, false},
        {{0}, {2}, false},                   // a res below 1 is taken as 1
        {{-7, 3}, {2, 8}, false},
        {{2047, 2047}, {2048, 4194304}, false},  // exactly the limit
        {{2047, 2048}, {2048, 4196352}, true},
        {{25, 25, 25, 25, 25, 25}, {26, 676, 17576, 456976, 11881376, 308915776}, true},
        {{2147483647, 2147483647, 2147483647, 2, 2, 2, 2, 2},
         {2147483648, 4611686018427387904, Saturated, Saturated, Saturated, Saturated, Saturated, Saturated},
         true},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.res));
        GraphHost host;
        GraphDoc doc(&host);
        std::vector<GraphTests::Variable> variables;
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
    GraphHost host;
    GraphDoc doc(&host);
    for (int n : {0, -1, 9, 100}) {
        EXPECT_FALSE(doc.resetVariables(n)) << n;
        EXPECT_EQ(doc.get$varCount(), 1) << n;
        EXPECT_EQ(doc.get$pointCount(), 26) << n;
    }
    EXPECT_TRUE(doc.resetVariables(8));
    EXPECT_EQ(doc.get$varCount(), 8);

    auto child = TestSupport::runInChild([] {
        GraphHost host;
        GraphDoc doc(&host);
        doc.updateVariable(1, u"y"_str, 0, 1, 1, 1);
    });
    EXPECT_TRUE(child.exited);
    EXPECT_EQ(child.exitCode, NyCore::System::FatalExitCode);
    EXPECT_NE(child.output.find("OutOfBounds"), std::string::npos) << child.output;
}

TEST(GraphDoc, ExpressionListKeepsOrderAndOwnsItsExpressions)
{
    GraphHost host;
    GraphDoc doc(&host);
    GraphExpr* a = addExpr(&doc, u"1", u"a");
    GraphExpr* c = addExpr(&doc, u"3", u"c");
    auto* b = new GraphExpr(&doc);
    doc.insertExpr(1, b);
    ASSERT_EQ(doc.get$exprCount(), 3);
    EXPECT_EQ(doc.getExpr(0), a);
    EXPECT_EQ(doc.getExpr(1), b);
    EXPECT_EQ(doc.getExpr(2), c);
    doc.removeExpr(0);
    ASSERT_EQ(doc.get$exprCount(), 2);
    EXPECT_EQ(doc.getExpr(0), b);
    doc.resetExprs();
    EXPECT_EQ(doc.get$exprCount(), 0);
    addExpr(&doc, u"x");  // freed by the destructor
}

TEST(GraphDoc, BindAllExprsReportsTheFirstFailure)
{
    GraphHost host;
    GraphDoc doc(&host);
    GraphExpr* good = addExpr(&doc, u"x*2");
    GraphExpr* unknown = addExpr(&doc, u"x + q(x)");
    GraphExpr* malformed = addExpr(&doc, u"x +");
    GraphExpr* later = addExpr(&doc, u"3");
    Vexadrome::Parsing::Error error;
    EXPECT_EQ(doc.bindAllExprs(&error), 1);
    EXPECT_EQ(error.code, ErrorCode::UnknownName);
    EXPECT_EQ(error.start, 4) << "located in the expression's text";

    EXPECT_TRUE(good->active);
    ASSERT_NE(good->points, nullptr);
    EXPECT_EQ(good->inputCount, 1);
    EXPECT_EQ(good->points[3 * 25 + 1], 20.0);
    EXPECT_FALSE(unknown->active);
    EXPECT_EQ(unknown->points, nullptr);
    EXPECT_EQ(unknown->normals, nullptr);
    EXPECT_FALSE(malformed->active);
    EXPECT_TRUE(later->active);
    ASSERT_NE(later->points, nullptr);

    // A later definition lets it compile, but only the user switches it on again.
    ASSERT_TRUE(host.define(u"q(a) = a*a"));
    Vexadrome::Parsing::Error none;
    EXPECT_EQ(doc.bindAllExprs(&none), 2);
    EXPECT_EQ(none.code, ErrorCode::MalformedExpression);
    ASSERT_NE(unknown->points, nullptr);
    EXPECT_EQ(unknown->points[1], -10.0 + 100.0);
    EXPECT_FALSE(unknown->active);

    malformed->set$exprString(u"x"_str);
    Vexadrome::Parsing::Error clean;
    EXPECT_EQ(doc.bindAllExprs(&clean), -1);
    EXPECT_FALSE(clean.hasCode());

    struct Case {
        char16_t const* text;
        int code;
    } const failures[] = {
        {u"", ErrorCode::MalformedExpression},
        {u"   ", ErrorCode::MalformedExpression},
        {u"y", ErrorCode::UnknownName},
        {u"2 3", ErrorCode::MalformedExpression},
        {u"sin(vector(1, 2)", ErrorCode::WrongParamCount},
    };
    for (auto const& f : failures) {
        SCOPED_TRACE(TestSupport::toUtf8(f.text));
        GraphExpr* e = addExpr(&doc, f.text);
        Vexadrome::Parsing::Error fault;
        EXPECT_FALSE(e->bindExprString(&fault));
        EXPECT_EQ(fault.code, f.code);
        EXPECT_FALSE(e->active);
        EXPECT_EQ(e->points, nullptr);
    }
}

TEST(GraphDoc, DuplicateVariableNamesDoNotCompile)
{
    GraphHost host;
    GraphDoc doc(&host);
    setVariables(&doc, {{u"x", 0, 1, 1}, {u"x", 0, 1, 1}});
    GraphExpr* e = addExpr(&doc, u"x");
    Vexadrome::Parsing::Error error;
    EXPECT_FALSE(e->bindExprString(&error));
    EXPECT_EQ(error.code, ErrorCode::DuplicateParam);
}

TEST(GraphDoc, NormalsOnlyForUpToThreeVariables)
{
    for (int n = 1; n <= 5; ++n) {
        SCOPED_TRACE(std::to_string(n) + " variables");
        GraphHost host;
        GraphDoc doc(&host);
        std::vector<GraphTests::Variable> variables;
        for (int i = 0; i < n; ++i)
            variables.push_back({std::u16string(1, char16_t(u'a' + i)), 0.0, 1.0, 2});
        setVariables(&doc, variables);
        GraphExpr* e = addExpr(&doc, u"a");
        Vexadrome::Parsing::Error error;
        ASSERT_TRUE(e->bindExprString(&error));
        EXPECT_EQ(e->inputCount, n);
        EXPECT_NE(e->points, nullptr);
        EXPECT_EQ(e->normals != nullptr, n <= 3);
    }
}

// Fault: the point count used to be a 32-bit product without a limit.
TEST(GraphDoc, GraphsOverThePointLimitFailWithoutAllocating)
{
    GraphHost host;
    GraphDoc doc(&host);
    std::vector<GraphTests::Variable> six(6, {u"", -10.0, 10.0, 25});
    for (int i = 0; i < 6; ++i)
        six[i].name = std::u16string(1, char16_t(u'a' + i));
    setVariables(&doc, six);
    GraphExpr* e = addExpr(&doc, u"a+b");
    Vexadrome::Parsing::Error error;
    EXPECT_FALSE(e->bindExprString(&error));
    EXPECT_EQ(error.code, ErrorCode::TooComplex);
    EXPECT_FALSE(e->active);
    EXPECT_EQ(e->points, nullptr);
    EXPECT_EQ(e->normals, nullptr);

    // Back under the limit, the same expression compiles.
    setVariables(&doc, {{u"a", 0, 1, 2}, {u"b", 0, 1, 2}});
    Vexadrome::Parsing::Error fine;
    EXPECT_TRUE(e->bindExprString(&fine));
    EXPECT_NE(e->points, nullptr);
}

TEST(GraphDoc, TimeDependentExpressionsAreRefreshed)
{
    GraphHost host;
    GraphDoc doc(&host);
    setVariables(&doc, {{u"x", 0, 1, 1}});
    GraphExpr* still = addExpr(&doc, u"x + 1");
    Vexadrome::Parsing::Error error;
    ASSERT_EQ(doc.bindAllExprs(&error), -1);
    EXPECT_FALSE(still->usesTime);
    EXPECT_FALSE(doc.searchForTimeCall());

    ASSERT_TRUE(host.define(u"wave(a) = a + time(4)"));
    GraphExpr* moving = addExpr(&doc, u"wave(x)");
    ASSERT_EQ(doc.bindAllExprs(&error), -1);
    EXPECT_TRUE(moving->usesTime);
    EXPECT_TRUE(doc.searchForTimeCall());

    moving->calculator.set$tickCount(1000);
    moving->resample();
    EXPECT_EQ(moving->points[1], 0.25);
    EXPECT_EQ(moving->points[4], 1.25);

    // refreshExprs samples the time-dependent one again and leaves the other alone.
    still->points[1] = 99.0;
    moving->points[1] = 99.0;
    doc.refreshExprs();
    EXPECT_EQ(still->points[1], 99.0);
    EXPECT_GE(moving->points[1], 0.0);
    EXPECT_LT(moving->points[1], 1.0);
}

TEST(GraphDoc, ChangedVariablesAreNotSampledBeforeTheNextCompile)
{
    GraphHost host;
    GraphDoc doc(&host);
    setVariables(&doc, {{u"x", 0, 1, 1}});
    GraphExpr* e = addExpr(&doc, u"x + time(1)");
    Vexadrome::Parsing::Error error;
    ASSERT_TRUE(e->bindExprString(&error));
    setVariables(&doc, {{u"x", 0, 1, 100}});
    doc.refreshExprs();  // would write 101 samples into room for 2
    Vexadrome::Parsing::Error again;
    ASSERT_TRUE(e->bindExprString(&again));
    EXPECT_EQ(e->points[3 * 100], 1.0);
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
    GraphHost host;
    GraphDoc doc(&host);
    doc.set$title(u"Graph1"_str);
    EXPECT_EQ(doc.createDefaultView(), nullptr);
    EXPECT_EQ(doc.view, nullptr);

    FakeView view;
    host.view = &view;
    EXPECT_EQ(doc.createDefaultView(), &view);
    EXPECT_EQ(doc.view, &view);
    EXPECT_EQ(view.document, &doc);
    EXPECT_EQ(host.requests, (std::vector<std::string>{"Vexadrome.Interface.EquationGraphView 'Graph1' 0",
                                                       "Vexadrome.Interface.EquationGraphView 'Graph1' 0"}));

    // A view without set$document is kept all the same.
    NyCore::Object plain;
    host.view = &plain;
    EXPECT_EQ(doc.createDefaultView(), &plain);
}

TEST(GraphDoc, WriteToClearsModified)
{
    GraphHost host;
    GraphDoc doc(&host);
    doc.set$modified(true);
    EXPECT_TRUE(doc.get$isModified());
    NyCore::IO::StreamWriter writer;
    memwriter_construct(&writer);
    doc.writeTo(&writer);
    NyCore::String* text = memwriter_get_text(&writer);
    memwriter_destroy(&writer);
    EXPECT_EQ(TestSupport::toUtf8(text).rfind("<graph title=\"\"", 0), 0u) << TestSupport::toUtf8(text);
    string_free(text);
    EXPECT_FALSE(doc.get$isModified());
}

TEST(GraphDoc, CreateLinkedFnMakesAFunctionOfTheVariables)
{
    GraphHost host;
    ASSERT_TRUE(host.define(u"k = 100"));
    NyCore::String const* names[] = {u"a"_str, u"b"_str};
    LinkedFn fn;
    Vexadrome::Parsing::Error error;
    ASSERT_TRUE(host.store.createLinkedFn(u"a*10 + b + k"_str, names, 2, &fn, &error));
    ASSERT_EQ(fn.argCount, 2);
    ASSERT_NE(fn.expr, nullptr);
    EXPECT_EQ(fn.args[0]->value, 1.0);
    EXPECT_EQ(fn.args[1]->value, 1.0);
    fn.args[0]->value = 2.0;
    fn.args[1]->value = 3.0;
    Vexadrome::Actions::ExprValueCalculator calculator;
    calculator.bindTo(fn.expr);
    calculator.calculate(&error);
    EXPECT_EQ(calculator.get$values()[0], 123.0);
    calculator.cleanup();
    delete fn.expr;
    memory_free(fn.args);

    LinkedFn failed;
    Vexadrome::Parsing::Error unknown;
    EXPECT_FALSE(host.store.createLinkedFn(u"a + c"_str, names, 2, &failed, &unknown));
    EXPECT_EQ(unknown.code, ErrorCode::UnknownName);
    EXPECT_EQ(unknown.start, 4);
    EXPECT_EQ(failed.expr, nullptr);
    EXPECT_EQ(failed.args, nullptr);
    EXPECT_EQ(failed.argCount, 0);
}
