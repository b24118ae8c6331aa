// ExprManager: the application's store of user variables and functions,
// shared by every calculator, command script and graph. Bodies stay unlinked;
// each evaluation links them afresh against the store as it is then.
#pragma once

#include "nycore/collection/string_map.h"
#include "vexadrome/expressions/function.h"
#include "vexadrome/parsing/error.h"

namespace Vexadrome::Parsing {
class Scanner;
}

namespace Vexadrome::Actions {
class ExprValueCalculator;
}

namespace Vexadrome::Documents {

using Definitions = NyCore::Collections::StringMap<Expressions::Function*>;

class ExprManager {
public:
    ExprManager() = default;
    ~ExprManager();
    ExprManager(ExprManager const&) = delete;
    ExprManager& operator=(ExprManager const&) = delete;

    // Parses, links and evaluates one expression into the calculator; true when no error was recorded.
    bool evaulateExpr(NyCore::String const* text, Actions::ExprValueCalculator* calculator, Parsing::Error* error);
    // Parses one definition ("x = ...", "f(a, b) = ...") and stores it; true on success.
    bool setFunction(NyCore::String const* text, Parsing::Error* error);
    // Stores `function` under `name`, destroying an earlier definition of that name.
    void setFunction(NyCore::String const* name, Expressions::Function* function);
    // Reads what follows a definition's name up to and including '='; a new
    // Function with the parameters, or null with the error recorded.
    Expressions::Function* readParamList(Parsing::Scanner* scanner, Parsing::Error* error);
    // Checks a parameter list after '(' up to ')'; the parameter count or -1.
    int validateParamList(Parsing::Scanner* scanner, Parsing::Error* error);

    // The definition named `name`, or null.
    Expressions::Function* getFunction(NyCore::String const* name);
    Definitions* get$functions() { return &functions; }

private:
    Definitions functions;
};

}
