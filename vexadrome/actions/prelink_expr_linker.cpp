// The linker: a post-order walk that keeps the linked nodes on a stack sized
// by PrelinkStackCounter. Every use of a definition links its own copy of the
// body with a nested linker; all linkers of one link share a LinkSession that
// bounds their total recursion and the number of nodes they make.
#include "vexadrome/actions/prelink_expr_linker.h"

#include <cstddef>

#include "nycore/system/exceptions.h"
#include "nycore/system/memory.h"
#include "vexadrome/actions/prelink_cycle_finder.h"
#include "vexadrome/actions/prelink_stack_counter.h"
#include "vexadrome/expressions/limits.h"

namespace Vexadrome::Actions {

using namespace Expressions;
using Parsing::Error;
namespace ErrorCode = Parsing::ErrorCode;

Expr* PrelinkExprLinker::link(Prelink* root, Definitions* definitions, Error* error)
{
    LinkSession session;
    PrelinkExprLinker linker(definitions, error, nullptr, nullptr, &session, true, root);
    if (PrelinkCycleFinder::findCycle(root, error, definitions))
        return nullptr;
    return linker.linkRoot(root);
}

Expr* PrelinkExprLinker::link(Function* function, UserCall* call, Definitions* definitions, Error* error)
{
    if (call->count != function->get$paramCount()) {
        error->setCode(ErrorCode::WrongParamCount);
        return nullptr;
    }
    LinkSession session;
    PrelinkExprLinker linker(definitions, error, function, call, &session, true, function->body);
    if (PrelinkCycleFinder::findCycle(function->body, error, definitions, function))
        return nullptr;
    return linker.linkRoot(function->body);
}

Expr* PrelinkExprLinker::linkDefinition(Function* function, UserCall* call, Definitions* definitions, Error* error,
                                        LinkSession* session)
{
    PrelinkExprLinker linker(definitions, error, function, call, session, false, function->body);
    return linker.linkRoot(function->body);
}

PrelinkExprLinker::PrelinkExprLinker(Definitions* definitions, Error* error, Function* function, UserCall* call,
                                     LinkSession* session, bool locating, Prelink* root)
    : definitions(definitions), capacity(PrelinkStackCounter::calculate(root)), error(error), function(function), call(call),
      session(session), locating(locating)
{
    stack = static_cast<Expr**>(memory_alloc(sizeof(Expr*) * static_cast<std::size_t>(capacity > 0 ? capacity : 1)));
}

PrelinkExprLinker::~PrelinkExprLinker()
{
    for (int i = 0; i <= top; ++i)
        delete stack[i];
    memory_free(stack);
}

Expr* PrelinkExprLinker::linkRoot(Prelink* root)
{
    visit(root);
    return getResult();
}

Expr* PrelinkExprLinker::getResult()
{
    if (error->hasCode() || top != 0)
        return nullptr;
    return pop();
}

void PrelinkExprLinker::visit(Prelink* node)
{
    if (++session->depth > MaxLinkDepth)
        error->setCode(ErrorCode::TooComplex);
    else
        enter(node);
    --session->depth;
}

bool PrelinkExprLinker::continueChain(Prelink* link)
{
    if (!error->hasCode())
        return true;
    locate(link);
    return false;
}

bool PrelinkExprLinker::linkChild(Prelink* child)
{
    visit(child);
    if (!error->hasCode())
        return true;
    locate(child);
    return false;
}

bool PrelinkExprLinker::linkBoth(Prelink* left, Prelink* right)
{
    return linkChild(left) && linkChild(right);
}

void PrelinkExprLinker::locate(Prelink const* node)
{
    if (locating)
        error->setLocation(node->start, node->length);
}

bool PrelinkExprLinker::reserveNode()
{
    if (session->nodeCount >= MaxLinkedNodes) {
        error->setCode(ErrorCode::TooComplex);
        return false;
    }
    ++session->nodeCount;
    return true;
}

void PrelinkExprLinker::push(Expr* node)
{
    if (top + 1 >= capacity)
        NY_THROW(OutOfBoundsException(top + 1, capacity));
    stack[++top] = node;
}

Expr* PrelinkExprLinker::pop()
{
    Expr* node = stack[top];
    stack[top--] = nullptr;
    return node;
}

void PrelinkExprLinker::replaceOperands(Expr* node)
{
    pop();
    pop();
    push(node);
}

void PrelinkExprLinker::handleVariable(PLVariable* node)
{
    if (function && call) {
        int index = function->indexOfParam(node->name);
        if (index >= 0) {
            if (reserveNode())
                linkParameter(index);
            return;
        }
    }
    linkDefinitionCall(node, node->name, 0, nullptr);
}

void PrelinkExprLinker::linkParameter(int index)
{
    // Arguments are evaluated last-first, so when the body starts the first
    // argument's values are nearest the top of the frame. Parameter i gets the
    // offset (sum of rowCount * colCount of arguments 0..i) - 1, and the
    // evaluator reads its values, column-major, at frameBase - offset + k for
    // k = 0 .. size - 1. For 1 x 1 arguments the offset of parameter i is i.
    int offset = -1;
    for (int i = 0; i <= index; ++i)
        offset += call->arguments[i]->get$size();
    Expr* argument = call->arguments[index];
    push(new Variable(offset, argument->get$rowCount(), argument->get$colCount()));
}

void PrelinkExprLinker::handleUserCall(PLUserCall* node)
{
    linkDefinitionCall(node, node->name, node->count, node->arguments);
}

void PrelinkExprLinker::linkDefinitionCall(Prelink* node, NyCore::String const* name, int count, Prelink** arguments)
{
    if (!definitions || !definitions->exists(name)) {
        error->setCode(ErrorCode::UnknownName);
        locate(node);
        return;
    }
    Function* definition = definitions->item(name);
    if (definition->get$paramCount() != count) {
        error->setCode(ErrorCode::WrongParamCount);
        locate(node);
        return;
    }
    if (!reserveNode()) {
        locate(node);
        return;
    }
    auto* userCall = new UserCall(count);
    for (int i = 0; i < count; ++i) {
        if (!linkChild(arguments[i])) {
            delete userCall;
            return;
        }
    }
    for (int i = count - 1; i >= 0; --i)
        userCall->arguments[i] = pop();
    Expr* body = linkDefinition(definition, userCall, definitions, error, session);
    if (!body) {
        locate(node);
        delete userCall;
        return;
    }
    userCall->body = body;
    push(userCall);
}

void PrelinkExprLinker::handleMathCall(Prelink* operand, int index)
{
    if (!linkChild(operand) || !reserveNode())
        return;
    push(new MathCall(pop(), index));
}

void PrelinkExprLinker::handleConstant(double value)
{
    if (reserveNode())
        push(new Constant(value));
}

void PrelinkExprLinker::handleMatrixVal(PLMatrixVal* node)
{
    if (!reserveNode())
        return;
    auto* value = new MatrixValue(node->rowCount, node->colCount);
    for (int i = 0; i < node->rowCount * node->colCount; ++i) {
        Prelink* element = node->elements[i];
        if (!linkChild(element)) {
            delete value;
            return;
        }
        if (peek()->get$rowCount() != 1 || peek()->get$colCount() != 1) {
            error->setCode(ErrorCode::InvalidElement);
            locate(element);
            delete value;
            return;
        }
        value->elements[i] = pop();
    }
    push(value);
}

template <typename Node>
void PrelinkExprLinker::linkMatrixUnary(Prelink* operand)
{
    if (!linkChild(operand))
        return;
    if (peek()->get$type() != ExprType::Matrix) {
        error->setCode(ErrorCode::InvalidCommandParams);
        return;
    }
    if (reserveNode())
        push(new Node(pop()));
}

void PrelinkExprLinker::handleMagnitude(Prelink* operand)
{
    linkMatrixUnary<Magnitude>(operand);
}

void PrelinkExprLinker::handleNormalize(Prelink* operand)
{
    linkMatrixUnary<Normalize>(operand);
}

void PrelinkExprLinker::handleTranspose(Prelink* operand)
{
    linkMatrixUnary<Transpose>(operand);
}

void PrelinkExprLinker::handleDotProduct(Prelink* left, Prelink* right)
{
    if (!linkBoth(left, right))
        return;
    Expr* a = peek(1);
    Expr* b = peek(0);
    if (a->get$type() != ExprType::Matrix || b->get$type() != ExprType::Matrix) {
        error->setCode(ErrorCode::InvalidCommandParams);
        return;
    }
    if (a->get$rowCount() != b->get$rowCount() || a->get$colCount() != b->get$colCount()) {
        error->setCode(ErrorCode::InvalidDimensions);
        return;
    }
    if (reserveNode())
        replaceOperands(new DotProduct(a, b));
}

template <typename Node>
void PrelinkExprLinker::linkScalarBinary(Prelink* left, Prelink* right)
{
    if (!linkBoth(left, right))
        return;
    Expr* a = peek(1);
    Expr* b = peek(0);
    if (a->get$type() != ExprType::Single || b->get$type() != ExprType::Single) {
        error->setCode(ErrorCode::InvalidCommandParams);
        return;
    }
    if (reserveNode())
        replaceOperands(new Node(a, b));
}

void PrelinkExprLinker::handlePower(Prelink* left, Prelink* right)
{
    linkScalarBinary<SinglePower>(left, right);
}

void PrelinkExprLinker::handleAdd(Prelink* left, Prelink* right) { linkSum(left, right, false); }
void PrelinkExprLinker::handleSub(Prelink* left, Prelink* right) { linkSum(left, right, true); }

void PrelinkExprLinker::linkSum(Prelink* left, Prelink* right, bool subtract)
{
    if (!linkBoth(left, right))
        return;
    Expr* a = peek(1);
    Expr* b = peek(0);
    if (a->get$type() != b->get$type()) {
        error->setCode(ErrorCode::InvalidCommandParams);
        return;
    }
    if (a->get$rowCount() != b->get$rowCount() || a->get$colCount() != b->get$colCount()) {
        error->setCode(ErrorCode::InvalidDimensions);
        return;
    }
    if (!reserveNode())
        return;
    if (a->get$type() == ExprType::Single)
        replaceOperands(subtract ? static_cast<Expr*>(new SingleSub(a, b)) : new SingleAdd(a, b));
    else
        replaceOperands(subtract ? static_cast<Expr*>(new MatrixSub(a, b)) : new MatrixAdd(a, b));
}

// A scalar times a matrix, in either order, scales the matrix: the matrix is
// always the left operand of MatrixMulS.
void PrelinkExprLinker::handleMul(Prelink* left, Prelink* right)
{
    if (!linkBoth(left, right))
        return;
    Expr* a = peek(1);
    Expr* b = peek(0);
    if (a->get$type() == ExprType::Matrix && b->get$type() == ExprType::Matrix && a->get$colCount() != b->get$rowCount()) {
        error->setCode(ErrorCode::InvalidDimensions);
        return;
    }
    if (!reserveNode())
        return;
    if (b->get$type() == ExprType::Single)
        replaceOperands(scalarMultiple(a, b));
    else if (a->get$type() == ExprType::Single)
        replaceOperands(scalarMultiple(b, a));
    else
        replaceOperands(new MatrixMulM(a, b));
}

Expr* PrelinkExprLinker::scalarMultiple(Expr* operand, Expr* scalar)
{
    if (operand->get$type() == ExprType::Single)
        return new SingleMul(operand, scalar);
    return new MatrixMulS(operand, scalar);
}

void PrelinkExprLinker::handleDiv(Prelink* left, Prelink* right)
{
    linkScalarBinary<SingleDiv>(left, right);
}

}
