// The graph document's dialogs: the options, expressions and lights editors,
// loaded from their form files over the host's window and run modally. The
// dialog classes belong to the windowed program; the document reaches them
// only through their registered methods, by name.
#include "nycore/system/widget.h"
#include "nytoolkit/forms/loader.h"
#include "vexadrome/documents/graph_doc.h"

namespace Vexadrome::Documents {

namespace {

using NyCore::System::Widget;

NyCore::String const* const OptionsForm = u"forms/grphedit.form"_str;
NyCore::String const* const ExprsForm = u"forms/expredit.form"_str;
NyCore::String const* const LightsForm = u"forms/lightedit.form"_str;

// Modal over the owner, and hidden until the dialog has been filled and shows itself.
constexpr std::uint32_t DialogFlags = NyCore::System::WidgetFlags::Modal | NyCore::System::WidgetFlags::Hidden;

int call(NyCore::Object* receiver, NyCore::String const* method)
{
    return receiver->invokeMethod(method, nullptr);
}

int call(NyCore::Object* receiver, NyCore::String const* method, std::intptr_t a, std::intptr_t b = 0)
{
    NyCore::Object::CallbackParams params = {2, {a, b}};
    return receiver->invokeMethod(method, &params);
}

std::intptr_t word(void const* pointer)
{
    return reinterpret_cast<std::intptr_t>(pointer);
}

// The view is the windowed program's: its "refresh" is found by name.
void refreshView(NyCore::Object* view)
{
    if (!view)
        return;
    NyCore::Type* type = view->getType();
    if (NyCore::Method refresh = type ? type->getMethod(u"refresh") : nullptr)
        view->invokeMethod(refresh, nullptr);
}

// The expression editor over the graph, run until it is cancelled or its rows
// compile; with `failed` at an expression it opens there, showing `error`.
// Taken, the new expressions make the document modified; either way the view
// shows the expressions as they are now (a timer for one that uses time).
void runExprEditor(GraphDoc* graph, Widget* owner, int failed, Parsing::Error const* error)
{
    Widget* dialog = NyToolkit::Loader::load(ExprsForm, owner, DialogFlags);
    call(dialog, u"rdExprs"_str, word(graph));
    if (failed >= 0) {
        call(dialog, u"showDialog"_str);
        call(dialog, u"selectError"_str, failed, word(error));
    }
    bool accepted = false;
    while (!accepted && call(dialog, u"runModal"_str) == 1)
        accepted = call(dialog, u"wrExprs"_str, word(graph)) != 0;
    call(dialog, u"closeDialog"_str);
    if (accepted)
        graph->modified = true;
    refreshView(graph->view);
}

}

void GraphDoc::onEditLights()
{
    Widget* owner = app->get$dialogOwner();
    if (!owner)
        return;
    Widget* dialog = NyToolkit::Loader::load(LightsForm, owner, DialogFlags);
    call(dialog, u"rdLights"_str, word(this));
    if (call(dialog, u"runModal"_str) == 1) {
        call(dialog, u"wrLights"_str, word(this));
        modified = true;
    }
    call(dialog, u"closeDialog"_str);
}

void GraphDoc::onEditExprs()
{
    Widget* owner = app->get$dialogOwner();
    if (!owner)
        return;
    // The list changes only when the editor's rows all compiled; a cancel leaves it as it was.
    runExprEditor(this, owner, -1, nullptr);
}

void GraphDoc::onEditGraph()
{
    if (!showEditWindow(app->get$dialogOwner()))
        return;
    modified = true;
    if (view)
        app->setViewTitle(view, get$title() ? get$title() : NyCore::Text::EmptyString);
    // The editor, when an expression now fails, refreshes the view itself.
    if (!evaulateExprs())
        refreshView(view);
}

bool GraphDoc::showEditWindow(Widget* owner)
{
    if (!owner)
        return false;
    Widget* dialog = NyToolkit::Loader::load(OptionsForm, owner, DialogFlags);
    call(dialog, u"readOptions"_str, word(this));
    bool const accepted = call(dialog, u"runModal"_str) == 1;
    if (accepted)
        call(dialog, u"applyOptions"_str, word(this));
    call(dialog, u"closeDialog"_str);
    return accepted;
}

bool GraphDoc::evaulateExprs()
{
    Parsing::Error error;
    int const failed = bindAllExprs(&error);
    return failed >= 0 && showExprError(failed, error);
}

bool GraphDoc::showExprError(int index, Parsing::Error const& error)
{
    Widget* owner = app->get$dialogOwner();
    if (!owner)
        return false;
    runExprEditor(this, owner, index, &error);
    return true;
}

}
