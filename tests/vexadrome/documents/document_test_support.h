// What the document tests share: a host with its own definition store that
// records the views asked of it, a recording command view that notes every
// message box and selection as a line of text, and small graph builders.
#pragma once

#include <string>
#include <vector>

#include "nycore/system/object.h"
#include "nycore/text/string_functions.h"
#include "tests/support/strings.h"
#include "vexadrome/documents/command_view.h"
#include "vexadrome/documents/document_host.h"
#include "vexadrome/documents/graph_doc.h"

namespace DocumentTests {

using TestSupport::OwnedString;
using TestSupport::toUtf8;

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
    // Stores a definition such as "f(x) = x*x"; false when it does not parse.
    bool define(std::u16string const& text)
    {
        Vexadrome::Parsing::Error error;
        return store.setFunction(OwnedString(text), &error);
    }

    Vexadrome::Documents::ExprManager store;
    NyCore::Object* view = nullptr;
    std::vector<std::string> requests;
};

struct Variable {
    std::u16string name;
    double min, max;
    int res;
};

// Replaces the document's variables.
inline void setVariables(Vexadrome::Documents::GraphDoc* doc, std::vector<Variable> const& variables)
{
    doc->resetVariables(static_cast<int>(variables.size()));
    for (std::size_t i = 0; i < variables.size(); ++i) {
        doc->updateVariable(static_cast<int>(i), OwnedString(variables[i].name), variables[i].min, variables[i].max,
                            variables[i].res, 25);
    }
}

// Appends an expression with that text (not compiled) and returns it.
inline Vexadrome::Documents::GraphExpr* addExpr(Vexadrome::Documents::GraphDoc* doc, std::u16string const& text,
                                                std::u16string const& name = u"e")
{
    auto* expr = new Vexadrome::Documents::GraphExpr(doc);
    expr->set$exprString(OwnedString(text));
    expr->set$name(OwnedString(name));
    doc->appendExpr(expr);
    return expr;
}

}
