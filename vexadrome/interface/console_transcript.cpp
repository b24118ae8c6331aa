// The calculator's transcript into the console's stream.
#include "vexadrome/interface/console_transcript.h"

#include "nyuser/input/command_console.h"

namespace Vexadrome::Interface {

void ConsoleTranscript::append(char16_t unit)
{
    if (console)
        console->get$stream()->append(unit);
}

void ConsoleTranscript::append(NyCore::String const* text)
{
    if (console && text)
        console->get$stream()->append(text);
}

void ConsoleTranscript::setTextColor(std::uint32_t color, int flags)
{
    if (console)
        console->get$stream()->setTextColor(color, flags);
}

void ConsoleTranscript::clearScreen()
{
    if (console)
        console->clear();
}

void ConsoleTranscript::flush()
{
    if (console)
        console->get$stream()->flush();
}

}
