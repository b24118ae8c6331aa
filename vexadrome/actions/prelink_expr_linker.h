// PrelinkExprLinker: turns an unlinked tree into an evaluable Expr tree against
// the user's definitions: resolves names, checks the types and shapes of
// operands, and links a fresh copy of a definition's body for each use.
#pragma once

#include "nycore/collection/string_map.h"
#include "vexadrome/expressions/expr.h"
#include "vexadrome/expressions/function.h"
#include "vexadrome/expressions/prelink.h"
#include "vexadrome/parsing/error.h"

namespace Vexadrome::Actions {

class PrelinkExprLinker : public Expressions::PrelinkHandler {
public:
    using Definitions = NyCore::Collections::StringMap<Expressions::Function*>;

    // Links a typed expression. Returns the new tree (the caller's) or null
    // with the error recorded. Errors inside a stored definition are located
    // at the place in root where that definition is used. root and the
    // definitions are not changed.
    static Expressions::Expr* link(Expressions::Prelink* root, Definitions* definitions, Parsing::Error* error);
    // Links the body of `function` as the callee of `call`, whose arguments
    // are linked already; the body's parameter names refer to them. Returns the
    // linked body (the caller makes it the call's body) or null. The body is
    // treated as typed text: its errors keep their own locations in it.
    static Expressions::Expr* link(Expressions::Function* function, Expressions::UserCall* call, Definitions* definitions,
                                   Parsing::Error* error);

    ~PrelinkExprLinker() override;

    void handleVariable(Expressions::PLVariable* node) override;
    void handleUserCall(Expressions::PLUserCall* node) override;
    void handleMathCall(Expressions::Prelink* operand, int index) override;
    void handleConstant(double value) override;
    void handleMatrixVal(Expressions::PLMatrixVal* node) override;
    void handleMagnitude(Expressions::Prelink* operand) override;
    void handleNormalize(Expressions::Prelink* operand) override;
    void handleTranspose(Expressions::Prelink* operand) override;
    void handleDotProduct(Expressions::Prelink* left, Expressions::Prelink* right) override;
    void handlePower(Expressions::Prelink* left, Expressions::Prelink* right) override;
    void handleAdd(Expressions::Prelink* left, Expressions::Prelink* right) override;
    void handleSub(Expressions::Prelink* left, Expressions::Prelink* right) override;
    void handleMul(Expressions::Prelink* left, Expressions::Prelink* right) override;
    void handleDiv(Expressions::Prelink* left, Expressions::Prelink* right) override;

protected:
    // Enters node unless the session's recursion passes MaxLinkDepth.
    void visit(Expressions::Prelink* node) override;
    // Locates a failure at the link of a chain where it happened.
    bool continueChain(Expressions::Prelink* link) override;

private:
    // Shared by the nested linkers of one top-level link: the recursion depth
    // summed over the definitions being expanded, and the nodes made so far.
    struct LinkSession {
        int depth = 0;
        int nodeCount = 0;
    };

    PrelinkExprLinker(Definitions* definitions, Parsing::Error* error, Expressions::Function* function,
                      Expressions::UserCall* call, LinkSession* session, bool locating, Expressions::Prelink* root);
    // The body of a definition used inside a link: no cycle search (the
    // session's first search covered it) and no locations in its text.
    static Expressions::Expr* linkDefinition(Expressions::Function* function, Expressions::UserCall* call,
                                             Definitions* definitions, Parsing::Error* error, LinkSession* session);
    Expressions::Expr* linkRoot(Expressions::Prelink* root);
    Expressions::Expr* getResult();

    // Links child onto the stack; false (with child's location recorded) on failure.
    bool linkChild(Expressions::Prelink* child);
    bool linkBoth(Expressions::Prelink* left, Expressions::Prelink* right);
    void locate(Expressions::Prelink const* node);
    // Counts one more linked node for the session; false (TooComplex) past MaxLinkedNodes.
    bool reserveNode();
    // "magnitude", "normalize" and "transpose": one operand that must be a matrix.
    template <typename Node>
    void linkMatrixUnary(Expressions::Prelink* operand);
    // "/" and "power": two operands that must both be scalars.
    template <typename Node>
    void linkScalarBinary(Expressions::Prelink* left, Expressions::Prelink* right);
    void push(Expressions::Expr* node);
    Expressions::Expr* pop();
    Expressions::Expr* peek(int below = 0) const { return stack[top - below]; }
    void linkDefinitionCall(Expressions::Prelink* node, NyCore::String const* name, int count, Expressions::Prelink** arguments);
    void linkParameter(int index);
    // Replaces the two operands on top of the stack by node, which owns them.
    void replaceOperands(Expressions::Expr* node);
    void linkSum(Expressions::Prelink* left, Expressions::Prelink* right, bool subtract);
    static Expressions::Expr* scalarMultiple(Expressions::Expr* operand, Expressions::Expr* scalar);

    Definitions* definitions;
    Expressions::Expr** stack;
    int capacity;
    int top = -1;
    Parsing::Error* error;
    Expressions::Function* function;
    Expressions::UserCall* call;
    LinkSession* session;
    // Whether locations in the tree being linked mean something to the caller.
    bool locating;
};

}
