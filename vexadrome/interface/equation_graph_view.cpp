// The graph view: camera defaults, moving the camera, the focus or a light
// in spherical coordinates, the plane presets and the animation timer.
#include "vexadrome/interface/equation_graph_view.h"

#include <cmath>

#include "nycore/graphics/pixel_io.h"
#include "nycore/system/method_thunk.h"
#include "nycore/text/string_functions.h"
#include "nyuser/commondialogs/file_browse_dialog.h"
#include "nyuser/commondialogs/msg_window.h"

namespace Vexadrome::Interface {

namespace {

constexpr double Pi = 3.14159265358979323846;
namespace Keys = NyCore::System::SystemKeys;

NyCore::MethodEntry const GraphViewMethods[] = {
    {u"onToggleAxes", NY_METHOD(EquationGraphView::onToggleAxes)},
    {u"onMoveCamera", NY_METHOD(EquationGraphView::onMoveCamera)},
    {u"onMoveLights", NY_METHOD(EquationGraphView::onMoveLights)},
    {u"onMoveFocus", NY_METHOD(EquationGraphView::onMoveFocus)},
    {u"onGotoXY", NY_METHOD(EquationGraphView::onGotoXY)},
    {u"onGotoYZ", NY_METHOD(EquationGraphView::onGotoYZ)},
    {u"onGotoZX", NY_METHOD(EquationGraphView::onGotoZX)},
    {u"onExportImage", NY_METHOD(EquationGraphView::onExportImage)},
    {u"set$document", NY_METHOD(EquationGraphView::set$document)},
    {u"refresh", NY_METHOD(EquationGraphView::refresh)},
    {nullptr, nullptr},
};

// The eye's direction and the up vector of each plane preset.
struct Plane {
    float direction[3];
    float up[3];
};
Plane const Planes[] = {
    {{0.0f, 0.0f, 1.0f}, {0.0f, 1.0f, 0.0f}},
    {{1.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 1.0f}},
    {{0.0f, 1.0f, 0.0f}, {1.0f, 0.0f, 0.0f}},
};

void set3(float* target, float x, float y, float z)
{
    target[0] = x, target[1] = y, target[2] = z;
}

}

NyCore::TypeData EquationGraphView::MetaData = {&NyCore::System::Widget::MetaData, nullptr,
                                                u"Vexadrome.Interface.EquationGraphView"_str, GraphViewMethods,
                                                NyCore::NoEvents, &EquationGraphView::__create,
                                                sizeof(EquationGraphView), 0, nullptr};

EquationGraphView::~EquationGraphView()
{
    destroyTimer();
}

NyCore::Object* EquationGraphView::__create()
{
    return new EquationGraphView();
}

void EquationGraphView::onCreate()
{
    Widget::onCreate();
    lastX = lastY = -1;
    set3(eye, 0.0f, 0.0f, 20.0f);
    set3(focusPoint, 0.0f, 0.0f, 0.0f);
    set3(up, 0.0f, 1.0f, 0.0f);
    horizontalDrag = verticalDrag = false;
    axesVisible = true;
    destroyTimer();
    selectedLight = 0;
    moveMode = MoveMode::Camera;
    setMovePos(eye[0], eye[1], eye[2]);
    renderer.initilize(this);
}

void EquationGraphView::set$document(Documents::GraphDoc* graph)
{
    document = graph;
    renderer.bindGraph(graph);
    refresh();
}

void EquationGraphView::destroyTimer()
{
    if (timerLive)
        timer_destroy(&timer);
    timerLive = false;
}

void EquationGraphView::refresh()
{
    destroyTimer();
    if (document && document->searchForTimeCall()) {
        // The options dialog keeps the rate within 1 ... 1000; a file may not.
        std::int32_t rate = document->frameRate;
        if (rate < Documents::GraphDoc::MinFrameRate || rate > Documents::GraphDoc::MaxFrameRate)
            rate = Documents::GraphDoc::DefaultFrameRate;
        timer_construct(&timer, this, &EquationGraphView::onTimer, static_cast<std::uint32_t>(1000 / rate), 0);
        timerLive = true;
        if (get$flags() & NyCore::System::WidgetFlags::Hidden)
            timer_pause(&timer);
    }
    draw();
}

void EquationGraphView::onTimer(NyCore::System::Widget* widget)
{
    auto* view = static_cast<EquationGraphView*>(widget);
    if (!view->document)
        return;
    view->document->refreshExprs();
    view->draw();
}

void EquationGraphView::draw()
{
    if (document)
        renderer.renderAllExprs();
}

GraphCamera EquationGraphView::get$camera() const
{
    GraphCamera camera;
    camera.width = width > 0 ? width : 1;
    camera.height = height > 0 ? height : 1;
    for (int k = 0; k < 3; ++k) {
        camera.eye[k] = eye[k];
        camera.focus[k] = focusPoint[k];
        camera.up[k] = up[k];
    }
    camera.axesVisible = axesVisible;
    camera.moveMode = moveMode;
    camera.moveDistance = moveDistance;
    camera.moveTheta = moveTheta;
    camera.movePhi = movePhi;
    return camera;
}

void EquationGraphView::onToggleAxes()
{
    axesVisible = !axesVisible;
    draw();
}

void EquationGraphView::onMoveCamera()
{
    moveMode = MoveMode::Camera;
    setMovePos(eye[0], eye[1], eye[2]);
    draw();
}

void EquationGraphView::onMoveFocus()
{
    moveMode = MoveMode::Focus;
    setMovePos(focusPoint[0], focusPoint[1], focusPoint[2]);
    draw();
}

void EquationGraphView::onMoveLights()
{
    moveMode = MoveMode::Light;
    if (document) {
        Documents::GraphLight const& light = document->lights[selectedLight];
        setMovePos(light.x, light.y, light.z);
    }
    draw();
}

void EquationGraphView::onGotoXY()
{
    gotoPlane(0);
}

void EquationGraphView::onGotoYZ()
{
    gotoPlane(1);
}

void EquationGraphView::onGotoZX()
{
    gotoPlane(2);
}

void EquationGraphView::gotoPlane(int plane)
{
    if (plane < 0 || plane > 2)
        return;
    Plane const& preset = Planes[plane];
    set3(focusPoint, 0.0f, 0.0f, 0.0f);
    set3(up, preset.up[0], preset.up[1], preset.up[2]);
    float const d = static_cast<float>(std::sqrt(eye[0] * eye[0] + eye[1] * eye[1] + eye[2] * eye[2]));
    set3(eye, d * preset.direction[0], d * preset.direction[1], d * preset.direction[2]);
    if (moveMode == MoveMode::Camera)
        setMovePos(eye[0], eye[1], eye[2]);
    draw();
}

void EquationGraphView::onExportImage()
{
    static NyCore::String const* const filters[] = {u"PNG Image\t*.png\tpng"_str, nullptr};
    int filter = 0;
    NyCore::String* path =
        NyUser::CommonDialogs::FileBrowseDialog::saveFile(this, u"Export Image"_str, nullptr, filters, &filter);
    if (!path)
        return;
    std::vector<std::uint32_t> pixels;
    GraphCamera const camera = get$camera();
    if (!renderer.readFrame(&pixels) || !pixels_save_png(pixels.data(), camera.width, camera.height, path)) {
        NyCore::String* head = string_append(u"Could not save '"_str, path);
        NyCore::String* text = string_append(head, u"'."_str);
        NyUser::CommonDialogs::MsgWindow::show(this, u"Vexadrome"_str, text, NyUser::CommonDialogs::MsgWindow::Ok);
        string_free(text);
        string_free(head);
    }
    string_free(path);
    draw();
}

void EquationGraphView::setMovePos(float x, float y, float z)
{
    double const r = std::sqrt(static_cast<double>(x) * x + static_cast<double>(y) * y + static_cast<double>(z) * z);
    moveDistance = r;
    if (r == 0.0) {
        moveTheta = movePhi = 0.0;
        return;
    }
    moveTheta = std::atan2(z, x);
    movePhi = Pi / 2 - std::acos(y / r);
    if (moveMode == MoveMode::Camera) {
        moveTheta = -moveTheta;
        movePhi = -movePhi;
    }
}

void EquationGraphView::updateMove()
{
    if (movePhi <= -Pi / 2)
        movePhi = -Pi / 2;
    else if (movePhi >= Pi / 2)
        movePhi = Pi / 2;
    bool const camera = moveMode == MoveMode::Camera;
    double const a = camera ? -movePhi : movePhi, b = camera ? -moveTheta : moveTheta;
    float const x = static_cast<float>(moveDistance * std::cos(a) * std::cos(b));
    float const y = static_cast<float>(moveDistance * std::sin(a));
    float const z = static_cast<float>(moveDistance * std::cos(a) * std::sin(b));
    if (camera) {
        set3(eye, x, y, z);
        // Looking straight down or up, the up vector lies in the horizontal plane.
        if (a <= -Pi / 2)
            set3(up, static_cast<float>(std::cos(b)), 0.0f, static_cast<float>(std::sin(b)));
        else if (a >= Pi / 2)
            set3(up, static_cast<float>(-std::cos(b)), 0.0f, static_cast<float>(-std::sin(b)));
        else
            set3(up, 0.0f, 1.0f, 0.0f);
    } else if (moveMode == MoveMode::Focus) {
        set3(focusPoint, x, y, z);
    } else if (moveMode == MoveMode::Light && document) {
        Documents::GraphLight& light = document->lights[selectedLight];
        light.x = x, light.y = y, light.z = z;
        // The lights are part of the file: moving one is a change to save.
        document->set$modified(true);
    }
    draw();
}

void EquationGraphView::updateAngles(int x, int y)
{
    if (horizontalDrag) {
        moveTheta += (lastX - x) * AngleStep;
        lastX = x;
    } else if (std::abs(lastX - x) > DragThreshold) {
        horizontalDrag = true;
        lastX = x;
    }
    if (verticalDrag) {
        movePhi += (lastY - y) * AngleStep;
        lastY = y;
    } else if (std::abs(lastY - y) > DragThreshold) {
        verticalDrag = true;
        lastY = y;
    }
    updateMove();
}

void EquationGraphView::updateDistance(int x, int y)
{
    moveDistance += (y - lastY) * DistanceStep;
    lastX = x;
    lastY = y;
    updateMove();
}

void EquationGraphView::onMouseDown(int x, int y, int button, int keys)
{
    Widget::onMouseDown(x, y, button, keys);
    if (!(get$flags() & NyCore::System::WidgetFlags::HasFocus))
        focus();
    horizontalDrag = verticalDrag = false;
    lastX = x;
    lastY = y;
}

void EquationGraphView::onMouseUp(int x, int y, int button, int keys)
{
    Widget::onMouseUp(x, y, button, keys);
    horizontalDrag = verticalDrag = false;
}

void EquationGraphView::onMouseMove(int x, int y, int keys)
{
    Widget::onMouseMove(x, y, keys);
    if (keys & NyCore::System::MouseKeys::Right)
        updateDistance(x, y);
    else if (keys & NyCore::System::MouseKeys::Left)
        updateAngles(x, y);
}

void EquationGraphView::onScrollWheel(int steps)
{
    // One notch towards the user (a negative count) moves away by one step.
    if (steps == 0)
        return;
    moveDistance -= steps * WheelStep;
    updateMove();
}

void EquationGraphView::onSystemKeyDown(int code, int modifiers)
{
    switch (code) {
    case Keys::Up:
        movePhi -= AngleStep;
        break;
    case Keys::Down:
        movePhi += AngleStep;
        break;
    case Keys::Left:
        moveTheta += AngleStep;
        break;
    case Keys::Right:
        moveTheta -= AngleStep;
        break;
    default:
        Widget::onSystemKeyDown(code, modifiers);
        return;
    }
    updateMove();
}

void EquationGraphView::onCharKeyDown(int code, int modifiers)
{
    if (moveMode != MoveMode::Light || code < '1' || code > '4' || !document) {
        Widget::onCharKeyDown(code, modifiers);
        return;
    }
    selectedLight = code - '1';
    Documents::GraphLight const& light = document->lights[selectedLight];
    setMovePos(light.x, light.y, light.z);
    draw();
}

void EquationGraphView::onDraw(NyCore::Graphics::GC*)
{
    draw();
}

bool EquationGraphView::onResize(int dw, int dh)
{
    Widget::onResize(dw, dh);
    if (document)
        renderer.onResize();
    return false;
}

void EquationGraphView::onShow()
{
    Widget::onShow();
    if (timerLive)
        timer_reset(&timer, nullptr, 0);
}

void EquationGraphView::onHide()
{
    Widget::onHide();
    if (timerLive)
        timer_pause(&timer);
}

}
