// The modal run of the form dialogs: the focus bookkeeping is the common
// dialogs' own, so that a dialog opened right after another finds the focus
// where the first one handed it.
#include "vexadrome/interface/form_dialog.h"

#include "nycore/system/event_loop.h"
#include "nycore/system/exceptions.h"
#include "nycore/system/method_thunk.h"
#include "nytoolkit/lists/drop_list.h"
#include "nyuser/commondialogs/common_dialog.h"

namespace Vexadrome::Interface {

namespace {

constexpr int EscapeKey = 27;

NyCore::MethodEntry const FormDialogMethods[] = {{u"runModal", NY_METHOD(FormDialog::runModal)},
                                                 {u"closeDialog", NY_METHOD(FormDialog::closeDialog)},
                                                 {u"showDialog", NY_METHOD(FormDialog::showDialog)},
                                                 {nullptr, nullptr}};

FormDialog* innermost = nullptr;

}

NyCore::TypeData FormDialog::MetaData = {&NyToolkit::Form::MetaData, nullptr, u"Vexadrome.Interface.FormDialog"_str,
                                         FormDialogMethods, NyCore::NoEvents, nullptr, sizeof(FormDialog), 0,
                                         nullptr};

FormDialog::~FormDialog()
{
    for (FormDialog** link = &innermost; *link; link = &(*link)->outer) {
        if (*link == this) {
            *link = outer;
            break;
        }
    }
}

FormDialog* FormDialog::get$current()
{
    return innermost;
}

void FormDialog::showDialog()
{
    if (shown)
        return;
    shown = true;
    focusReturn = NyUser::CommonDialogs::CommonDialog::focusReturnFor(parent);
    watchKeys(this, &FormDialog::watchKey);
    show();
    moveToForeground();
    if (initialFocus)
        initialFocus->focus();
    else
        focus();
}

int FormDialog::runModal()
{
    showDialog();
    running = true;
    outer = innermost;
    innermost = this;
    int result = NyCore::System::EventLoop::execute(this);
    innermost = outer;
    outer = nullptr;
    running = false;
    return result;
}

void FormDialog::endDialog(int result)
{
    if (running)
        NyCore::System::EventLoop::exit(this, result);
}

void FormDialog::closeDialog()
{
    unwatchKeys(this);
    NyCore::System::Widget* ownerWindow = parent;
    NyCore::System::Widget* owner = focusReturn;
    // Hidden first, so that the focus still reported in it counts as gone.
    hide();
    close();
    NyUser::CommonDialogs::CommonDialog::handFocusBack(ownerWindow, owner);
}

void FormDialog::missingWidget(NyCore::String const* id)
{
    NY_THROW(InvalidIndexException(id));
}

bool FormDialog::suggestClose()
{
    onEscape();
    return false;
}

void FormDialog::onEscape()
{
    endDialog(cancelResult);
}

bool FormDialog::watchKey(NyCore::System::Widget* watcher, int code, int modifiers)
{
    if (code != EscapeKey)
        return false;
    // An open drop list closes its pop-up on Escape, and only that.
    if (auto* list = dynamic_cast<NyToolkit::DropList*>(get$focused()); list && list->get$popUp())
        return false;
    if (modifiers & NyCore::System::KeyModifiers::Down)
        static_cast<FormDialog*>(watcher)->onEscape();
    return true;
}

}
