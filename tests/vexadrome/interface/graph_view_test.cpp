// The graph view in a window on the test display, drawn by Mesa: each mode
// puts its colour on screen, samples that are not finite leave a gap, the
// camera turns under the arrow keys, a drag and the wheel, lights move and
// mark the document, the animation timer samples time again, and the
// off-screen image is the picture the view shows.
#include "vexadrome/interface/equation_graph_view.h"

#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <X11/extensions/XTest.h>

#include <cmath>
#include <string>

#include "tests/support/screenshots.h"
#include "tests/vexadrome/interface/view_test_host.h"
#include "vexadrome/interface/graph_image.h"

using TestSupport::OwnedString;
namespace ExprMaterial = Vexadrome::Documents::ExprMaterial;
namespace ExprRendMode = Vexadrome::Documents::ExprRendMode;
using Vexadrome::Documents::GraphDoc;
using Vexadrome::Documents::GraphExpr;
using Vexadrome::Interface::EquationGraphView;
using Vexadrome::Interface::RenderGraphGL;

namespace {

constexpr int Width = ViewTests::WindowHost::Width, Height = ViewTests::WindowHost::Height;

// A table colour as the screen shows it.
std::uint32_t screenColor(int index)
{
    float const* c = RenderGraphGL::ColorTable[index];
    auto channel = [](float v) { return static_cast<std::uint32_t>(std::lround(v * 255.0f)); };
    return channel(c[0]) << 16 | channel(c[1]) << 8 | channel(c[2]);
}

class GraphViewTest : public TestSupport::WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        TestSupport::registerOnce(&EquationGraphView::MetaData);
        graph = new GraphDoc(&host);
        graph->set$title(OwnedString(u"Graph1"));
    }
    void TearDown() override
    {
        host.closeAll();
        delete graph;
    }

    // Variables x and y over -5 ... 5, ten steps each (or only x).
    void variables(int count)
    {
        graph->resetVariables(count);
        graph->updateVariable(0, OwnedString(u"x"), -5.0, 5.0, 10, 10);
        if (count > 1)
            graph->updateVariable(1, OwnedString(u"y"), -5.0, 5.0, 10, 10);
    }
    GraphExpr* add(char16_t const* text, ExprRendMode::Enum mode, std::int32_t color,
                   ExprMaterial::Enum material = ExprMaterial::Flat)
    {
        auto* expr = new GraphExpr(graph);
        expr->set$exprString(OwnedString(text));
        expr->rendMode = mode;
        expr->color = color;
        expr->material = material;
        graph->appendExpr(expr);
        return expr;
    }
    EquationGraphView* show()
    {
        for (auto const& error : graph->compileExprs())
            EXPECT_FALSE(error.hasCode()) << "an expression did not compile";
        view = dynamic_cast<EquationGraphView*>(graph->createDefaultView());
        EXPECT_NE(view, nullptr);
        ViewTests::settle();
        return view;
    }
    std::vector<std::uint32_t> pixels() { return TestSupport::readPixels(view->get$nativeWindow(), 0, 0, Width, Height); }
    // Pixels of the colour in the columns [left, right).
    int count(std::uint32_t rgb, int left = 0, int right = Width)
    {
        std::vector<std::uint32_t> const all = pixels();
        int n = 0;
        for (int y = 0; y < Height; ++y)
            for (int x = left; x < right; ++x)
                n += all[static_cast<std::size_t>(y) * Width + x] == rgb;
        return n;
    }
    // The view's eye, to a float's precision.
    void expectEye(double x, double y, double z, char const* what)
    {
        float const* eye = view->get$eye();
        EXPECT_NEAR(eye[0], x, 1e-4) << what;
        EXPECT_NEAR(eye[1], y, 1e-4) << what;
        EXPECT_NEAR(eye[2], z, 1e-4) << what;
    }

    ViewTests::WindowHost host;
    GraphDoc* graph = nullptr;
    EquationGraphView* view = nullptr;
};

