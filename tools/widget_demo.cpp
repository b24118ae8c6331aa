// widget_demo: a window that shows the native widget layer at work before
// the toolkit exists: plain widgets drawing text, shapes and icons, and a
// child OpenGL surface with a spinning lit cube. `--screenshot FILE.png`
// saves the whole window after a few frames and exits.
#include <GL/gl.h>
#include <GL/glu.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "nycore/graphics/font.h"
#include "nycore/graphics/gc_text.h"
#include "nycore/graphics/gl_surface.h"
#include "nycore/graphics/icon_strip.h"
#include "nycore/graphics/pixel_io.h"
#include "nycore/system/event_loop.h"
#include "nycore/system/runtime.h"
#include "nycore/system/timer.h"
#include "nycore/system/widget.h"
#include "nycore/text/string_functions.h"

using namespace NyCore;
using namespace NyCore::Graphics;
using namespace NyCore::System;

namespace {

constexpr int FramesBeforeScreenshot = 12;

IconStrip colorIcons = {};
bool iconsLoaded = false;

// Text and shapes through the drawing context.
class ShapesPanel : public Widget {
    NY_REFLECTIVE(ShapesPanel)
public:
    static Object* __create() { return new ShapesPanel(); }

    void onDraw(GC* gc) override
    {
        Font* title = Font::create(u"arial"_str, 16, Font::Bold);
        gc_set_font(gc, title);
        title->release();
        gc_set_foreground(gc, 0x202060);
        gc_simple_string(gc, u"Native widgets on X11"_str, 8, 6, 0);
        gc_set_font(gc, Font::create(u"arial"_str, 12, Font::Regular));
        gc->font->release();
        gc_set_foreground(gc, 0x000000);
        gc_string(gc, u"Shapes, text and icons are drawn through the GC; the cube is OpenGL."_str, 8, 30, width - 16,
                  36, TextFlags::WordWrap);

        gc_set_line_width(gc, 2);
        gc_set_background(gc, 0xF0C040);
        gc_rect(gc, 10, 74, 60, 40);
        gc_set_background(gc, 0x40A0E0);
        gc_ellipse(gc, 84, 74, 60, 40);
        gc_set_background(gc, 0xE05050);
        gc_arc_fill(gc, 158, 74, 40, 40, 125, 875);
        Point triangle[] = {{230, 114}, {260, 74}, {290, 114}};
        gc_set_background(gc, 0x60C060);
        gc_polygon(gc, triangle, 3);
        gc_set_foreground(gc, 0x806020);
        for (int i = 0; i <= 8; ++i)
            gc_line(gc, 150, 226, 10 + i * 35, 130);
    }
};
TypeData ShapesPanel::MetaData = {&Widget::MetaData, nullptr, u"Demo.ShapesPanel"_str, NoMethods, NoEvents,
                                  &ShapesPanel::__create, sizeof(ShapesPanel), 0, nullptr};

// A row of the colour swatches from colors.icons, with a caption.
class IconRow : public Widget {
    NY_REFLECTIVE(IconRow)
public:
    static Object* __create() { return new IconRow(); }

