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

namespace Vexadrome::Expressions {
class Constant;
class Expr;
}

namespace Vexadrome::Documents {

using Definitions = NyCore::Collections::StringMap<Expressions::Function*>;

// An expression compiled as the body of a function of the graph variables:
// the linked call and its arguments, one Constant per variable, whose values
// are the inputs of each evaluation.
struct LinkedFn {
    int argCount = 0;
    // The linked call (the receiver's to delete); it owns the arguments.
    Expressions::Expr* expr = nullptr;
    // argCount pointers to the call's Constant arguments, from memory_alloc (the receiver's to free).
    Expressions::Constant** args = nullptr;
};

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

    // Compiles text as the body of a function whose parameters are the count
    // names, called with one Constant argument (1.0) per name, and links it
    // against the store. False, with the error recorded (located in text) and
    // fn left empty, when the text does not parse or link.
    bool createLinkedFn(NyCore::String const* text, NyCore::String const* const* names, int count, LinkedFn* fn,
                        Parsing::Error* error);

    // The definition named `name`, or null.
    Expressions::Function* getFunction(NyCore::String const* name);
    Definitions* get$functions() { return &functions; }

private:
    Definitions functions;
};

}