TEST_F(GraphViewTest, EachModeDrawsInItsColourAndSamplesThatAreNotFiniteLeaveAGap)
{
    struct Case {
        char const* name;
        int variables;
        char16_t const* text;
        ExprRendMode::Enum mode;
        ExprMaterial::Enum material;
    } const cases[] = {
        {"curve", 1, u"x", ExprRendMode::Filled, ExprMaterial::Flat},
        {"wireframe", 2, u"x * y / 5", ExprRendMode::Wireframe, ExprMaterial::Flat},
        {"flat surface", 2, u"x * y / 5", ExprRendMode::Filled, ExprMaterial::Flat},
        {"lit surface", 2, u"x * y / 5", ExprRendMode::Filled, ExprMaterial::Metal},
        {"points", 2, u"x * y / 5", ExprRendMode::Points, ExprMaterial::Flat},
        // The square root of negative x is no number: nothing is drawn left of the y axis.
        {"half wireframe", 2, u"sqrt(x) * y", ExprRendMode::Wireframe, ExprMaterial::Flat},
        {"half surface", 2, u"sqrt(x) * y", ExprRendMode::Filled, ExprMaterial::Flat},
    };
    int const colour = 5;
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        host.closeAll();
        graph->resetExprs();
        variables(c.variables);
        add(c.text, c.mode, colour, c.material);
        show();
        view->onToggleAxes();
        std::uint32_t const background = screenColor(graph->background);
        if (c.material == ExprMaterial::Flat) {
            EXPECT_GT(count(screenColor(colour)), 10) << "the expression's colour is on screen";
        } else {
            int const lit = Width * Height - count(background);
            EXPECT_GT(lit, 1000) << "the lit surface covers the middle";
            EXPECT_EQ(count(screenColor(colour)), 0) << "lighting shades the colour";
        }
        if (std::u16string(c.text).find(u"sqrt") != std::u16string::npos) {
            EXPECT_EQ(count(screenColor(colour), 0, Width / 2 - 2), 0) << "left of the axis";
            EXPECT_GT(count(screenColor(colour), Width / 2 + 2, Width), 10) << "right of the axis";
        }
    }
    TestSupport::saveScreenshot(view->get$nativeWindow(), "graph_view_half_surface");
}

TEST_F(GraphViewTest, TheCameraTurnsUnderKeysDragAndWheelAndLightsMarkTheDocument)
{
    variables(2);
    add(u"x * y / 5", ExprRendMode::Wireframe, 1);
    show();
    double const r = 20.0, step = EquationGraphView::AngleStep;
    expectEye(0, 0, r, "a fresh view looks from +Z");
    std::vector<std::uint32_t> const before = pixels();

    // Left turns the eye about the Y axis by one step.
    TestSupport::tap(XK_Left);
    ViewTests::settle();
    expectEye(r * std::sin(step), 0, r * std::cos(step), "Left");
    EXPECT_NE(pixels(), before) << "the picture turned";
    TestSupport::tap(XK_Right);
    ViewTests::settle();
    expectEye(0, 0, r, "Right turns back");

    // Up again and again stops with the eye overhead and a level up vector.
    for (int i = 0; i < 40; ++i)
        TestSupport::tap(XK_Up);
    ViewTests::settle();
    expectEye(0, r, 0, "overhead");
    EXPECT_NEAR(std::fabs(view->get$up()[0]) + std::fabs(view->get$up()[2]), 1.0, 1e-6);
    EXPECT_EQ(view->get$up()[1], 0.0f);
    view->onGotoXY();
    expectEye(0, 0, r, "the XY plane preset");

    // A drag moves nothing until it has gone more than five pixels along an axis.
    Display* d = TestSupport::display();
    TestSupport::pointerTo(view, 100, 100);
    XTestFakeButtonEvent(d, 1, True, CurrentTime);
    TestSupport::pointerTo(view, 105, 100);
    ViewTests::settle();
    expectEye(0, 0, r, "five pixels");
    TestSupport::pointerTo(view, 106, 100);
    ViewTests::settle();
    expectEye(0, 0, r, "the sixth engages");
    TestSupport::pointerTo(view, 116, 100);
    XTestFakeButtonEvent(d, 1, False, CurrentTime);
    ViewTests::settle();
    double const turned = 10 * step;
    expectEye(-r * std::sin(turned), 0, r * std::cos(turned), "ten pixels more turn ten steps");

    // One wheel notch towards the user moves away by half a unit; one away comes back.
    view->onGotoXY();
    TestSupport::pointerTo(view, 200, 200);
    TestSupport::click(5);
    ViewTests::settle();
    expectEye(0, 0, r + EquationGraphView::WheelStep, "towards the user");
    TestSupport::click(4);
    ViewTests::settle();
    expectEye(0, 0, r, "away from the user");
    view->onScrollWheel(0);
    expectEye(0, 0, r, "no notches, no move");
    // Moving anything but the camera shows the red position selector: the
    // meridian through light 0 and a cross at it.
    std::uint32_t const selector = 0xFF0000;
    EXPECT_EQ(count(selector), 0) << "no selector while the camera moves";
    graph->lights[0].x = graph->lights[0].y = 4.0f;
    graph->lights[0].z = 0.0f;
    view->onMoveLights();
    EXPECT_GT(count(selector), 100) << "the selector at light 0";
    view->onMoveCamera();
    EXPECT_EQ(count(selector), 0);
    view->onGotoZX();
    expectEye(0, r, 0, "the ZX plane preset");
    EXPECT_EQ(view->get$up()[0], 1.0f);

    // In light mode "3" picks light 2; moving it changes the document's light and marks it modified.
    view->onMoveLights();
    TestSupport::tap(XK_3);
    ViewTests::settle();
    EXPECT_EQ(view->get$selectedLight(), 2);
    EXPECT_NEAR(view->get$moveDistance(), 20.0, 1e-9) << "light 2 stands at (0, 0, 20)";
    EXPECT_FALSE(graph->get$isModified());
    TestSupport::tap(XK_Left);
    ViewTests::settle();
    EXPECT_NEAR(graph->lights[2].x, -20.0 * std::sin(step), 1e-4);
    EXPECT_NEAR(graph->lights[2].z, 20.0 * std::cos(step), 1e-4);
    EXPECT_TRUE(graph->get$isModified()) << "a moved light is a change to save";
}

