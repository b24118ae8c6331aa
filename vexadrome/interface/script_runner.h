// ScriptRunner: command scripts run from the command line (vexadrome --run).
// Each value goes to standard output as the command document renders it; the
// first failing command stops the run with "NAME:LINE:COLUMN: MESSAGE" on
// standard error.
#pragma once

#include "vexadrome/documents/command_doc.h"
#include "vexadrome/documents/command_view.h"
#include "vexadrome/documents/document_host.h"

namespace Vexadrome::Interface {

class ScriptRunner : private Documents::CommandView {
public:
    // The name under which standard input appears in diagnostics.
    static NyCore::String const* const InputName;

    // Definitions go to the host's store; output goes to the two descriptors.
    ScriptRunner(Documents::DocumentHost* host, int outputFd, int errorFd);
    ~ScriptRunner() override;
    ScriptRunner(ScriptRunner const&) = delete;
    ScriptRunner& operator=(ScriptRunner const&) = delete;

    // Runs a command script file; diagnostics name it as given. Positions are
    // those of the file when the script can be found in it, else of the
    // script. Returns the exit status: 0 when every command ran, else 1 (also
    // for a file that cannot be read or is not a command script).
    int runFile(NyCore::String const* path);
    // Runs the plain script text (UTF-8) of an input descriptor until its end.
    int runInput(int inputFd);
    // Runs script text; diagnostics count lines and columns within it.
    int runText(NyCore::String const* name, NyCore::String const* script);

private:
    NyCore::String const* get$text() const override { return text; }
    void set$text(NyCore::String const* newText) override;
    void setSelection(int start, int length) override;
    void showMessage(NyCore::String const* caption, NyCore::String const* message, MessageKind kind) override;

    // Runs the document's script through this view; on failure failureStart is
    // the first non-blank character of the selected text, counted in the script.
    bool run(Documents::CommandDoc* document);
    void reportFailure(NyCore::String const* name, NyCore::String const* source, int sourceOffset);
    void reportProblem(NyCore::String const* name, NyCore::String const* problem);

    Documents::DocumentHost* host;
    int outputFd;
    int errorFd;
    NyCore::String* text = nullptr;
    NyCore::String const* failureMessage = nullptr;
    int failureStart = -1;
};

}
