// ScriptRunner: command scripts run from the command line (vexadrome --run).
// Each value goes to standard output as the command document renders it; the
// first failing command stops the run with "NAME:LINE:COLUMN: MESSAGE" on
// standard error.
#pragma once

#include "nycore/system/owned.h"
#include "nycore/text/string_functions.h"
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
    ScriptRunner(ScriptRunner const&) = delete;
    ScriptRunner& operator=(ScriptRunner const&) = delete;

    // Runs a command script file; diagnostics name it as given and give
    // positions in the file. Only a regular file of at most
    // NyCore::IO::DocumentSizeLimit bytes is read. Returns the exit status: 0
    // when every command ran, else 1 (also for a file that cannot be read or
    // is not a command script).
    int runFile(NyCore::String const* path);
    // Runs the plain script text (UTF-8) of an input descriptor until its
    // end; more than DocumentSizeLimit bytes are refused unrun.
    int runInput(int inputFd);

private:
    using OwnedString = NyCore::Owned<NyCore::String, string_free>;

    NyCore::String const* get$text() const override { return text.get(); }
    void set$text(NyCore::String const* newText) override;
    void setSelection(int start, int length) override;
    void showMessage(NyCore::String const* caption, NyCore::String const* message, MessageKind kind) override;

    // Runs the document's script through this view; on failure failureStart is
    // the first non-blank character of the selected text, counted in the script.
    bool run(Documents::CommandDoc* document);
    // NAME:LINE:COLUMN: MESSAGE for the failure at `offset` of the text.
    void reportFailure(NyCore::String const* name, char16_t const* units, int count, int offset);
    void reportProblem(NyCore::String const* name, NyCore::String const* problem);

    Documents::DocumentHost* host;
    int outputFd;
    int errorFd;
    OwnedString text;
    OwnedString failureMessage;
    int failureStart = -1;
};

}
