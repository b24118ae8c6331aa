// ConsoleTranscript: a calculator's transcript written into a command
// console's stream, with the console's colours (bold for the answers and
// errors) and its clearing.
#pragma once

#include "vexadrome/documents/transcript_writer.h"

namespace NyUser::Input {
class CommandConsole;
}

namespace Vexadrome::Interface {

class ConsoleTranscript : public Documents::TranscriptWriter {
public:
    ConsoleTranscript() = default;

    // The console written to (borrowed); without one everything is dropped.
    void set$console(NyUser::Input::CommandConsole* target) { console = target; }
    NyUser::Input::CommandConsole* get$console() const { return console; }

    void append(char16_t unit) override;
    void append(NyCore::String const* text) override;
    void setTextColor(std::uint32_t color, int flags) override;
    void clearScreen() override;
    void flush() override;

private:
    NyUser::Input::CommandConsole* console = nullptr;
};

}
