// What the graph dialog tests share: a host whose dialogs open over an owner
// window with a focused text box (which must have the focus back after each
// dialog), a view that counts its refreshes, and the checks that a dialog or
// a message box is on screen with the keyboard focus.
#pragma once

#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <string>
#include <vector>

#include "nycore/system/method_thunk.h"
#include "nytoolkit/table/table_viewer.h"
#include "nyuser/commondialogs/common_dialog.h"
#include "nyuser/commondialogs/msg_window.h"
#include "tests/support/forms.h"
#include "tests/support/modal_steps.h"
#include "tests/support/run_until.h"
#include "tests/support/strings.h"
#include "tests/support/windows.h"
#include "vexadrome/documents/document_host.h"
#include "vexadrome/documents/graph_doc.h"
#include "vexadrome/interface/form_dialog.h"
#include "vexadrome/interface/interface_types.h"

namespace GraphDialogTests {

using NyCore::System::Widget;
using Vexadrome::Interface::FormDialog;
using NyUser::CommonDialogs::CommonDialog;

// Stands in for the graph view: the document refreshes it by name.
class CountingView : public NyCore::Object {
    NY_REFLECTIVE(CountingView)
public:
    void refresh() { ++refreshes; }
    int refreshes = 0;
};

inline NyCore::MethodEntry const CountingViewMethods[] = {{u"refresh", NY_METHOD(CountingView::refresh)},
                                                          {nullptr, nullptr}};
inline NyCore::TypeData CountingView::MetaData = {&NyCore::Object::MetaData, nullptr,
                                                  u"GraphDialogTests.CountingView"_str, CountingViewMethods,
                                                  NyCore::NoEvents, nullptr, sizeof(CountingView), 0, nullptr};

class DialogHost : public Vexadrome::Documents::DocumentHost {
public:
    Vexadrome::Documents::ExprManager* get$store() override { return &store; }
    Widget* get$dialogOwner() override { return owner; }
    void setViewTitle(NyCore::Object*, NyCore::String const* title) override
    {
        titles.push_back(TestSupport::toUtf8(title));
    }

    Vexadrome::Documents::ExprManager store;
    Widget* owner = nullptr;
    std::vector<std::string> titles;
};

// The innermost form dialog, when it is a T.
template <typename T>
T* current()
{
    return dynamic_cast<T*>(FormDialog::get$current());
}

inline Widget* topOf(Widget* widget)
{
    namespace WF = NyCore::System::WidgetFlags;
    while (widget && widget->get$parent() && !(widget->get$flags() & (WF::TopLevel | WF::PopUp)))
        widget = widget->get$parent();
    return widget;
}

// The dialog's loop runs, it is on screen and one of its widgets has the focus.
template <typename T>
bool dialogReady()
{
    T* dialog = current<T>();
    return dialog && TestSupport::mapped(dialog) && topOf(Widget::get$focused()) == dialog;
}

// A message box runs over a dialog and has the focus.
inline bool messageReady()
{
    CommonDialog* box = CommonDialog::get$current();
    return box && TestSupport::mapped(box) && topOf(Widget::get$focused()) == box;
}

inline std::string messageText()
{
    auto* box = dynamic_cast<NyUser::CommonDialogs::MsgWindow*>(CommonDialog::get$current());
    return box ? TestSupport::toUtf8(box->get$message()) : "<no message box>";
}

inline void clickAt(Widget* widget, int x, int y)
{
    TestSupport::pointerTo(widget, x, y);
    TestSupport::click();
}

using TestSupport::typeKeys;

// The close box: the WM_DELETE_WINDOW message a window manager sends.
inline void sendDeleteWindow(Widget* window)
{
    Display* display = TestSupport::display();
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window->get$nativeWindow();
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    XSendEvent(display, window->get$nativeWindow(), False, NoEventMask, &event);
}

inline void clickMiddle(Widget* widget)
{
    clickAt(widget, widget->get$width() / 2, widget->get$height() / 2);
}

class GraphDialogTest : public TestSupport::WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        TestSupport::registerOnce(&CountingView::MetaData);
        Vexadrome::Interface::registerInterfaceTypes();
        owner = TestSupport::formFromText(uR"(<NyToolkit.Form w="300" h="80" caption="Owner">
  <NyToolkit.TextBox id="box" x="10" y="10" w="200" h="22" flags="TabStop"/></NyToolkit.Form>)");
        ownerBox = TestSupport::child(owner, u"box");
        ownerBox->focus();
        ASSERT_TRUE(TestSupport::runUntil([&] { return Widget::get$focused() == ownerBox; }));
        host.owner = owner;
    }
    void TearDown() override
    {
        if (owner)
            owner->close();
        TestSupport::runUntil([] { return true; });
    }

    // Runs `open` with the steps; afterwards no dialog runs and the owner's
    // box has the focus again.
    void play(std::function<void()> const& open, std::vector<TestSupport::ModalStep> const& steps)
    {
        // Past the limit every open dialog is ended, and Escape closes any
        // pop-up (a drop list's) a step left open, whose own loop would
        // otherwise keep running.
        std::size_t count = 0;
        bool const played = TestSupport::playModal(open, steps, [] {
            if (CommonDialog* box = CommonDialog::get$current())
                box->endDialog(-1);
            if (FormDialog* dialog = FormDialog::get$current())
                dialog->endDialog(0);
            TestSupport::tap(XK_Escape);
        }, &count);
        EXPECT_TRUE(played) << count << " of " << steps.size() << " steps played";
        EXPECT_FALSE(FormDialog::get$current());
        EXPECT_TRUE(TestSupport::runUntil([&] { return Widget::get$focused() == ownerBox; }))
            << "the owner has the focus again";
    }

    DialogHost host;
    NyToolkit::Form* owner = nullptr;
    Widget* ownerBox = nullptr;
};

}

namespace GraphDialogTests {

// The middle of a table cell, in the table's own coordinates.
inline NyCore::System::WidgetPoint cellPoint(NyToolkit::TableViewer* table, int row, int column)
{
    NyCore::System::WidgetRect const& client = table->get$client();
    int x = client.x;
    for (int i = 0; i < column; ++i)
        if (table->getColumn(i)->get$visible())
            x += table->getColumn(i)->get$width();
    int const y = client.y + (row - table->get$firstRow()) * table->get$rowHeight() + table->get$rowHeight() / 2;
    return {x + table->getColumn(column)->get$width() / 2, y};
}

// The widget has seen the release of the last click (tables, text and
// buttons hold the pointer from a press to its release, and a click sent
// meanwhile would reach them instead of its target).
inline bool released(Widget* widget)
{
    return !(widget->get$flags() & NyCore::System::WidgetFlags::PointerCaptured);
}

inline void clickCell(NyToolkit::TableViewer* table, int row, int column)
{
    NyCore::System::WidgetPoint point = cellPoint(table, row, column);
    clickAt(table, point.x, point.y);
}

}
