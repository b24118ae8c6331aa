// CalculatorDoc: the calculator on the command console. The console sends the
// typed line and the history keys; the calculator session decides what a
// line means and writes the transcript back into the console's stream.
#pragma once

#include "nyuser/models/document.h"
#include "vexadrome/documents/calculator_session.h"
#include "vexadrome/documents/document_host.h"
#include "vexadrome/interface/console_transcript.h"

namespace NyUser::Input {
class CommandConsole;
}

namespace Vexadrome::Interface {

class CalculatorDoc : public NyUser::Models::Document {
    NY_REFLECTIVE(CalculatorDoc)
public:
    // The registered type of the view that createDefaultView asks for.
    static NyCore::String const* const ConsoleTypeName;
    static NyCore::String const* const FontFace;
    static constexpr int FontSize = 14;

    explicit CalculatorDoc(Documents::DocumentHost* host);
    ~CalculatorDoc() override;

    // A calculator is never saved: it writes nothing and is never modified.
    void writeTo(NyCore::IO::StreamWriter* writer) override;
    // Asks the host for a console titled like the document, links its keys,
    // gives it the fixed-width font and shows the first prompt. Null when the
    // host made no console.
    NyCore::Object* createDefaultView() override;
    bool get$isModified() const override;

    // Empties the command line and writes the prompt.
    void promptInput();
    // "escapePressed": empties the command line.
    void clearCmnd();
    // "enterPressed": runs the typed line.
    void executeCmnd();
    // "upArrowKeyPressed" and "dnArrowKeyPressed": the previous or next line of the history.
    void showPrevCmnd();
    void showNextCmnd();
    // A null line leaves the command line as typed.
    void showCmndString(NyCore::String const* s);
    // The menu commands "Clear Screen" and "View History".
    void onClearScreen();
    void onViewHistory();

    NyUser::Input::CommandConsole* get$console() const { return console; }
    Documents::CalculatorSession* get$session() { return &session; }
    Documents::DocumentHost* get$host() const { return host; }

private:
    Documents::DocumentHost* host;
    // Owned by the window that shows it.
    NyUser::Input::CommandConsole* console = nullptr;
    ConsoleTranscript transcript;
    Documents::CalculatorSession session;
};

}
