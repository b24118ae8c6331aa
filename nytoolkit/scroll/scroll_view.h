// ScrollView: a toolkit widget with an inner client rectangle, a border and
// two inline scroll bars (horizontal and vertical) with arrow auto-repeat.
// Subclasses learn of every change of position through onVScroll and
// onHScroll; listeners through "vscrollChange" and "hscrollChange".
#pragma once

#include <cstdint>

#include "nycore/system/timer.h"
#include "nytoolkit/forms/nytk_widget.h"
#include "nytoolkit/scroll/inline_scroll.h"

namespace NyToolkit {

class ScrollView : public NytkWidget {
    NY_REFLECTIVE(ScrollView)
public:
    enum Flags : std::uint16_t { HBarHidden = 1, VBarHidden = 2, BorderHidden = 8 };

    ScrollView() = default;
    ~ScrollView() override;
    static NyCore::Object* __create();

    void onCreate() override;
    void onDraw(NyCore::Graphics::GC* gc) override;
    void onMouseDown(int x, int y, int button, int keys) override;
    void onMouseUp(int x, int y, int button, int keys) override;
    void onMouseMove(int x, int y, int keys) override;
    void onDoubleClick(int x, int y, int button, int keys) override;
    void onScrollWheel(int steps) override;
    bool onResize(int dw, int dh) override;

    // Called after the position changed by `change` units (may be 0).
    virtual void onVScroll(int change);
    virtual void onHScroll(int change);

    void setVRange(int total, int page);
    void setHRange(int total, int page);
    void set$vscroll(int p);
    void set$hscroll(int p);
    int get$vscroll() const { return vbar.get$position(); }
    int get$hscroll() const { return hbar.get$position(); }
    void vPageUp();
    void vPageDown();
    void hPageUp();
    void hPageDown();
    void set$padding(int n);
    int get$padding() const { return padding; }
    void set$borderVisible(bool visible);
    void set$vvisible(bool visible);
    void set$hvisible(bool visible);
    bool isPointInClient(int x, int y) const;
    bool isScrolling() const { return vbar.isInUse() || hbar.isInUse(); }
    NyCore::System::WidgetRect const& get$client() const { return client; }
    InlineScroll& get$vbar() { return vbar; }
    InlineScroll& get$hbar() { return hbar; }

protected:
    // Lays out the client rectangle and both bars for the current size and flags.
    void moveScrollBars();
    // The bars' part of a mouse event; true when a bar took it (a press on a
    // bar, or any event while an arrow, the track or the thumb is held).
    bool mouseToBars(int event, int x, int y, int keys);
    // Draws the border and the visible bars.
    void drawFrame(NyCore::Graphics::GC* gc);

    InlineScroll hbar;
    InlineScroll vbar;
    // The auto-repeat; it runs only while an arrow or the track is held.
    NyCore::System::Timer repeatTimer{};
    bool repeating = false;
    std::uint16_t viewFlags = 0;
    std::uint16_t padding = 0;
    NyCore::System::WidgetRect client{};

private:
    void reportV(int old);
    void reportH(int old);
    // Starts or stops the auto-repeat for a bar's mouse result.
    void followResult(int result);
    void stopRepeat();
    static void onRepeat(NyCore::System::Widget* widget);
};

}
