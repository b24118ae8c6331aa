// Running command scripts: splitting at ';', storing definitions, evaluating
// expressions and reporting their values and the first failure.
#include "vexadrome/documents/command_doc.h"

#include "nycore/system/method_thunk.h"
#include "nycore/text/string_functions.h"
#include "vexadrome/actions/expr_value_calculator.h"
#include "vexadrome/documents/command_writer.h"
#include "vexadrome/documents/value_formatter.h"

namespace Vexadrome::Documents {

namespace {

NyCore::MethodEntry const CommandDocMethods[] = {
    {u"onExecute", NY_METHOD(CommandDoc::onExecute)},
    {nullptr, nullptr},
};

}

NyCore::TypeData CommandDoc::MetaData = {&NyUser::Models::Document::MetaData, nullptr,
                                         u"Vexadrome.Documents.CommandDoc"_str, CommandDocMethods,
                                         NyCore::NoEvents, nullptr, sizeof(CommandDoc), 0, nullptr};

NyCore::String const* const CommandDoc::ViewTypeName = u"Vexadrome.Interface.CommandTextView"_str;
NyCore::String const* const CommandDoc::Caption = u"Vexadrome"_str;
NyCore::String const* const CommandDoc::SuccessMessage = u"Successfully executed the commands(s)."_str;

CommandDoc::CommandDoc(DocumentHost* host) : Document(host), host(host), text(string_copy(NyCore::Text::EmptyString))
{
}

CommandDoc::~CommandDoc()
{
    string_free(text);
}

void CommandDoc::writeTo(NyCore::IO::StreamWriter* writer)
{
    CommandWriter::write(writer, this);
}

void CommandDoc::markSaved()
{
    if (view)
        set$commandString(get$commandString());
}

NyCore::Object* CommandDoc::createDefaultView()
{
    NyCore::Object* created = host->createNewView(ViewTypeName, get$title(), 0);
    if (auto* commandView = dynamic_cast<CommandView*>(created))
        set$view(commandView);
    return created;
}

bool CommandDoc::get$isModified() const
{
    if (view == nullptr)
        return false;
    NyCore::String const* live = view->get$text() ? view->get$text() : NyCore::Text::EmptyString;
    return string_compare(live, text) != 0;
}

NyCore::String const* CommandDoc::get$commandString() const
{
    if (view && view->get$text())
        return view->get$text();
    return view ? NyCore::Text::EmptyString : text;
}

void CommandDoc::set$commandString(NyCore::String const* s)
{
    NyCore::String* copy = string_copy(s ? s : NyCore::Text::EmptyString);
    string_free(text);
    text = copy;
}

void CommandDoc::set$view(CommandView* newView)
{
    view = newView;
    if (view)
        view->set$text(text);
}

void CommandDoc::onExecute()
{
    // The view's text may change while the run shows its message boxes.
    NyCore::String* script = string_copy(get$commandString());
    processCmndList(script);
    string_free(script);
}

bool CommandDoc::processCmndList(NyCore::String const* script)
{
    if (script == nullptr)
        script = NyCore::Text::EmptyString;
    int const length = script->get$length();
    char16_t const* units = script->units();
    NyCore::Text::TextBuffer command;
    int start = 0;
    bool more = true;
    do {
        int end = start;
        while (end < length && units[end] != u';')
            ++end;
        if (end == length)
            more = false;
        command.reset();
        command.append(script, start, end - start);
        if (isNotEmpty(command.get$text()) && !processCmnd(command.get$text(), start))
            return false;
        start = end + 1;
    } while (more && start < length);
    showMessage(SuccessMessage, CommandView::MessageKind::Completed);
    return true;
}

bool CommandDoc::processCmnd(NyCore::String const* command, int offset)
{
    Parsing::Error error;
    bool succeeded = string_count(command, u'=') > 0 ? assignFunction(command, &error) : evaluateExpr(command, &error);
    if (!succeeded)
        handleError(&error, offset, command->count);
    return succeeded;
}

bool CommandDoc::assignFunction(NyCore::String const* command, Parsing::Error* error)
{
    return host->get$store()->setFunction(command, error);
}

bool CommandDoc::evaluateExpr(NyCore::String const* command, Parsing::Error* error)
{
    Actions::ExprValueCalculator calculator;
    NyCore::Text::TextBuffer buffer;
    bool succeeded = host->get$store()->evaulateExpr(command, &calculator, error);
    if (succeeded) {
        formatResult(&buffer, &calculator);
        showMessage(buffer.get$text(), CommandView::MessageKind::Value);
    }
    return succeeded;
}

bool CommandDoc::isNotEmpty(NyCore::String const* s)
{
    for (int i = 0; i < s->get$length(); ++i) {
        char16_t c = s->units()[i];
        if (c != u' ' && c != u'\t' && c != u'\n' && c != u'\r')
            return true;
    }
    return false;
}

void CommandDoc::handleError(Parsing::Error const* error, int offset, int length)
{
    showMessage(Res::Strings::errorMessage(error->code), CommandView::MessageKind::Failure);
    if (view == nullptr)
        return;
    if (error->hasLocation())
        view->setSelection(offset + error->start, error->length);
    else
        view->setSelection(offset, length);
}

void CommandDoc::formatResult(NyCore::Text::TextBuffer* buffer, Actions::ExprValueCalculator const* calculator)
{
    ValueFormatter::appendTo(buffer, calculator, u" ");
}

void CommandDoc::showMessage(NyCore::String const* message, CommandView::MessageKind kind)
{
    if (view)
        view->showMessage(Caption, message, kind);
}

}
