// ScrollBar: the standalone scroll-bar widget of forms ("NyToolkit.Scroll").
// One inline bar fills the widget (horizontal when it is wider than high);
// arrows, track pages, thumb drags and the wheel move it, with the same
// auto-repeat as the scroll view, and every change sends "scroll" with the
// new position.
#pragma once

#include "nycore/system/timer.h"
#include "nytoolkit/forms/nytk_widget.h"
#include "nytoolkit/scroll/inline_scroll.h"

namespace NyToolkit {

class ScrollBar : public NytkWidget {
    NY_REFLECTIVE(ScrollBar)
public:
    ScrollBar() = default;
    ~ScrollBar() override;
    static NyCore::Object* __create();

    void onCreate() override;
    // "range" (total units), "position", "visibleRange" (the page) and "speed".
    void setParameters(NyCore::XML::Element* element) override;
    void onDraw(NyCore::Graphics::GC* gc) override;
    void onMouseDown(int x, int y, int button, int keys) override;
    void onMouseUp(int x, int y, int button, int keys) override;
    void onMouseMove(int x, int y, int keys) override;
    void onDoubleClick(int x, int y, int button, int keys) override;
    // One wheel step moves by the speed.
    void onScrollWheel(int steps) override;
    bool onResize(int dw, int dh) override;

    void setRange(int total, int page);
    void set$position(int p);
    int get$position() const { return bar.get$position(); }
    void set$speed(int n) { bar.setSpeed(n); }
    InlineScroll& get$bar() { return bar; }

private:
    void mouse(int event, int x, int y, int keys);
    void report(int old);
    static void onRepeat(NyCore::System::Widget* widget);

    InlineScroll bar;
    NyCore::System::Timer repeatTimer{};
    bool repeating = false;
};

}
