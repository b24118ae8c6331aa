// The modal loop of the common dialogs: focus taken and handed back, button
// numbers as results, and Escape and the close box as the close request.
#include "nyuser/commondialogs/common_dialog.h"

#include "nycore/graphics/font.h"
#include "nycore/system/event_loop.h"
#include "nycore/system/method_thunk.h"
#include "nytoolkit/buttons/text_button.h"
#include "nytoolkit/styles/style.h"

namespace NyUser::CommonDialogs {

namespace WF = NyCore::System::WidgetFlags;
using NyCore::System::EventLoop;
using NyCore::System::Widget;

namespace {

constexpr int EscapeKey = 27;

NyCore::MethodEntry const CommonDialogMethods[] = {{u"onButton0", NY_METHOD(CommonDialog::onButton0)},
                                                   {u"onButton1", NY_METHOD(CommonDialog::onButton1)},
                                                   {u"onButton2", NY_METHOD(CommonDialog::onButton2)},
                                                   {nullptr, nullptr}};

// The dialogs whose loops run, innermost first, chained through `outer`.
CommonDialog* innermost = nullptr;

Widget* topLevelOf(Widget* widget)
{
    while (widget && widget->get$parent() && !(widget->get$flags() & (WF::TopLevel | WF::PopUp)))
        widget = widget->get$parent();
    return widget;
}

// Whether `widget` is `root` or one of its descendants: the widget that had
// the focus may have gone away while the dialog ran.
bool holds(Widget* root, Widget* widget)
{
    if (root == widget)
        return true;
    Widget* first = root->get$firstChild();
    if (!first)
        return false;
    Widget* child = first;
    do {
        if (holds(child, widget))
            return true;
        child = child->get$nextSibling();
    } while (child != first);
    return false;
}

// Whether the widget belongs to a dialog that has ended but is not deleted yet
// (a closed window goes at the end of the event loop's round), or to a
// window hidden before it closes.
bool inEndedDialog(Widget* widget)
{
    for (; widget; widget = widget->get$parent()) {
        if (auto* dialog = dynamic_cast<NyUser::CommonDialogs::CommonDialog*>(widget); dialog && dialog->isEnding())
            return true;
        if ((widget->get$flags() & (WF::TopLevel | WF::Hidden)) == (WF::TopLevel | WF::Hidden))
            return true;
    }
    return false;
}

// The widget the last dialog to close gave the focus back to. The server
// reports the change only later, so a dialog opened right after another finds
// the focus still on its way there.
Widget* focusHandedBack = nullptr;

}

NyCore::TypeData CommonDialog::MetaData = {&NyToolkit::NytkWidget::MetaData, nullptr,
                                           u"NyUser.CommonDialogs.CommonDialog"_str, CommonDialogMethods,
                                           NyCore::NoEvents, &CommonDialog::__create, sizeof(CommonDialog), 0,
                                           nullptr};

CommonDialog::~CommonDialog()
{
    // Deleted while its loop runs (its owner's window went away): the loop ends as closed.
    if (deletedFlag) {
        *deletedFlag = true;
        EventLoop::exit(loop, -1);
    }
    leaveChain();
}

NyCore::Object* CommonDialog::__create()
{
    return new CommonDialog();
}

int CommonDialog::fontHeight()
{
    return NyToolkit::Style::getDefaultStyle(NyToolkit::Style::Control)->get$font()->get$height();
}

CommonDialog* CommonDialog::createWindow(Widget* owner, char16_t const* className, int width, int height,
                                         std::uint32_t extraFlags)
{
    NyCore::System::WidgetPoint screen;
    Widget::screenSize(&screen);
    // Modal over the owner's whole window, so that none of its controls takes input meanwhile.
    return static_cast<CommonDialog*>(Widget::create(topLevelOf(owner), className,
                                                     WF::TopLevel | WF::Modal | WF::Hidden | extraFlags,
                                                     (screen.x - width) / 2, (screen.y - height) / 2, width,
                                                     height));
}

CommonDialog* CommonDialog::get$current()
{
    return innermost;
}

void CommonDialog::leaveChain()
{
    for (CommonDialog** link = &innermost; *link; link = &(*link)->outer) {
        if (*link == this) {
            *link = outer;
            break;
        }
    }
    outer = nullptr;
}

NyToolkit::Buttons::TextButton* CommonDialog::addButton(NyCore::String const* label, int number, int x, int y,
                                                        int w, int h)
{
    static NyCore::Method const handlers[] = {NY_METHOD(CommonDialog::onButton0), NY_METHOD(CommonDialog::onButton1),
                                              NY_METHOD(CommonDialog::onButton2)};
    auto* button = static_cast<NyToolkit::Buttons::TextButton*>(
        Widget::create(this, u"NyUser.CommonDialogs.DialogButton", WF::TabStop, x, y, w, h));
    button->setLabel(label);
    NyCore::Object::link(button, this, u"click", handlers[number]);
    return button;
}

Widget* CommonDialog::focusReturnFor(Widget* ownerWindow)
{
    Widget* owner = Widget::get$focused();
    bool const stale = !owner || !ownerWindow || !holds(ownerWindow, owner) || inEndedDialog(owner);
    if (stale && focusHandedBack && ownerWindow && holds(ownerWindow, focusHandedBack) &&
        !inEndedDialog(focusHandedBack))
        owner = focusHandedBack;
    focusHandedBack = nullptr;
    return owner;
}

void CommonDialog::handFocusBack(Widget* ownerWindow, Widget* owner)
{
    if (owner && ownerWindow && holds(ownerWindow, owner))
        focusHandedBack = owner;
    else
        focusHandedBack = ownerWindow;
    if (focusHandedBack)
        focusHandedBack->focus();
}

int CommonDialog::runModal(Widget* first)
{
    Widget* owner = focusReturnFor(parent);
    Widget loopOwner;
    bool deleted = false;
    loop = &loopOwner;
    deletedFlag = &deleted;
    outer = innermost;
    innermost = this;
    show();
    moveToForeground();
    if (first)
        first->focus();
    int result = EventLoop::execute(&loopOwner);
    if (deleted)
        return -1;
    loop = nullptr;
    deletedFlag = nullptr;
    leaveChain();
    Widget* ownerWindow = parent;
    // close() may delete the dialog at once (outside any loop): nothing of it is used afterwards.
    close();
    handFocusBack(ownerWindow, owner);
    return result;
}

void CommonDialog::endDialog(int result)
{
    if (ending || !loop)
        return;
    ending = true;
    EventLoop::exit(loop, result);
}

void CommonDialog::onButton(int number)
{
    endDialog(number);
}

void CommonDialog::onEscape()
{
    endDialog(-1);
}

bool CommonDialog::suggestClose()
{
    onEscape();
    return false;
}

void CommonDialog::onCharKeyDown(int code, int modifiers)
{
    if (code == EscapeKey)
        onEscape();
    else
        NytkWidget::onCharKeyDown(code, modifiers);
}

bool CommonDialog::escapeFrom(Widget* control)
{
    for (Widget* widget = control; widget; widget = widget->get$parent()) {
        if (auto* dialog = dynamic_cast<CommonDialog*>(widget)) {
            dialog->onEscape();
            return true;
        }
        if (widget->get$flags() & (WF::TopLevel | WF::PopUp))
            break;
    }
    return false;
}

}
