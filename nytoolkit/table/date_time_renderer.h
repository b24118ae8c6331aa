// DateTimeRenderer: draws a date cell through a date pattern ("format");
// without a pattern the cell stays empty.
#pragma once

#include "nycore/data/data_renderer.h"
#include "nycore/text/text_buffer.h"

namespace NyToolkit::DataRenderers {

class DateTimeRenderer : public NyCore::Data::DataRenderer {
    NY_REFLECTIVE(DateTimeRenderer)
public:
    DateTimeRenderer() = default;
    ~DateTimeRenderer() override;
    static NyCore::Object* __create();

    void initilize(NyCore::XML::Element* parameters) override;
    void render(NyCore::Object* value, NyCore::Graphics::GC* gc, NyCore::Graphics::Rect const* cell,
                unsigned flags) override;

    NyCore::String const* get$format() const { return format; }
    void set$format(NyCore::String const* text);

private:
    NyCore::String* format = nullptr;
    NyCore::Text::TextBuffer buffer;
};

}
