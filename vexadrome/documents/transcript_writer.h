// TranscriptWriter: the output side of a calculator, a text sink that can
// also change the text colour and clear what was shown. The console of the
// window and the terminal each implement it.
#pragma once

#include <cstdint>

#include "nycore/text/char_writer.h"

namespace Vexadrome::Documents {

class TranscriptWriter : public NyCore::Text::CharWriter {
public:
    using CharWriter::append;

    // Bit of setTextColor's flags: bold text.
    static constexpr int Bold = 2;

    // Colour 0xRRGGBB; colour 0 with flags 0 returns to the normal text.
    virtual void setTextColor(std::uint32_t color, int flags) = 0;
    // Removes everything shown so far.
    virtual void clearScreen() = 0;
    virtual void flush() {}
};

}
