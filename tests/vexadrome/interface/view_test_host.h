// What the windowed document tests share: a host that puts each requested
// view into a top-level window of its own and gives it the focus, and typing
// on the keyboard through XTest.
#pragma once

#include <X11/keysym.h>

#include <string>
#include <vector>

#include "nycore/system/widget.h"
#include "tests/support/run_until.h"
#include "tests/support/strings.h"
#include "tests/support/windows.h"
#include "vexadrome/documents/document_host.h"

namespace ViewTests {

inline void settle()
{
    TestSupport::runUntil([] { return true; });
}

// Types text on the keyboard, with Shift for the characters that need it;
// a line feed is Enter.
inline void type(std::string const& text)
{
    TestSupport::typeKeys(text);
    settle();
}

// Each view asked for fills a new top-level window, titled like the
// document, and has the focus when it comes back, as in the main window.
class WindowHost : public Vexadrome::Documents::DocumentHost {
public:
    static constexpr int Width = 480;
    static constexpr int Height = 360;

    ~WindowHost() override { closeAll(); }

    Vexadrome::Documents::ExprManager* get$store() override { return &store; }
    NyCore::Object* createNewView(NyCore::String const* typeName, NyCore::String const* title, int) override
    {
        int const offset = static_cast<int>(windows.size()) * 40;
        NyCore::System::Widget* window =
            TestSupport::topWindow(Width, Height, u"NyCore.System.Widget", 20 + offset, 20 + offset);
        window->setCaption(title);
        std::uint32_t const fill = NyCore::System::WidgetFlags::AnchorWidth | NyCore::System::WidgetFlags::AnchorHeight;
        NyCore::System::Widget* view =
            NyCore::System::Widget::create(window, typeName->units(), fill, 0, 0, Width, Height);
        windows.push_back(window);
        focus(view);
        return view;
    }

    // Gives the view the focus and waits until it (or a child it handed it to) has it.
    static void focus(NyCore::System::Widget* view)
    {
        view->focus();
        TestSupport::runUntil([view] {
            for (NyCore::System::Widget* w = NyCore::System::Widget::get$focused(); w; w = w->get$parent()) {
                if (w == view)
                    return true;
            }
            return false;
        });
        settle();
    }

    void closeAll()
    {
        for (NyCore::System::Widget* window : windows)
            window->close();
        windows.clear();
        settle();
    }

    Vexadrome::Documents::ExprManager store;
    std::vector<NyCore::System::Widget*> windows;
};

}
