// OpenGL surfaces on a real X server: clearing to a known colour (read back
// from the screen), setColor's byte order, the library's lifetime, and a
// child surface that follows its anchored size.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <link.h>

#include <cmath>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "nycore/graphics/gl_surface.h"
#include "tests/support/run_until.h"
#include "tests/support/windows.h"

using namespace NyCore;
using namespace NyCore::System;
using NyCore::Graphics::GLSurface;

namespace {

using TestSupport::mapped;
using TestSupport::runUntil;

// The GL entry points the tests call, taken from the libGL the core loaded.
constexpr unsigned ColorBufferBit = 0x4000;
constexpr unsigned Viewport = 0x0BA2;
constexpr unsigned CurrentColor = 0x0B00;

template <typename Function>
Function gl(char const* name)
{
    auto function = reinterpret_cast<Function>(dlsym(RTLD_DEFAULT, name));
    EXPECT_NE(function, nullptr) << name;
    return function;
}

void clearTo(std::uint32_t rgb)
{
    gl<void (*)(float, float, float, float)>("glClearColor")(((rgb >> 16) & 0xFF) / 255.0f,
                                                             ((rgb >> 8) & 0xFF) / 255.0f, (rgb & 0xFF) / 255.0f, 1);
    gl<void (*)(unsigned)>("glClear")(ColorBufferBit);
    gl<void (*)()>("glFinish")();
}

#ifdef VEXADROME_SANITIZE
// Mesa's own libraries stay mapped to the end of the program (Mesa unloads
// its driver with the display), so that the leak check can name their frames
// in its suppressions (nycore/system/sanitizer_hooks.h).
void keepMesaLoaded()
{
    void* glx = dlopen("libGLX_mesa.so.0", RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE);
    link_map* map = nullptr;
    if (!glx || dlinfo(glx, RTLD_DI_LINKMAP, &map) != 0)
        return;
    std::string folder(map->l_name);
    folder.erase(folder.find_last_of('/') + 1);
    for (char const* driver : {"dri/swrast_dri.so", "dri/kms_swrast_dri.so"})
        dlopen((folder + driver).c_str(), RTLD_NOW | RTLD_NODELETE);
}
#endif

GLSurface::GLInitilize const Params = {24, 16, 0, 0, 0, 0, 0, 0, 1};

class GLSurfaceWindowTest : public TestSupport::WindowTest {
protected:
    static void SetUpTestSuite()
    {
#ifdef VEXADROME_SANITIZE
        keepMesaLoaded();
#endif
        GLSurface::startup();
    }
    static void TearDownTestSuite()
    {
        GLSurface::shutdown();
    }

    Widget* window(int w, int h) { return TestSupport::topWindow(w, h); }
    GLSurface* surface(Widget* parent, std::uint32_t flags, int x, int y, int w, int h)
    {
        auto* result = static_cast<GLSurface*>(Widget::create(parent, u"NyCore.Graphics.GLSurface", flags, x, y, w, h));
        EXPECT_TRUE(result->initilize(result, &Params));
        return result;
    }
};

}

TEST_F(GLSurfaceWindowTest, ClearsToAKnownColour)
{
    Widget* top = window(120, 90);
    GLSurface* gls = surface(top, 0, 10, 10, 60, 40);
    EXPECT_FALSE(gls->initilize(gls, true));
    EXPECT_FALSE(gls->initilize(gls, &Params)) << "a surface is set up once";
    ASSERT_TRUE(runUntil([&] { return mapped(gls); }));

    gls->activate();
    clearTo(0x3366CC);
    gls->swapBuffers();
    EXPECT_TRUE(runUntil([&] { return TestSupport::pixelAt(top->get$nativeWindow(), 10, 10) == 0x3366CCu; }));
    EXPECT_EQ(TestSupport::pixelAt(top->get$nativeWindow(), 69, 49), 0x3366CCu);
    EXPECT_NE(TestSupport::pixelAt(top->get$nativeWindow(), 70, 50), 0x3366CCu) << "nothing drawn outside the surface";

    // The colour given and the red, green and blue OpenGL is set to; the top byte is ignored.
    std::pair<std::uint32_t, std::vector<long>> const cases[] = {
        {0xFF8000, {255, 128, 0}},
        {0x123456, {0x12, 0x34, 0x56}},
        {0xAB0000FF, {0, 0, 255}},
    };
    auto getFloats = gl<void (*)(unsigned, float*)>("glGetFloatv");
    for (auto const& [rgb, expected] : cases) {
        gls->setColor(rgb);
        float color[4] = {};
        getFloats(CurrentColor, color);
        EXPECT_EQ((std::vector<long>{std::lround(color[0] * 255), std::lround(color[1] * 255), std::lround(color[2] * 255)}),
                  expected) << std::hex << rgb;
    }
    gls->deactivate();
    top->close();
}

TEST_F(GLSurfaceWindowTest, LibraryLivesAsLongAsItsSurfaces)
{
    Widget* top = window(100, 50);
    ASSERT_EQ(GLSurface::get$surfaceCount(), 0);
    EXPECT_FALSE(GLSurface::get$isLibraryLoaded());

    GLSurface::set$libraryName("libNoSuchGLLibrary.so");
    auto* missing = static_cast<GLSurface*>(Widget::create(top, u"NyCore.Graphics.GLSurface", 0, 0, 0, 10, 10));
    EXPECT_FALSE(missing->initilize(missing, &Params));
    EXPECT_EQ(GLSurface::get$surfaceCount(), 0);
    EXPECT_FALSE(GLSurface::get$isLibraryLoaded());
    GLSurface::set$libraryName("libGL.so.1");
    missing->close();

    GLSurface* first = surface(top, 0, 0, 0, 40, 40);
    GLSurface* second = surface(top, 0, 50, 0, 40, 40);
    EXPECT_EQ(GLSurface::get$surfaceCount(), 2);
    first->close();
    EXPECT_EQ(GLSurface::get$surfaceCount(), 1);
    EXPECT_TRUE(GLSurface::get$isLibraryLoaded());
    second->close();
    EXPECT_EQ(GLSurface::get$surfaceCount(), 0);
    EXPECT_FALSE(GLSurface::get$isLibraryLoaded());
    top->close();
}

TEST_F(GLSurfaceWindowTest, AnchoredChildSurfaceFollowsItsParent)
{
    Widget* top = window(100, 80);
    GLSurface* gls = surface(top, WidgetFlags::AnchorWidth | WidgetFlags::AnchorHeight, 10, 10, 50, 40);
    ASSERT_TRUE(runUntil([&] { return mapped(gls); }));
    gls->activate();
    clearTo(0xFF0000);
    gls->swapBuffers();

    top->setSize(160, 120);
    EXPECT_EQ(std::tuple(gls->get$width(), gls->get$height()), std::tuple(110, 80));

    gls->activate();
    int viewport[4] = {};
    gl<void (*)(unsigned, int*)>("glGetIntegerv")(Viewport, viewport);
    EXPECT_EQ(std::vector<int>(viewport, viewport + 4), (std::vector<int>{0, 0, 110, 80}));
    clearTo(0x00FF00);
    gls->swapBuffers();
    EXPECT_TRUE(runUntil([&] { return TestSupport::pixelAt(top->get$nativeWindow(), 119, 89) == 0x00FF00u; })) << "the new corner is cleared";
    EXPECT_EQ(TestSupport::pixelAt(top->get$nativeWindow(), 10, 10), 0x00FF00u);
    EXPECT_NE(TestSupport::pixelAt(top->get$nativeWindow(), 120, 90), 0x00FF00u);
    gls->deactivate();
    top->close();
}
