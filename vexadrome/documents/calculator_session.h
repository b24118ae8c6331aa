// CalculatorSession: what a calculator does with an entered line: store a
// definition or evaluate an expression, and write the transcript ("math> ",
// "answ> ", the error marker and "errr> "). The windowed calculator and the
// terminal calculator both drive one of these.
#pragma once

#include "vexadrome/documents/command_history.h"
#include "vexadrome/documents/expr_manager.h"
#include "vexadrome/documents/transcript_writer.h"

namespace Vexadrome::Actions {
class ExprValueCalculator;
}

namespace Vexadrome::Documents {

class CalculatorSession {
public:
    static constexpr std::uint32_t ResultColor = 0x0000FF;
    static constexpr std::uint32_t ErrorColor = 0xFF0000;

    // The store is shared and outlives the session; the output is borrowed.
    CalculatorSession(ExprManager* store, TranscriptWriter* output) : store(store), output(output) {}

    // Writes the prompt "math> ".
    void promptInput();
    // Runs an entered line: nothing for an empty line; "history" and "clear"
    // (any case, the whole line) as commands; otherwise the line is added to
    // the history, echoed, processed and followed by a new prompt.
    void executeCmnd(NyCore::String const* line);
    // Stores a definition (a line with '=') or evaluates an expression, and
    // prints the result or the error.
    void processCmnd(NyCore::String const* line);
    // "answ> " and the value; a matrix's rows stand under its first row.
    void printResult(Actions::ExprValueCalculator const* calculator);
    void printError(Parsing::Error const* error);
    // Lists the history, numbered from 0, then prompts.
    void onViewHistory();
    void onClearScreen();

    CommandHistory* get$history() { return &history; }

    // Whether executeCmnd writes the entered line after the prompt. A terminal
    // that echoes what is typed turns it off.
    bool echoInput = true;

private:
    void writeText(char16_t const* text);

    ExprManager* store;
    TranscriptWriter* output;
    CommandHistory history;
};

}