    void onDraw(GC* gc) override
    {
        gc_set_foreground(gc, 0x404040);
        gc_simple_string(gc, u"colors.icons:"_str, 6, 8, 0);
        if (!iconsLoaded)
            return;
        for (int i = 0; i < colorIcons.count && i < 14; ++i)
            gc_copy_icon(gc, 96 + i * 20, 6, &colorIcons, i, IconOpaque);
        gc_stretch_icon(gc, width - 40, 2, 32, 32, &colorIcons, 2, IconOpaque);
    }
};
TypeData IconRow::MetaData = {&Widget::MetaData, nullptr, u"Demo.IconRow"_str, NoMethods, NoEvents,
                              &IconRow::__create, sizeof(IconRow), 0, nullptr};

struct Demo {
    Widget* top = nullptr;
    GLSurface* cube = nullptr;
    Timer timer = {};
    int frame = 0;
    std::string screenshot;
    bool saved = false;
};

Demo demo;

void drawCube(GLSurface* surface, float angle)
{
    surface->activate();
    glClearColor(0.08f, 0.1f, 0.18f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_NORMALIZE);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(40, double(surface->get$width()) / std::max(surface->get$height(), 1), 0.5, 20);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    GLfloat light[] = {-2, 3, 4, 0};
    GLfloat ambient[] = {0.3f, 0.3f, 0.3f, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_POSITION, light);
    gluLookAt(0, 0, 7, 0, 0, 0, 0, 1, 0);
    glRotatef(25 + angle * 0.5f, 1, 0, 0);
    glRotatef(35 + angle, 0, 1, 0);

    struct Face {
        std::uint32_t color;
        float normal[3];
        float corners[4][3];
    };
    static Face const faces[] = {
        {0xE04040, {0, 0, 1}, {{-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}}},
        {0x40C040, {0, 0, -1}, {{-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}, {1, -1, -1}}},
        {0x4060E0, {1, 0, 0}, {{1, -1, -1}, {1, 1, -1}, {1, 1, 1}, {1, -1, 1}}},
        {0xE0C040, {-1, 0, 0}, {{-1, -1, -1}, {-1, -1, 1}, {-1, 1, 1}, {-1, 1, -1}}},
        {0x40C0C0, {0, 1, 0}, {{-1, 1, -1}, {-1, 1, 1}, {1, 1, 1}, {1, 1, -1}}},
        {0xC040C0, {0, -1, 0}, {{-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1}}},
    };
    glBegin(GL_QUADS);
    for (Face const& face : faces) {
        surface->setColor(face.color);
        glNormal3fv(face.normal);
        for (auto const& corner : face.corners)
            glVertex3fv(corner);
    }
    glEnd();
    surface->swapBuffers();
    glFinish();
    surface->deactivate();
}

void saveScreenshot()
{
    int w = demo.top->get$width();
    int h = demo.top->get$height();
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * h);
    pixels_read(demo.top->get$nativeWindow(), 0, 0, w, h, pixels.data());
    String* path = string_from_utf8(demo.screenshot.c_str(), static_cast<int>(demo.screenshot.size()));
    if (!pixels_save_png(pixels.data(), w, h, path))
        std::fprintf(stderr, "widget_demo: cannot write %s\n", demo.screenshot.c_str());
    string_free(path);
}

void onFrame(Widget*)
{
    ++demo.frame;
    drawCube(demo.cube, demo.frame * 4.0f);
    if (!demo.screenshot.empty() && demo.frame == FramesBeforeScreenshot) {
        saveScreenshot();
        demo.top->close();
    }
}

std::string iconFolder()
{
    char self[4096] = {};
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string path = n > 0 ? std::string(self, static_cast<std::size_t>(n)) : std::string("./widget_demo");
    return path.substr(0, path.rfind('/') + 1) + "icons/";
}

int run(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--screenshot") && i + 1 < argc)
            demo.screenshot = argv[++i];
    }
    Type::registerType(&ShapesPanel::MetaData);
    Type::registerType(&IconRow::MetaData);
    GLSurface::startup();

    std::string icons = iconFolder() + "colors.icons";
    if (access(icons.c_str(), R_OK) == 0) {
        String* path = string_from_utf8(icons.c_str(), static_cast<int>(icons.size()));
        icons_load(&colorIcons, path);
        string_free(path);
        iconsLoaded = true;
    }

    demo.top = Widget::create(nullptr, u"NyCore.System.Widget", WidgetFlags::TopLevel | WidgetFlags::Resizeable |
                              WidgetFlags::Hidden, 60, 60, 520, 300);
    demo.top->setCaption(u"Widget demo"_str);
    demo.top->set$background(0xE8E8E8);
    Widget* shapes = Widget::create(demo.top, u"Demo.ShapesPanel", WidgetFlags::AnchorHeight, 10, 10, 300, 236);
    shapes->set$background(0xFFFFFF);
    Widget* row = Widget::create(demo.top, u"Demo.IconRow", WidgetFlags::AnchorBottom | WidgetFlags::AnchorWidth, 10,
                                 254, 500, 36);
    row->set$background(0xF8F8F0);
    demo.cube = static_cast<GLSurface*>(Widget::create(demo.top, u"NyCore.Graphics.GLSurface",
                                                       WidgetFlags::AnchorWidth | WidgetFlags::AnchorHeight, 320, 10,
                                                       190, 236));
    GLSurface::GLInitilize params = {24, 16, 0, 0, 0, 0, 0, 0, 1};
    if (!demo.cube->initilize(demo.cube, &params))
        std::fprintf(stderr, "widget_demo: no OpenGL library\n");
    demo.top->show();

    timer_construct(&demo.timer, demo.cube, &onFrame, 40, 0);
    int code = EventLoop::execute(demo.top);
    timer_destroy(&demo.timer);
    if (iconsLoaded)
        icons_destroy(&colorIcons);
    GLSurface::shutdown();
    return code;
}

}

int main(int argc, char** argv)
{
    Runtime::initilize();
    int code = run(argc, argv);
    Runtime::shutdown();
    return code;
}
