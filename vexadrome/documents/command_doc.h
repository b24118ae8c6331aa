// CommandDoc: a script of definitions and expressions separated by ';' that
// runs as a whole. Definitions go to the shared store, each value and the
// first failure are shown through the document's CommandView, and the failing
// command is selected in the script.
#pragma once

#include "nycore/text/text_buffer.h"
#include "nyuser/models/document.h"
#include "vexadrome/documents/command_view.h"
#include "vexadrome/documents/document_host.h"
#include "vexadrome/parsing/error.h"

namespace Vexadrome::Actions {
class ExprValueCalculator;
}

namespace Vexadrome::Documents {

class CommandDoc : public NyUser::Models::Document {
    NY_REFLECTIVE(CommandDoc)
public:
    // The registered type of the view that createDefaultView asks for.
    static NyCore::String const* const ViewTypeName;
    static NyCore::String const* const Caption;
    static NyCore::String const* const SuccessMessage;

    explicit CommandDoc(DocumentHost* host);
    ~CommandDoc() override;

    // Writes the command script file with the view's live text.
    void writeTo(NyCore::IO::StreamWriter* writer) override;
    // Copies the view's text into the document's own: it is no longer modified.
    void markSaved() override;
    // Asks the host for a command text view titled like the document and gives
    // it the script. Without windows the host makes none: the result is null
    // and the document keeps running without a view.
    NyCore::Object* createDefaultView() override;
    // True exactly when a view exists and its text differs from the text last loaded or saved.
    bool get$isModified() const override;

    // The view's live text when there is a view, else the document's own.
    NyCore::String const* get$commandString() const;
    // Replaces the document's own text; the view is not touched.
    void set$commandString(NyCore::String const* s);
    CommandView* get$view() const { return view; }
    // Attaches a view (borrowed; null detaches) and gives it the document's text.
    void set$view(CommandView* newView);
    DocumentHost* get$host() const { return host; }

    // The "Execute" menu command: runs the script as it stands.
    void onExecute();
    // Runs the commands of the script in order up to the first failure; then
    // reports success. True when every command succeeded.
    bool processCmndList(NyCore::String const* script);
    // Runs one command that starts at `offset` in the script; on failure
    // reports it and selects the offending text.
    bool processCmnd(NyCore::String const* command, int offset);
    bool assignFunction(NyCore::String const* command, Parsing::Error* error);
    // Evaluates the expression and shows its value.
    bool evaluateExpr(NyCore::String const* command, Parsing::Error* error);
    // True when s holds a character other than space, tab, line feed and carriage return.
    static bool isNotEmpty(NyCore::String const* s);
    // Shows the error's message and selects the offending token (positioned
    // errors) or the whole command that starts at offset.
    void handleError(Parsing::Error const* error, int offset, int length);

    // The value as text: "2.5", "(1, 2, 3)" or "[[1, 2]\n [3, 4]]".
    static void formatResult(NyCore::Text::TextBuffer* buffer, Actions::ExprValueCalculator const* calculator);

private:
    void showMessage(NyCore::String const* text, CommandView::MessageKind kind);

    DocumentHost* host;
    CommandView* view = nullptr;
    NyCore::String* text;
};

}
