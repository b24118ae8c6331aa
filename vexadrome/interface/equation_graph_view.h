// EquationGraphView: the tab in which a graph document is shown. It holds the
// camera, lets the user move the camera, the focus point or a light with the
// mouse, the wheel and the arrow keys, and runs the animation timer that
// samples time-dependent expressions again.
#pragma once

#include "nycore/system/timer.h"
#include "nycore/system/widget.h"
#include "vexadrome/documents/graph_doc.h"
#include "vexadrome/interface/render_graph_gl.h"

namespace Vexadrome::Interface {

namespace MoveMode {
enum : int { Camera = 0, Focus = 1, Light = 2 };
}

class EquationGraphView : public NyCore::System::Widget {
    NY_REFLECTIVE(EquationGraphView)
public:
    // Turning speed per pixel of drag or per arrow key, distance per pixel of
    // right-button drag and per wheel notch, and the pixels a drag travels
    // along an axis before it turns about it.
    static constexpr double AngleStep = 0.05;
    static constexpr double DistanceStep = 0.05;
    static constexpr double WheelStep = 0.5;
    static constexpr int DragThreshold = 5;

    EquationGraphView() = default;
    ~EquationGraphView() override;
    static NyCore::Object* __create();

    void set$document(Documents::GraphDoc* graph);
    Documents::GraphDoc* get$document() const { return document; }
    // The animation timer follows the document's expressions; then a frame.
    void refresh();

    void onToggleAxes();
    void onMoveCamera();
    void onMoveLights();
    void onMoveFocus();
    void onGotoXY();
    void onGotoYZ();
    void onGotoZX();
    void gotoPlane(int plane);
    // "Export Image...": the picture the view shows, saved as a PNG file
    // named through the file chooser.
    void onExportImage();

    // Loads the move position from a point.
    void setMovePos(float x, float y, float z);
    // Applies the move position to what is being moved, then draws.
    void updateMove();
    void updateAngles(int x, int y);
    void updateDistance(int x, int y);
    static void onTimer(NyCore::System::Widget* widget);

    void onCreate() override;
    void onDraw(NyCore::Graphics::GC* gc) override;
    void onMouseMove(int x, int y, int keys) override;
    void onMouseDown(int x, int y, int button, int keys) override;
    void onMouseUp(int x, int y, int button, int keys) override;
    void onCharKeyDown(int code, int modifiers) override;
    void onSystemKeyDown(int code, int modifiers) override;
    bool onResize(int dw, int dh) override;
    void onShow() override;
    void onHide() override;
    void onScrollWheel(int steps) override;

    // What the renderer draws a frame from.
    GraphCamera get$camera() const;
    bool get$hasTimer() const { return timerLive; }
    NyCore::System::Timer const* get$timer() const { return timerLive ? &timer : nullptr; }
    int get$selectedLight() const { return selectedLight; }
    double get$moveDistance() const { return moveDistance; }
    float const* get$eye() const { return eye; }
    float const* get$up() const { return up; }
    RenderGraphGL* get$renderer() { return &renderer; }

private:
    void destroyTimer();
    void draw();

    Documents::GraphDoc* document = nullptr;
    NyCore::System::Timer timer = {};
    bool timerLive = false;
    RenderGraphGL renderer;
    double moveDistance = 0.0;
    double moveTheta = 0.0;
    double movePhi = 0.0;
    int moveMode = MoveMode::Camera;
    int selectedLight = 0;
    float eye[3] = {0.0f, 0.0f, 20.0f};
    float focusPoint[3] = {0.0f, 0.0f, 0.0f};
    float up[3] = {0.0f, 1.0f, 0.0f};
    int lastX = -1;
    int lastY = -1;
    bool axesVisible = true;
    bool horizontalDrag = false;
    bool verticalDrag = false;
};

}
