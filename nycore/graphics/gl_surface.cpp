// GLSurface over GLX: a child window of the chosen GLX visual fills the
// widget's window (input falls through to the widget, which selects it), and
// a GLX context draws into it. libGL is held open while surfaces exist.
#include "nycore/graphics/gl_surface.h"

#include <dlfcn.h>

#include <GL/gl.h>
#include <GL/glx.h>

#include <algorithm>
#include <vector>

#include "nycore/system/x_connection.h"
#include "nycore/system/x_widget_map.h"

using NyCore::System::Widget;
using NyCore::System::WidgetNative;
using NyCore::System::XConnection;

namespace NyCore::Graphics {

namespace {

using ColorFunction = void (*)(GLubyte, GLubyte, GLubyte);
using MakeCurrentFunction = Bool (*)(Display*, GLXDrawable, GLXContext);
using CreateContextFunction = GLXContext (*)(Display*, XVisualInfo*, GLXContext, Bool);
using DeleteContextFunction = void (*)(Display*, GLXContext);

struct GLLibrary {
    int surfaceCount = 0;
    void* handle = nullptr;
    ColorFunction color3ub = nullptr;
    MakeCurrentFunction makeCurrent = nullptr;
    CreateContextFunction createContext = nullptr;
    DeleteContextFunction deleteContext = nullptr;
    char const* name = "libGL.so.1";
};

GLLibrary library;

Display* display() { return XConnection::get$display(); }

// The attribute list of glXChooseVisual for the record. `level` 0 asks for
// everything, 1 drops the rarely offered buffers (accumulation, auxiliary,
// stencil), 2 keeps only the pixel type and double buffering.
std::vector<int> visualAttributes(GLSurface::GLInitilize const* params, int level)
{
    std::vector<int> list;
    if (!params->colorIndex)
        list.push_back(GLX_RGBA);
    if (params->doubleBuffer)
        list.push_back(GLX_DOUBLEBUFFER);
    list.insert(list.end(), {GLX_LEVEL, 0});
    if (level < 2) {
        int channel = static_cast<int>(std::min<std::uint32_t>(params->colorBits / 3, 8));
        if (params->colorIndex)
            list.insert(list.end(), {GLX_BUFFER_SIZE, static_cast<int>(params->colorBits)});
        else
            list.insert(list.end(), {GLX_RED_SIZE, channel, GLX_GREEN_SIZE, channel, GLX_BLUE_SIZE, channel});
        list.insert(list.end(), {GLX_ALPHA_SIZE, static_cast<int>(params->alphaBits), GLX_DEPTH_SIZE,
                                 static_cast<int>(params->depthBits)});
    }
    if (level < 1) {
        int accum = static_cast<int>(params->accumBits / 4);
        list.insert(list.end(), {GLX_STENCIL_SIZE, static_cast<int>(params->stencilBits), GLX_AUX_BUFFERS,
                                 static_cast<int>(params->auxBuffers), GLX_ACCUM_RED_SIZE, accum,
                                 GLX_ACCUM_GREEN_SIZE, accum, GLX_ACCUM_BLUE_SIZE, accum});
    }
    list.push_back(None);
    return list;
}

XVisualInfo* chooseVisual(GLSurface::GLInitilize const* params)
{
    GLSurface::GLInitilize rgba = *params;
    rgba.colorIndex = 0;
    // Colour-index visuals are rare under GLX; RGBA is the nearest kind.
    for (GLSurface::GLInitilize const* record : {params, const_cast<GLSurface::GLInitilize const*>(&rgba)}) {
        for (int level = 0; level < 3; ++level) {
            std::vector<int> attributes = visualAttributes(record, level);
            if (XVisualInfo* info = glXChooseVisual(display(), XConnection::get$screen(), attributes.data()))
                return info;
        }
    }
    return nullptr;
}

}

TypeData GLSurface::MetaData = {&Widget::MetaData, nullptr, u"NyCore.Graphics.GLSurface"_str, NoMethods, NoEvents,
                                &GLSurface::__create, sizeof(GLSurface), 0, nullptr};

Object* GLSurface::__create()
{
    return new GLSurface();
}

void GLSurface::startup()
{
    Type::registerType(&MetaData);
}

void GLSurface::shutdown()
{
    Type::unregisterType(&MetaData);
}

GLSurface::~GLSurface()
{
    if (renderingContext) {
        GLXContext context = static_cast<GLXContext>(renderingContext);
        if (glXGetCurrentContext() == context)
            library.makeCurrent(display(), None, nullptr);
        library.deleteContext(display(), context);
    }
    // A surface drawing into its own window finds it gone (window is 0) when
    // the window was destroyed first, and the drawing window went with it.
    if (deviceContext)
        WidgetNative::remove(static_cast<::Window>(deviceContext));
    if (deviceContext && (target != this || window))
        XDestroyWindow(display(), static_cast<::Window>(deviceContext));
    if (colormap)
        XFreeColormap(display(), static_cast<Colormap>(colormap));
    if (counted)
        releaseGlobalData();
}

bool GLSurface::initGlobalData()
{
    ++library.surfaceCount;
    if (library.handle)
        return true;
#ifdef VEXADROME_SANITIZE
    // Kept mapped to the end, so that the leak check can name the driver's own frames.
    library.handle = dlopen(library.name, RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE);
#else
    library.handle = dlopen(library.name, RTLD_NOW | RTLD_GLOBAL);
#endif
    if (library.handle) {
        library.color3ub = reinterpret_cast<ColorFunction>(dlsym(library.handle, "glColor3ub"));
        library.makeCurrent = reinterpret_cast<MakeCurrentFunction>(dlsym(library.handle, "glXMakeCurrent"));
        library.createContext = reinterpret_cast<CreateContextFunction>(dlsym(library.handle, "glXCreateContext"));
        library.deleteContext = reinterpret_cast<DeleteContextFunction>(dlsym(library.handle, "glXDestroyContext"));
        if (library.color3ub && library.makeCurrent && library.createContext && library.deleteContext)
            return true;
        dlclose(library.handle);
        library.handle = nullptr;
    }
    --library.surfaceCount;
    return false;
}

void GLSurface::releaseGlobalData()
{
    counted = false;
    if (--library.surfaceCount > 0)
        return;
    dlclose(library.handle);
    library.handle = nullptr;
    library.color3ub = nullptr;
    library.makeCurrent = nullptr;
    library.createContext = nullptr;
    library.deleteContext = nullptr;
}

int GLSurface::get$surfaceCount()
{
    return library.surfaceCount;
}

bool GLSurface::get$isLibraryLoaded()
{
    return library.handle != nullptr;
}

void GLSurface::set$libraryName(char const* name)
{
    library.name = name;
}

bool GLSurface::initilize(Widget* widget, GLInitilize const* params)
{
    if (counted || !widget || !widget->get$nativeWindow())
        return false;
    if (!initGlobalData())
        return false;
    counted = true;
    target = widget;
    surfaceWidth = std::max(widget->get$width(), 1);
    surfaceHeight = std::max(widget->get$height(), 1);
    XVisualInfo* info = chooseVisual(params);
    if (!info)
        return true;  // no pixel format: later drawing has no effect
    Display* d = display();
    Colormap map = XCreateColormap(d, XConnection::get$root(), info->visual, AllocNone);
    colormap = map;
    XSetWindowAttributes attributes = {};
    attributes.colormap = map;
    attributes.border_pixel = 0;
    attributes.background_pixmap = None;
    // Exposures of the drawing window repaint the widget it covers (onDraw);
    // all other input falls through to the widget's window.
    attributes.event_mask = ExposureMask;
    ::Window drawing = XCreateWindow(d, static_cast<::Window>(widget->get$nativeWindow()), 0, 0,
                                     static_cast<unsigned>(surfaceWidth), static_cast<unsigned>(surfaceHeight), 0,
                                     info->depth, InputOutput, info->visual,
                                     CWColormap | CWBorderPixel | CWBackPixmap | CWEventMask, &attributes);
    deviceContext = drawing;
    WidgetNative::add(drawing, widget);
    XMapWindow(d, drawing);
    renderingContext = library.createContext(d, info, nullptr, True);
    XFree(info);
    viewportStale = true;
    return true;
}

bool GLSurface::initilize(Widget*, bool)
{
    return false;
}

void GLSurface::followWidgetSize()
{
    if (!deviceContext || !target)
        return;
    int w = std::max(target->get$width(), 1);
    int h = std::max(target->get$height(), 1);
    if (w == surfaceWidth && h == surfaceHeight)
        return;
    surfaceWidth = w;
    surfaceHeight = h;
    XResizeWindow(display(), static_cast<::Window>(deviceContext), static_cast<unsigned>(w),
                  static_cast<unsigned>(h));
    viewportStale = true;
}

bool GLSurface::onResize(int dw, int dh)
{
    bool redraw = Widget::onResize(dw, dh);
    if (target == this)
        followWidgetSize();
    return redraw;
}

void GLSurface::activate()
{
    if (!renderingContext)
        return;
    followWidgetSize();
    library.makeCurrent(display(), static_cast<GLXDrawable>(deviceContext), static_cast<GLXContext>(renderingContext));
    if (viewportStale) {
        glViewport(0, 0, surfaceWidth, surfaceHeight);
        viewportStale = false;
    }
}

void GLSurface::deactivate()
{
    if (library.makeCurrent)
        library.makeCurrent(display(), None, nullptr);
}

void GLSurface::swapBuffers()
{
    if (deviceContext)
        glXSwapBuffers(display(), static_cast<GLXDrawable>(deviceContext));
}

void GLSurface::setColor(std::uint32_t rgb)
{
    if (library.color3ub)
        library.color3ub(static_cast<GLubyte>(rgb >> 16), static_cast<GLubyte>(rgb >> 8), static_cast<GLubyte>(rgb));
}

}