TEST_F(GraphViewTest, TheTimerSamplesTimeAgainAndStopsWithTheExpression)
{
    variables(2);
    GraphExpr* wave = add(u"sin(x + dtor(360)*time(1))", ExprRendMode::Wireframe, 1);
    graph->frameRate = 50;
    show();
    ASSERT_TRUE(view->get$hasTimer());
    EXPECT_EQ(view->get$timer()->interval, 1000u / 50u);
    double const first = wave->points[1];
    EXPECT_TRUE(TestSupport::runUntil([&] { return wave->points[1] != first; })) << "time moves the samples";

    // Hiding pauses the timer, showing starts it again.
    view->hide();
    EXPECT_EQ(view->get$timer()->id, 0u);
    view->show();
    EXPECT_NE(view->get$timer()->id, 0u);

    // Renamed away, the variable is unknown: the expression fails, uses no time, and the timer goes.
    graph->updateVariable(0, OwnedString(u"u"), -5.0, 5.0, 10, 10);
    Vexadrome::Parsing::Error error;
    EXPECT_EQ(graph->bindAllExprs(&error), 0);
    EXPECT_FALSE(wave->usesTime);
    view->refresh();
    EXPECT_FALSE(view->get$hasTimer());
    // A view without a timer shows and hides without one.
    view->hide();
    view->show();
    EXPECT_FALSE(view->get$hasTimer());
    ViewTests::settle();
}

TEST_F(GraphViewTest, TheOffScreenImageIsThePictureTheViewShows)
{
    variables(2);
    add(u"x * y / 5", ExprRendMode::Filled, 3, ExprMaterial::Plastic);
    add(u"x - y", ExprRendMode::Wireframe, 6);
    show();
    std::vector<std::uint32_t> const onScreen = pixels();
    Vexadrome::Interface::GraphCamera camera;
    camera.width = Width;
    camera.height = Height;
    std::vector<std::uint32_t> offScreen;
    NyCore::String* reason = nullptr;
    ASSERT_TRUE(Vexadrome::Interface::GraphImage::render(graph, camera, &offScreen, &reason))
        << TestSupport::toUtf8(OwnedString(reason));
    ASSERT_EQ(offScreen.size(), onScreen.size());
    // The depth buffers differ in precision, so an edge pixel may differ.
    int differing = 0;
    for (std::size_t i = 0; i < onScreen.size(); ++i)
        differing += onScreen[i] != offScreen[i];
    EXPECT_LT(differing, Width * Height / 100) << "of " << Width * Height << " pixels";
    EXPECT_GT(Width * Height - static_cast<int>(std::count(offScreen.begin(), offScreen.end(), screenColor(14))), 1000)
        << "something was drawn";
}

}
