// The scroll view: client rectangle and bar layout, the frame, the bars'
// share of the mouse, the auto-repeat of held arrows and tracks, and the
// reports of every change of position.
#include "nytoolkit/scroll/scroll_view.h"

#include <algorithm>

#include "nycore/system/method_thunk.h"

namespace NyToolkit {

namespace {

namespace WF = NyCore::System::WidgetFlags;

// The first repeat waits this long after the press, the next ones this long each.
constexpr std::uint32_t RepeatDelay = 200;
constexpr std::uint32_t RepeatInterval = 50;

NyCore::MethodEntry const ScrollViewMethods[] = {{u"setHRange", NY_METHOD(ScrollView::setHRange)},
                                                 {u"setVRange", NY_METHOD(ScrollView::setVRange)},
                                                 {nullptr, nullptr}};
char16_t const* const ScrollViewEvents[] = {u"hscrollChange", u"vscrollChange", nullptr};

bool contains(NyCore::System::WidgetRect const& r, int x, int y)
{
    return x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height;
}

}

NyCore::TypeData ScrollView::MetaData = {&NytkWidget::MetaData, nullptr, u"NyToolkit.ScrollView"_str,
                                         ScrollViewMethods, ScrollViewEvents, &ScrollView::__create,
                                         sizeof(ScrollView), 0, nullptr};

ScrollView::~ScrollView()
{
    timer_destroy(&repeatTimer);
}

NyCore::Object* ScrollView::__create()
{
    return new ScrollView();
}

void ScrollView::onCreate()
{
    NytkWidget::onCreate();
    padding = 0;
    hbar.setup(0, 0, 1, 1);
    vbar.setup(0, 0, 1, 1);
    moveScrollBars();
}

void ScrollView::moveScrollBars()
{
    int b = (viewFlags & BorderHidden) ? 0 : style->get$gap();
    int s = style->get$size();
    int sh = (viewFlags & HBarHidden) ? 0 : s;
    int sv = (viewFlags & VBarHidden) ? 0 : s;
    int p = padding;
    client = {b + p, b + p, std::max(width - sv - 2 * b - 2 * p, 0), std::max(height - sh - 2 * b - 2 * p, 0)};
    hbar.reposition(b, height - sh - b, width - sv - 2 * b, sh, true);
    vbar.reposition(width - sv - b, b, sv, height - sh - 2 * b, false);
}

void ScrollView::drawFrame(NyCore::Graphics::GC* gc)
{
    if (!(viewFlags & BorderHidden)) {
        gc_set_foreground(gc, getColor(Style::Frame));
        for (int i = 0; i < style->get$gap(); ++i)
            gc_rect_line(gc, i, i, width - 2 * i, height - 2 * i);
    }
    if (!(viewFlags & HBarHidden))
        hbar.redraw(this, gc);
    if (!(viewFlags & VBarHidden))
        vbar.redraw(this, gc);
}

void ScrollView::onDraw(NyCore::Graphics::GC* gc)
{
    drawFrame(gc);
}

void ScrollView::reportV(int old)
{
    int now = vbar.get$position();
    onVScroll(now - old);
    NyCore::Object::CallbackParams params{1, {now}};
    send(u"vscrollChange", &params);
}

void ScrollView::reportH(int old)
{
    int now = hbar.get$position();
    onHScroll(now - old);
    NyCore::Object::CallbackParams params{1, {now}};
    send(u"hscrollChange", &params);
}

void ScrollView::onVScroll(int) {}

void ScrollView::onHScroll(int) {}

void ScrollView::stopRepeat()
{
    timer_destroy(&repeatTimer);
    repeating = false;
}

void ScrollView::followResult(int result)
{
    if (result == InlineScroll::ArrowPressed || result == InlineScroll::PagePressed) {
        repeating = false;
        timer_construct(&repeatTimer, this, &ScrollView::onRepeat, RepeatDelay, 0);
    } else if (result == InlineScroll::ArrowReleased) {
        stopRepeat();
    }
}

bool ScrollView::mouseToBars(int event, int x, int y, int keys)
{
    bool taken = false;
    if (!(viewFlags & VBarHidden)) {
        bool held = vbar.isInUse() || vbar.isArrowInUse(false) || vbar.isArrowInUse(true) || vbar.isPaging();
        taken = held || (event == InlineScroll::Press && contains(vbar.getRect(), x, y));
        int old = vbar.get$position();
        int result = vbar.handleMouse(this, event, x, y, keys);
        followResult(result);
        if (vbar.get$position() != old)
            reportV(old);
    }
    if (!(viewFlags & HBarHidden)) {
        bool held = hbar.isInUse() || hbar.isArrowInUse(false) || hbar.isArrowInUse(true) || hbar.isPaging();
        taken = taken || held || (event == InlineScroll::Press && contains(hbar.getRect(), x, y));
        int old = hbar.get$position();
        int result = hbar.handleMouse(this, event, x, y, keys);
        followResult(result);
        if (hbar.get$position() != old)
            reportH(old);
    }
    return taken;
}

void ScrollView::onMouseDown(int x, int y, int button, int keys)
{
    if (button == 0)
        mouseToBars(InlineScroll::Press, x, y, keys);
}

void ScrollView::onDoubleClick(int x, int y, int button, int keys)
{
    if (button == 0)
        mouseToBars(InlineScroll::Press, x, y, keys);
}

void ScrollView::onMouseUp(int x, int y, int button, int keys)
{
    if (button == 0)
        mouseToBars(InlineScroll::Release, x, y, keys);
}

void ScrollView::onMouseMove(int x, int y, int keys)
{
    mouseToBars(InlineScroll::Move, x, y, keys);
}

void ScrollView::onRepeat(NyCore::System::Widget* widget)
{
    auto* view = static_cast<ScrollView*>(widget);
    if (!view->repeating) {
        // The first expiry only shortens the interval.
        view->repeating = true;
        timer_reset(&view->repeatTimer, nullptr, RepeatInterval);
        return;
    }
    if (!(view->viewFlags & VBarHidden)) {
        int old = view->vbar.get$position();
        if (view->vbar.repeatStep(view))
            view->reportV(old);
    }
    if (!(view->viewFlags & HBarHidden)) {
        int old = view->hbar.get$position();
        if (view->hbar.repeatStep(view))
            view->reportH(old);
    }
}

void ScrollView::onScrollWheel(int steps)
{
    set$vscroll(vbar.get$position() - steps);
}

bool ScrollView::onResize(int dw, int dh)
{
    NytkWidget::onResize(dw, dh);
    moveScrollBars();
    return true;
}

void ScrollView::setVRange(int total, int page)
{
    int old = vbar.get$position();
    vbar.setRange(total, page);
    if (!(viewFlags & VBarHidden))
        vbar.redrawNow(this);
    if (vbar.get$position() != old)
        reportV(old);
}

void ScrollView::setHRange(int total, int page)
{
    int old = hbar.get$position();
    hbar.setRange(total, page);
    if (!(viewFlags & HBarHidden))
        hbar.redrawNow(this);
    if (hbar.get$position() != old)
        reportH(old);
}

void ScrollView::set$vscroll(int p)
{
    int old = vbar.get$position();
    vbar.setPosition(this, p);
    reportV(old);
}

void ScrollView::set$hscroll(int p)
{
    int old = hbar.get$position();
    hbar.setPosition(this, p);
    reportH(old);
}

void ScrollView::vPageUp()
{
    int old = vbar.get$position();
    vbar.pageUp(this);
    reportV(old);
}

void ScrollView::vPageDown()
{
    int old = vbar.get$position();
    vbar.pageDown(this);
    reportV(old);
}

void ScrollView::hPageUp()
{
    int old = hbar.get$position();
    hbar.pageUp(this);
    reportH(old);
}

void ScrollView::hPageDown()
{
    int old = hbar.get$position();
    hbar.pageDown(this);
    reportH(old);
}

void ScrollView::set$padding(int n)
{
    padding = static_cast<std::uint16_t>(std::max(n, 0));
    moveScrollBars();
    redraw();
}

void ScrollView::set$borderVisible(bool visible)
{
    viewFlags = static_cast<std::uint16_t>(visible ? viewFlags & ~BorderHidden : viewFlags | BorderHidden);
    moveScrollBars();
    redraw();
}

void ScrollView::set$vvisible(bool visible)
{
    if (!visible && !(viewFlags & VBarHidden)) {
        vbar.cancel(this);
        stopRepeat();
    }
    viewFlags = static_cast<std::uint16_t>(visible ? viewFlags & ~VBarHidden : viewFlags | VBarHidden);
    moveScrollBars();
    redraw();
}

void ScrollView::set$hvisible(bool visible)
{
    if (!visible && !(viewFlags & HBarHidden)) {
        hbar.cancel(this);
        stopRepeat();
    }
    viewFlags = static_cast<std::uint16_t>(visible ? viewFlags & ~HBarHidden : viewFlags | HBarHidden);
    moveScrollBars();
    redraw();
}

bool ScrollView::isPointInClient(int x, int y) const
{
    return contains(client, x, y);
}

}
