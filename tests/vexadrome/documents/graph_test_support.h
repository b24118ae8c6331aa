// What the graph document tests share: a host with its own definition store
// that records the views asked of it, and small helpers to build graphs.
#pragma once

#include <string>
#include <vector>

#include "tests/support/strings.h"
#include "vexadrome/documents/document_host.h"
#include "vexadrome/documents/graph_doc.h"

namespace GraphTests {

class GraphHost : public Vexadrome::Documents::DocumentHost {
public:
    Vexadrome::Documents::ExprManager* get$store() override { return &store; }
    NyCore::Object* createNewView(NyCore::String const* typeName, NyCore::String const* title, int flags) override
    {
        requests.push_back(TestSupport::toUtf8(typeName) + " '" + TestSupport::toUtf8(title) + "' " +
                           std::to_string(flags));
        return view;
    }

    // Stores a definition such as "f(x) = x*x"; false when it does not parse.
    bool define(std::u16string const& text)
    {
        Vexadrome::Parsing::Error error;
        return store.setFunction(TestSupport::OwnedString(text), &error);
    }

    Vexadrome::Documents::ExprManager store;
    NyCore::Object* view = nullptr;
    std::vector<std::string> requests;
};

struct Variable {
    std::u16string name;
    double min;
    double max;
    int res;
};

// Replaces the document's variables.
inline void setVariables(Vexadrome::Documents::GraphDoc* doc, std::vector<Variable> const& variables)
{
    doc->resetVariables(static_cast<int>(variables.size()));
    for (std::size_t i = 0; i < variables.size(); ++i) {
        doc->updateVariable(static_cast<int>(i), TestSupport::OwnedString(variables[i].name), variables[i].min,
                            variables[i].max, variables[i].res, 25);
    }
}

// Appends an expression with that text (not compiled) and returns it.
inline Vexadrome::Documents::GraphExpr* addExpr(Vexadrome::Documents::GraphDoc* doc, std::u16string const& text,
                                                std::u16string const& name = u"e")
{
    auto* expr = new Vexadrome::Documents::GraphExpr(doc);
    expr->set$exprString(TestSupport::OwnedString(text));
    expr->set$name(TestSupport::OwnedString(name));
    doc->appendExpr(expr);
    return expr;
}

}
