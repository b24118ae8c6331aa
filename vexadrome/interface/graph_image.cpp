// Off-screen graph images through EGL on Mesa's surfaceless platform: no X
// display is needed. The frame is drawn into a framebuffer object of the
// image's size by the same renderer the graph view uses, then read back.
#include "vexadrome/interface/graph_image.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <string>

#include "nycore/graphics/pixel_io.h"
#include "nycore/text/string_functions.h"

namespace Vexadrome::Interface::GraphImage {

namespace {

NyCore::String* text(char const* message)
{
    return string_from_ascii(message);
}

// The framebuffer entry points, which GL 1.1 headers do not declare for linking.
struct FramebufferCalls {
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer;
    PFNGLGENRENDERBUFFERSPROC genRenderbuffers;
    PFNGLBINDRENDERBUFFERPROC bindRenderbuffer;
    PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus;
    PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers;
    PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers;

    bool load()
    {
        genFramebuffers = reinterpret_cast<PFNGLGENFRAMEBUFFERSPROC>(eglGetProcAddress("glGenFramebuffers"));
        bindFramebuffer = reinterpret_cast<PFNGLBINDFRAMEBUFFERPROC>(eglGetProcAddress("glBindFramebuffer"));
        genRenderbuffers = reinterpret_cast<PFNGLGENRENDERBUFFERSPROC>(eglGetProcAddress("glGenRenderbuffers"));
        bindRenderbuffer = reinterpret_cast<PFNGLBINDRENDERBUFFERPROC>(eglGetProcAddress("glBindRenderbuffer"));
        renderbufferStorage =
            reinterpret_cast<PFNGLRENDERBUFFERSTORAGEPROC>(eglGetProcAddress("glRenderbufferStorage"));
        framebufferRenderbuffer =
            reinterpret_cast<PFNGLFRAMEBUFFERRENDERBUFFERPROC>(eglGetProcAddress("glFramebufferRenderbuffer"));
        checkFramebufferStatus =
            reinterpret_cast<PFNGLCHECKFRAMEBUFFERSTATUSPROC>(eglGetProcAddress("glCheckFramebufferStatus"));
        deleteRenderbuffers =
            reinterpret_cast<PFNGLDELETERENDERBUFFERSPROC>(eglGetProcAddress("glDeleteRenderbuffers"));
        deleteFramebuffers = reinterpret_cast<PFNGLDELETEFRAMEBUFFERSPROC>(eglGetProcAddress("glDeleteFramebuffers"));
        return genFramebuffers && bindFramebuffer && genRenderbuffers && bindRenderbuffer && renderbufferStorage &&
               framebufferRenderbuffer && checkFramebufferStatus && deleteRenderbuffers && deleteFramebuffers;
    }
};

// An EGL display and a desktop OpenGL context current without a surface;
// everything is released when it goes.
class OffscreenContext {
public:
    OffscreenContext() = default;
    ~OffscreenContext()
    {
        if (display != EGL_NO_DISPLAY) {
            eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
            if (context != EGL_NO_CONTEXT)
                eglDestroyContext(display, context);
            eglTerminate(display);
            eglReleaseThread();
        }
    }
    OffscreenContext(OffscreenContext const&) = delete;
    OffscreenContext& operator=(OffscreenContext const&) = delete;

    char const* open()
    {
        auto getPlatformDisplay =
            reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
        if (!getPlatformDisplay)
            return "EGL offers no platform displays";
        display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        EGLint major = 0, minor = 0;
        if (display == EGL_NO_DISPLAY || !eglInitialize(display, &major, &minor)) {
            display = EGL_NO_DISPLAY;
            return "no surfaceless EGL display (Mesa's libegl-mesa0 is needed)";
        }
        EGLint const attributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
        EGLConfig config = nullptr;
        EGLint count = 0;
        if (!eglChooseConfig(display, attributes, &config, 1, &count) || count < 1)
            return "no EGL configuration for desktop OpenGL";
        if (!eglBindAPI(EGL_OPENGL_API))
            return "EGL cannot bind desktop OpenGL";
        context = eglCreateContext(display, config, EGL_NO_CONTEXT, nullptr);
        if (context == EGL_NO_CONTEXT)
            return "no OpenGL context could be created";
        if (!eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context))
            return "the OpenGL context cannot be made current without a surface";
        return nullptr;
    }

private:
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLContext context = EGL_NO_CONTEXT;
};

}

bool render(Documents::GraphDoc* graph, GraphCamera const& camera, std::vector<std::uint32_t>* pixels,
            NyCore::String** reason)
{
    int const w = camera.width, h = camera.height;
    if (w < 1 || h < 1 || w > MaxSide || h > MaxSide) {
        std::string const side = std::to_string(MaxSide);
        *reason = text(("the image size must lie within 1 x 1 ... " + side + " x " + side).c_str());
        return false;
    }
    OffscreenContext context;
    if (char const* failure = context.open()) {
        *reason = text(failure);
        return false;
    }
    FramebufferCalls calls;
    if (!calls.load()) {
        *reason = text("the OpenGL driver has no framebuffer objects");
        return false;
    }
    GLuint framebuffer = 0, buffers[2] = {0, 0};
    calls.genFramebuffers(1, &framebuffer);
    calls.bindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    calls.genRenderbuffers(2, buffers);
    calls.bindRenderbuffer(GL_RENDERBUFFER, buffers[0]);
    calls.renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, w, h);
    calls.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, buffers[0]);
    calls.bindRenderbuffer(GL_RENDERBUFFER, buffers[1]);
    calls.renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, w, h);
    calls.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, buffers[1]);
    bool const complete = calls.checkFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    if (complete) {
        RenderGraphGL::initState(w, h);
        RenderGraphGL renderer;
        renderer.bindGraph(graph);
        renderer.drawFrame(camera);
        readPixels(w, h, pixels);
    }
    calls.bindFramebuffer(GL_FRAMEBUFFER, 0);
    calls.deleteRenderbuffers(2, buffers);
    calls.deleteFramebuffers(1, &framebuffer);
    if (!complete)
        *reason = text("the off-screen framebuffer is incomplete");
    return complete;
}

void readPixels(int w, int h, std::vector<std::uint32_t>* pixels)
{
    glFinish();
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    pixels->assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
    // OpenGL's rows run bottom to top.
    for (int y = 0; y < h; ++y) {
        std::uint8_t const* row = rgba.data() + static_cast<std::size_t>(h - 1 - y) * w * 4;
        for (int x = 0; x < w; ++x) {
            std::uint8_t const* p = row + x * 4;
            (*pixels)[static_cast<std::size_t>(y) * w + x] = (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
        }
    }
}

bool save(Documents::GraphDoc* graph, int width, int height, NyCore::String const* path, NyCore::String** reason)
{
    GraphCamera camera;
    camera.width = width;
    camera.height = height;
    std::vector<std::uint32_t> pixels;
    if (!render(graph, camera, &pixels, reason))
        return false;
    if (!pixels_save_png(pixels.data(), width, height, path)) {
        *reason = text("the PNG file cannot be written");
        return false;
    }
    return true;
}

}
