// ProgressBar: a sunken bar filled from the left in proportion to value /
// maximum. "speed" is the step of increment and decrement. The picture
// variant (with "image") fills with the stretched picture instead of the
// highlight colour, as much of it as the value uncovers.
#pragma once

#include "nycore/graphics/pixmap.h"
#include "nytoolkit/forms/nytk_widget.h"

namespace NyToolkit {

class ProgressBar : public NytkWidget {
    NY_REFLECTIVE(ProgressBar)
public:
    ProgressBar() = default;
    ~ProgressBar() override;
    static NyCore::Object* __create();

    void onCreate() override;
    // "maximum" (100 when missing or not above 0), "value", "speed" (1 when missing), "image" (a BMP file).
    void setParameters(NyCore::XML::Element* element) override;
    void onDraw(NyCore::Graphics::GC* gc) override;
    void onStyleChange() override { redraw(); }

    // The value is kept within 0 ... maximum.
    void set$value(int newValue);
    int get$value() const { return value; }
    // A maximum below 1 becomes 1; the value is clamped to it.
    void set$maximum(int newMaximum);
    int get$maximum() const { return maximum; }
    void set$speed(int newSpeed) { speed = newSpeed; }
    int get$speed() const { return speed; }
    void increment() { set$value(value + speed); }
    void decrement() { set$value(value - speed); }
    // The picture of the filled part; null goes back to the plain fill.
    void setImage(NyCore::String const* fileName);
    bool get$hasImage() const { return imageLoaded; }
    // The width in pixels of the filled part inside the frame.
    int get$fillWidth() const;

private:
    int value = 0;
    int maximum = 100;
    int speed = 1;
    NyCore::Graphics::PixmapSurface image{};
    bool imageLoaded = false;
};

}
