// GLSurface: an OpenGL drawing target over a widget's window. The surface
// is itself a widget (usually the one it draws into); the caller draws
// between activate and swapBuffers. The GL library is held while any surface lives.
#pragma once

#include <cstdint>

#include "nycore/system/widget.h"

namespace NyCore::Graphics {

class GLSurface : public System::Widget {
    NY_REFLECTIVE(GLSurface)
public:
    struct GLInitilize {
        std::uint32_t colorBits;
        std::uint32_t depthBits;
        std::uint32_t auxBuffers;
        std::uint32_t accumBits;
        std::uint32_t alphaBits;
        std::uint32_t stencilBits;
        std::uint32_t layerMask;
        // Non-zero: colour-index pixels; zero: RGBA.
        std::uint32_t colorIndex;
        std::uint8_t doubleBuffer;
    };

    GLSurface() = default;
    // Deletes the rendering context and its window and uncounts the surface.
    ~GLSurface() override;
    static Object* __create();
    // Registers the class so that Widget::create finds "NyCore.Graphics.GLSurface".
    static void startup();
    static void shutdown();

    // Gives `widget`'s window (any created widget, usually this surface) an
    // OpenGL drawing window of the closest pixel format the display offers
    // and a rendering context; false, and nothing else done, when the
    // library cannot be loaded. A surface is initialised once.
    bool initilize(System::Widget* widget, GLInitilize const* params);
    bool initilize(System::Widget* widget, bool flag);
    // Makes the context current; the drawing window and the viewport follow
    // the widget's size first.
    void activate();
    void deactivate();
    void swapBuffers();
    // 0xRRGGBB as the current OpenGL colour.
    void setColor(std::uint32_t rgb);

    // Counts the surface and loads the library for the first one; whether it is loaded.
    static bool initGlobalData();
    static int get$surfaceCount();
    static bool get$isLibraryLoaded();
    // The file name loaded for the first surface (a default suits the system).
    static void set$libraryName(char const* name);

    // The platform's id of the OpenGL drawing window, 0 before initilize.
    std::uintptr_t get$deviceContext() const { return deviceContext; }

    bool onResize(int dw, int dh) override;

private:
    void followWidgetSize();
    void releaseGlobalData();

    System::Widget* target = nullptr;
    std::uintptr_t deviceContext = 0;
    void* renderingContext = nullptr;
    std::uintptr_t colormap = 0;
    std::int32_t surfaceWidth = 0;
    std::int32_t surfaceHeight = 0;
    bool viewportStale = false;
    bool counted = false;
};

}
