// DoubleRenderer: draws a number cell through the value's own picture
// format ("format" of the renderer element), on the row's background.
#pragma once

#include "nycore/data/data_renderer.h"
#include "nycore/text/text_buffer.h"

namespace NyToolkit::DataRenderers {

class DoubleRenderer : public NyCore::Data::DataRenderer {
    NY_REFLECTIVE(DoubleRenderer)
public:
    DoubleRenderer() = default;
    ~DoubleRenderer() override;
    static NyCore::Object* __create();

    void initilize(NyCore::XML::Element* parameters) override;
    void render(NyCore::Object* value, NyCore::Graphics::GC* gc, NyCore::Graphics::Rect const* cell,
                unsigned flags) override;

    NyCore::String const* get$format() const { return format; }
    // Keeps a copy; null goes back to the value's default rendering.
    void set$format(NyCore::String const* text);

protected:
    // The value's text in the renderer's format, left in `buffer`.
    void formatValue(NyCore::Object* value);

    NyCore::String* format = nullptr;
    NyCore::Text::TextBuffer buffer;
};

}
