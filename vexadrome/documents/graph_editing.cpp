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

// Runs the expression editor until it is cancelled or its rows compile;
// true when the document took the new expressions.
bool runExprEditor(GraphDoc* graph, Widget* dialog)
{
    bool accepted = false;
    while (!accepted && call(dialog, u"runModal"_str) == 1)
        accepted = call(dialog, u"wrExprs"_str, word(graph)) != 0;
    call(dialog, u"closeDialog"_str);
    return accepted;
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
    Widget* dialog = NyToolkit::Loader::load(ExprsForm, owner, DialogFlags);
    call(dialog, u"rdExprs"_str, word(this));
    // The list changes only when the editor's rows all compiled; a cancel leaves it as it was.
    if (runExprEditor(this, dialog))
        modified = true;
    refreshView(view);
}

void GraphDoc::onEditGraph()
{
    if (!showEditWindow(app->get$dialogOwner()))
        return;
    evaulateExprs();
    if (view) {
        app->setViewTitle(view, get$title() ? get$title() : NyCore::Text::EmptyString);
        refreshView(view);
    }
    modified = true;
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

void GraphDoc::evaulateExprs()
{
    Parsing::Error error;
    int const failed = bindAllExprs(&error);
    Widget* owner = app->get$dialogOwner();
    if (failed < 0 || !owner)
        return;
    Widget* dialog = NyToolkit::Loader::load(ExprsForm, owner, DialogFlags);
    call(dialog, u"rdExprs"_str, word(this));
    call(dialog, u"showDialog"_str);
    call(dialog, u"selectError"_str, failed, word(&error));
    runExprEditor(this, dialog);
}

}
