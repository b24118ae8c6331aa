// ValueSpin: a number box with up and down spin buttons at its right end.
// The buttons, the Up and Down keys and the mouse wheel change the value by
// "rate" (Page Up and Page Down by ten times the rate, Home and End go to the
// limits), always within "min" ... "max"; every change sends "change" with
// the new value rounded to an integer as its argument (get$value has the
// exact one). Holding a button repeats its step. A number can also be typed
// while the box has the focus: digits, signs, "." and "e" start the typed
// text, Backspace takes back its last character, Enter (or leaving the box)
// sets the typed number, Escape drops it; a text that is not a number changes nothing.
//
// "format" is a printf-like text with one number conversion:
//   %[flags][width][.precision]d   the value rounded to an integer ("%d", "%03d");
//   %[flags][width][.precision]f   fixed decimals ("%.2f");
//   %[flags][width][.precision]e, g  exponent or shortest form.
// The flags are "-", "+", " ", "0" and "#". Text around the conversion is
// shown as it is ("%d px", "x = %.1f"), "%%" shows one percent sign. A format
// without a valid conversion (and the default) is "%g".
#pragma once

#include <string>

#include "nycore/system/timer.h"
#include "nytoolkit/forms/nytk_widget.h"
#include "nytoolkit/styles/icon_set.h"

namespace NyToolkit {

class ValueSpin : public NytkWidget {
    NY_REFLECTIVE(ValueSpin)
public:
    // The spin icons: normal, under the pointer, pressed, for up then down.
    enum SpinIcons { UpNormal = 0, UpHover = 1, UpPressed = 2, DownNormal = 3, DownHover = 4, DownPressed = 5 };
    enum Part { NoPart = 0, UpButton = 1, DownButton = 2 };

    ValueSpin() = default;
    ~ValueSpin() override;
    static NyCore::Object* __create();

    void onCreate() override;
    // "min" (0), "max" (100), "rate" (1), "value" (min), "format", "icon" (an
    // icon file with the six spin pictures instead of the style's).
    void setParameters(NyCore::XML::Element* element) override;
    void onDraw(NyCore::Graphics::GC* gc) override;
    void onStyleChange() override { redraw(); }
    void onMouseDown(int x, int y, int button, int keys) override;
    void onDoubleClick(int x, int y, int button, int keys) override;
    void onMouseUp(int x, int y, int button, int keys) override;
    void onMouseMove(int x, int y, int keys) override;
    void onMouseOut(int x, int y, int keys) override;
    void onSystemKeyDown(int code, int modifiers) override;
    void onCharKeyDown(int code, int modifiers) override;
    void onScrollWheel(int steps) override;
    void onFocusGained() override;
    void onFocusLost() override;

    // Clamped to min ... max; sends "change" when the value changes.
    void set$value(double newValue);
    double get$value() const { return value; }
    // The limits in either order; the value is clamped to them (and "change" sent when that moves it).
    void setRange(double low, double high);
    double get$min() const { return minimum; }
    double get$max() const { return maximum; }
    void set$rate(double newRate) { rate = newRate; }
    double get$rate() const { return rate; }
    void set$format(NyCore::String const* newFormat);
    // The value as the format shows it (a new String).
    NyCore::String* formatValue() const;
    // Moves by steps × rate.
    void step(int steps);
    // The part of the widget at (x, y), and the rectangle of a button.
    int partAt(int x, int y) const;
    void getButtonRect(int part, NyCore::System::WidgetRect* rect) const;
    IconSet* get$icons() const;
    bool get$editing() const { return editing; }
    // Sets the typed number (if it is one) and ends typing.
    void commitEdit();

private:
    static void onRepeat(NyCore::System::Widget* widget);

    double value = 0;
    double minimum = 0;
    double maximum = 100;
    double rate = 1;
    NyCore::String* format = nullptr;
    IconSet* icons = nullptr;
    NyCore::System::Timer repeat{};
    int pressedPart = NoPart;
    int hoverPart = NoPart;
    bool editing = false;
    std::u16string editText;
};

}
