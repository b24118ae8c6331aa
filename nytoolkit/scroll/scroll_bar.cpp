// The standalone scroll-bar widget: form parameters, mouse, auto-repeat and
// the "scroll" event.
#include "nytoolkit/scroll/scroll_bar.h"

#include "nycore/system/method_thunk.h"
#include "nytoolkit/forms/loader.h"

namespace NyToolkit {

namespace {

constexpr std::uint32_t RepeatDelay = 200;
constexpr std::uint32_t RepeatInterval = 50;

NyCore::MethodEntry const ScrollBarMethods[] = {{u"setRange", NY_METHOD(ScrollBar::setRange)},
                                                {u"setPosition", NY_METHOD(ScrollBar::set$position)},
                                                {nullptr, nullptr}};
char16_t const* const ScrollBarEvents[] = {u"scroll", nullptr};

}

NyCore::TypeData ScrollBar::MetaData = {&NytkWidget::MetaData, nullptr, u"NyToolkit.Scroll"_str, ScrollBarMethods,
                                        ScrollBarEvents, &ScrollBar::__create, sizeof(ScrollBar), 0, nullptr};

ScrollBar::~ScrollBar()
{
    timer_destroy(&repeatTimer);
}

NyCore::Object* ScrollBar::__create()
{
    return new ScrollBar();
}

void ScrollBar::onCreate()
{
    NytkWidget::onCreate();
    bar.setup(0, 0, 1, 1);
    bar.reposition(0, 0, width, height);
}

void ScrollBar::setParameters(NyCore::XML::Element* element)
{
    bar.setup(Loader::intAttribute(element, u"position"), Loader::intAttribute(element, u"range"),
              Loader::intAttribute(element, u"visibleRange"), Loader::intAttribute(element, u"speed"));
    redraw();
}

void ScrollBar::onDraw(NyCore::Graphics::GC* gc)
{
    bar.redraw(this, gc);
}

bool ScrollBar::onResize(int dw, int dh)
{
    NytkWidget::onResize(dw, dh);
    bar.reposition(0, 0, width, height);
    return true;
}

void ScrollBar::report(int old)
{
    if (bar.get$position() == old)
        return;
    NyCore::Object::CallbackParams params{1, {bar.get$position()}};
    send(u"scroll", &params);
}

void ScrollBar::mouse(int event, int x, int y, int keys)
{
    int old = bar.get$position();
    int result = bar.handleMouse(this, event, x, y, keys);
    if (result == InlineScroll::ArrowPressed || result == InlineScroll::PagePressed) {
        repeating = false;
        timer_construct(&repeatTimer, this, &ScrollBar::onRepeat, RepeatDelay, 0);
    } else if (result == InlineScroll::ArrowReleased) {
        timer_destroy(&repeatTimer);
    }
    report(old);
}

void ScrollBar::onRepeat(NyCore::System::Widget* widget)
{
    auto* self = static_cast<ScrollBar*>(widget);
    if (!self->repeating) {
        // The first expiry only shortens the interval.
        self->repeating = true;
        timer_reset(&self->repeatTimer, nullptr, RepeatInterval);
        return;
    }
    int old = self->bar.get$position();
    if (self->bar.repeatStep(self))
        self->report(old);
}

void ScrollBar::onMouseDown(int x, int y, int button, int keys)
{
    if (button == 0)
        mouse(InlineScroll::Press, x, y, keys);
}

void ScrollBar::onDoubleClick(int x, int y, int button, int keys)
{
    if (button == 0)
        mouse(InlineScroll::Press, x, y, keys);
}

void ScrollBar::onMouseUp(int x, int y, int button, int keys)
{
    if (button == 0)
        mouse(InlineScroll::Release, x, y, keys);
}

void ScrollBar::onMouseMove(int x, int y, int keys)
{
    mouse(InlineScroll::Move, x, y, keys);
}

void ScrollBar::onScrollWheel(int steps)
{
    set$position(bar.get$position() - steps * bar.get$speed());
}

void ScrollBar::setRange(int total, int page)
{
    int old = bar.get$position();
    bar.setRange(total, page);
    bar.redrawNow(this);
    report(old);
}

void ScrollBar::set$position(int p)
{
    int old = bar.get$position();
    bar.setPosition(this, p);
    report(old);
}

}
