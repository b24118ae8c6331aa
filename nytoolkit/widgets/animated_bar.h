// AnimatedBar: the busy bar of work whose length is not known. A block runs
// from left to right across a sunken bar in "maximum" steps (20 by default),
// one step per timer tick while the bar is shown; the timer stops while the
// bar is hidden and when it is destroyed.
#pragma once

#include "nycore/system/timer.h"
#include "nytoolkit/forms/nytk_widget.h"

namespace NyToolkit {

class AnimatedBar : public NytkWidget {
    NY_REFLECTIVE(AnimatedBar)
public:
    // Milliseconds between steps.
    static constexpr int StepInterval = 50;

    AnimatedBar() = default;
    ~AnimatedBar() override;
    static NyCore::Object* __create();

    void onCreate() override;
    void setParameters(NyCore::XML::Element* element) override;
    void onDraw(NyCore::Graphics::GC* gc) override;
    void onStyleChange() override { redraw(); }
    void onShow() override;
    void onHide() override;

    // One step on; after the last step the block starts again at the left.
    void increment();
    int get$position() const { return position; }
    int get$maximum() const { return maximum; }
    // A maximum below 1 becomes 1.
    void set$maximum(int newMaximum);
    bool get$running() const { return timer.id != 0; }
    // The block's place and width inside the frame (the place may lie left of the frame).
    void getBlock(int* blockX, int* blockWidth) const;

private:
    static void onTick(NyCore::System::Widget* widget);

    NyCore::System::Timer timer{};
    int position = 0;
    int maximum = 20;
};

}
