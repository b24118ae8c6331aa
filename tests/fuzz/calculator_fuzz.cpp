// Fuzzes the calculator's whole line handling: the input is a session of
// lines (definitions, expressions, commands) entered into one calculator.
#include <cstddef>
#include <cstdint>

#include "nycore/text/string_functions.h"
#include "vexadrome/documents/calculator_session.h"

namespace {

// Swallows the transcript.
class NullWriter : public Vexadrome::Documents::TranscriptWriter {
public:
    void append(char16_t) override {}
    void append(NyCore::String const*) override {}
    void setTextColor(std::uint32_t, int) override {}
    void clearScreen() override {}
};

}

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size)
{
    Vexadrome::Documents::ExprManager store;
    NullWriter output;
    Vexadrome::Documents::CalculatorSession session(&store, &output);
    auto const* bytes = reinterpret_cast<char const*>(data);
    std::size_t start = 0;
    for (std::size_t i = 0; i <= size; ++i) {
        if (i == size || bytes[i] == '\n') {
            NyCore::String* line = string_from_utf8(bytes + start, static_cast<int>(i - start));
            session.executeCmnd(line);
            string_free(line);
            start = i + 1;
        }
    }
    return 0;
}
