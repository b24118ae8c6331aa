// Wires a CalculatorSession to the terminal: a line reader on the input and
// a terminal writer on the output.
#include "vexadrome/interface/terminal_calculator.h"

#include <unistd.h>

#include "nycore/text/string_functions.h"
#include "vexadrome/documents/calculator_session.h"
#include "vexadrome/interface/line_reader.h"
#include "vexadrome/interface/terminal_writer.h"

namespace Vexadrome::Interface {

int runTerminalCalculator(Documents::ExprManager* store, int inputFd, int outputFd)
{
    TerminalWriter output(outputFd);
    Documents::CalculatorSession session(store, &output);
    LineReader reader(inputFd, &output, session.get$history(), "math> ");
    // A terminal shows what is typed; a transcript read from a pipe shows each
    // line after its prompt, as the windowed calculator does.
    session.echoInput = ::isatty(inputFd) != 1;
    session.promptInput();
    while (NyCore::String* line = reader.readLine()) {
        session.executeCmnd(line);
        string_free(line);
    }
    output.append(u'\n');
    output.flush();
    return 0;
}

}
