// Drawing of the push button: disabled, pressed (or active) and raised
// looks, each border two pixels deep, and the focus outline on top.
#include "nytoolkit/buttons/text_button.h"

#include "nycore/graphics/color.h"
#include "nycore/graphics/gc.h"

namespace NyToolkit::Buttons {

using NyCore::Graphics::Color;
namespace TextFlags = NyCore::Graphics::TextFlags;

NyCore::TypeData TextButton::MetaData = {&ButtonBase::MetaData, nullptr, u"NyToolkit.Buttons.TextButton"_str,
                                         NyCore::NoMethods, NyCore::NoEvents, &TextButton::__create,
                                         sizeof(TextButton), 0, nullptr};

namespace {

constexpr int Centred = TextFlags::CenterHorizontal | TextFlags::CenterVertical;

}

NyCore::Object* TextButton::__create()
{
    return new TextButton();
}

void TextButton::onCreate()
{
    setStyleClass(Style::Button, false);
}

void TextButton::onDraw(NyCore::Graphics::GC* gc)
{
    int w = width;
    int h = height;
    if (isDisabled()) {
        gc_set_background(gc, getColor(Style::Light));
        gc_set_foreground(gc, getColor(Style::Separator));
        gc_rect(gc, 0, 0, w, h);
        drawLabel(gc, getColor(Style::Dim), 0, 0, w, h, Centred);
    } else if (shownPushed()) {
        gc_set_background(gc, getColor(Style::HighlightBackground));
        gc_rect_fill(gc, 0, 0, w, h);
        drawLabel(gc, getColor(Style::HighlightText), 1, 1, w, h, Centred);
        drawSunkenBorder(gc);
    } else {
        gc_set_background(gc, getColor(Style::Background));
        gc_rect_fill(gc, 0, 0, w, h);
        drawLabel(gc, getColor(Style::Text), 0, 0, w, h, Centred);
        drawRaisedBorder(gc);
        if (pointerInside()) {
            gc_set_foreground(gc, getColor(Style::Hover));
            gc_rect_line(gc, 0, 0, w, h);
        }
    }
    // Inside the border, so that the border's look stays readable.
    if (hasFocus()) {
        gc_set_foreground(gc, getColor(Style::Accent));
        gc_rect_line(gc, 2, 2, w - 4, h - 4);
    }
}

void TextButton::drawSunkenBorder(NyCore::Graphics::GC* gc)
{
    std::uint32_t face = getColor(Style::HighlightBackground);
    gc_set_foreground(gc, Color::scale(face, 50));
    gc_rect_line(gc, 0, 0, width, height);
    gc_set_foreground(gc, Color::scale(face, 75));
    gc_line(gc, 1, 1, width - 2, 1);
    gc_line(gc, 1, 1, 1, height - 2);
}

void TextButton::drawRaisedBorder(NyCore::Graphics::GC* gc)
{
    std::uint32_t face = getColor(Style::Background);
    int right = width - 1;
    int bottom = height - 1;
    gc_set_foreground(gc, Color::scale(face, 50));
    gc_line(gc, 0, bottom, right, bottom);
    gc_line(gc, right, 0, right, bottom);
    gc_set_foreground(gc, Color::scale(face, 75));
    gc_line(gc, 0, 0, right - 1, 0);
    gc_line(gc, 0, 0, 0, bottom - 1);
    gc_line(gc, 1, bottom - 1, right - 1, bottom - 1);
    gc_line(gc, right - 1, 1, right - 1, bottom - 1);
    gc_set_foreground(gc, Color::scale(face, 150));
    gc_line(gc, 1, 1, right - 2, 1);
    gc_line(gc, 1, 1, 1, bottom - 2);
}

}
