// What the command document tests share: a host with its own definition store
// that can hand out a recording view, and the recording view itself, which
// notes every message box and selection as a line of text.
#pragma once

#include <string>
#include <vector>

#include "nycore/system/object.h"
#include "nycore/text/string_functions.h"
#include "tests/support/strings.h"
#include "vexadrome/documents/command_view.h"
#include "vexadrome/documents/document_host.h"

namespace TestSupport {

// A view that records "value TEXT", "failure TEXT", "success TEXT" and
// "select START+LENGTH", each with the box's caption checked on the way.
class RecordingCommandView : public NyCore::Object, public Vexadrome::Documents::CommandView {
public:
    NyCore::String const* get$text() const override { return text; }
    void set$text(NyCore::String const* newText) override { text = OwnedString(string_copy(newText)); }
    // What the user does when typing into the view.
    void type(std::u16string const& newText) { text = OwnedString(newText); }
    void setSelection(int start, int length) override
    {
        events.push_back("select " + std::to_string(start) + "+" + std::to_string(length));
    }
    void showMessage(NyCore::String const* caption, NyCore::String const* message, MessageKind kind) override
    {
        char const* name = kind == MessageKind::Value ? "value " : kind == MessageKind::Failure ? "failure " : "success ";
        events.push_back(toUtf8(caption) == "Vexadrome" ? name + toUtf8(message) : "wrong caption " + toUtf8(caption));
    }

    OwnedString text{u""};
    std::vector<std::string> events;
};

// A host without windows, unless it is given a view to hand out.
class TestHost : public Vexadrome::Documents::DocumentHost {
public:
    Vexadrome::Documents::ExprManager* get$store() override { return &store; }
    NyCore::Object* createNewView(NyCore::String const* typeName, NyCore::String const* title, int flags) override
    {
        requests.push_back(toUtf8(typeName) + " '" + toUtf8(title) + "' " + std::to_string(flags));
        return view;
    }

    Vexadrome::Documents::ExprManager store;
    NyCore::Object* view = nullptr;
    std::vector<std::string> requests;
};

}
