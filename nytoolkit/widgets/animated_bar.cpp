// The busy bar.
#include "nytoolkit/widgets/animated_bar.h"

#include "nycore/graphics/gc.h"
#include "nytoolkit/forms/loader.h"

namespace NyToolkit {

namespace {

NyCore::MethodEntry const AnimatedBarMethods[] = {{u"increment", NY_METHOD(AnimatedBar::increment)},
                                                  {nullptr, nullptr}};

}

NyCore::TypeData AnimatedBar::MetaData = {&NytkWidget::MetaData, nullptr, u"NyToolkit.AnimatedBar"_str,
                                          AnimatedBarMethods, NyCore::NoEvents, &AnimatedBar::__create,
                                          sizeof(AnimatedBar), 0, nullptr};

AnimatedBar::~AnimatedBar()
{
    timer_destroy(&timer);
}

NyCore::Object* AnimatedBar::__create()
{
    return new AnimatedBar();
}

void AnimatedBar::onCreate()
{
    setStyleClass(Style::Display, false);
    bool hidden = flags & NyCore::System::WidgetFlags::Hidden;
    timer_construct(&timer, this, &AnimatedBar::onTick, StepInterval,
                    hidden ? std::uint32_t{NyCore::System::TimerOptions::Stopped} : 0u);
}

void AnimatedBar::setParameters(NyCore::XML::Element* element)
{
    int read = Loader::intAttribute(element, u"maximum");
    set$maximum(read > 0 ? read : 20);
}

void AnimatedBar::set$maximum(int newMaximum)
{
    maximum = newMaximum < 1 ? 1 : newMaximum;
    if (position >= maximum)
        position = 0;
    redraw();
}

void AnimatedBar::onShow()
{
    if (!get$running())
        timer_reset(&timer, nullptr, 0);
}

void AnimatedBar::onHide()
{
    timer_pause(&timer);
}

void AnimatedBar::onTick(NyCore::System::Widget* widget)
{
    static_cast<AnimatedBar*>(widget)->increment();
}

void AnimatedBar::increment()
{
    position = (position + 1) % maximum;
    redraw();
}

void AnimatedBar::getBlock(int* blockX, int* blockWidth) const
{
    int inner = width - 4 > 0 ? width - 4 : 0;
    int block = inner / 4 > 4 ? inner / 4 : (inner < 4 ? inner : 4);
    // The block enters from the left edge and leaves at the right one.
    *blockX = -block + (inner + block) * position / maximum;
    *blockWidth = block;
}

void AnimatedBar::onDraw(NyCore::Graphics::GC* gc)
{
    gc_set_foreground(gc, getColor(Style::Frame));
    gc_set_background(gc, background);
    gc_rect(gc, 0, 0, width, height);
    if (width <= 4 || height <= 4)
        return;
    int blockX;
    int block;
    getBlock(&blockX, &block);
    int left = blockX < 0 ? 0 : blockX;
    int right = blockX + block > width - 4 ? width - 4 : blockX + block;
    if (right <= left)
        return;
    gc_set_background(gc, getColor(Style::HighlightBackground));
    gc_rect_fill(gc, 2 + left, 2, right - left, height - 4);
}

}
