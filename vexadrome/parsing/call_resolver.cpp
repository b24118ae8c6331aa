// Call resolution: argument lists, the vector and matrix literals, the
// built-in table and user calls. Every failure destroys the nodes collected
// for the call; codes are recorded here, the name's location by the parser.
#include "vexadrome/parsing/call_resolver.h"

#include <algorithm>

#include "vexadrome/parsing/expr_parser.h"

namespace Vexadrome::Parsing {

using Expressions::Prelink;

CallResolver::BuiltinFunction const CallResolver::gFnTable[FnTableCount] = {
    {u"abs"_str, 0, 1, &CallResolver::buildMathCall},
    {u"acos"_str, 1, 1, &CallResolver::buildMathCall},
    {u"asin"_str, 2, 1, &CallResolver::buildMathCall},
    {u"atan"_str, 3, 1, &CallResolver::buildMathCall},
    {u"cos"_str, 4, 1, &CallResolver::buildMathCall},
    {u"cosh"_str, 5, 1, &CallResolver::buildMathCall},
    {u"dtor"_str, 6, 1, &CallResolver::buildMathCall},
    {u"exp"_str, 7, 1, &CallResolver::buildMathCall},
    {u"ln"_str, 8, 1, &CallResolver::buildMathCall},
    {u"rtod"_str, 9, 1, &CallResolver::buildMathCall},
    {u"sin"_str, 10, 1, &CallResolver::buildMathCall},
    {u"sinh"_str, 11, 1, &CallResolver::buildMathCall},
    {u"sqrt"_str, 12, 1, &CallResolver::buildMathCall},
    {u"tan"_str, 13, 1, &CallResolver::buildMathCall},
    {u"tanh"_str, 14, 1, &CallResolver::buildMathCall},
    {u"time"_str, 15, 1, &CallResolver::buildMathCall},
    {u"magnitude"_str, -1, 1, &CallResolver::buildMagnitude},
    {u"normalize"_str, -1, 1, &CallResolver::buildNormalize},
    {u"transpose"_str, -1, 1, &CallResolver::buildTranspose},
    {u"power"_str, -1, 2, &CallResolver::buildPower},
    {u"dot"_str, -1, 2, &CallResolver::buildDotProduct},
};

Prelink* CallResolver::resolveFunction(ExprParser* parser, Scanner* scanner, TokenData* name, Error* error)
{
    if (!parser->enterCall(name))
        return nullptr;
    CallResolver resolver(parser, scanner, error);
    Prelink* node;
    if (scanner->compareToken(name, u"vector"_str) == 0) {
        node = resolver.resolveVectorValue(name);
    } else if (scanner->compareToken(name, u"matrix"_str) == 0) {
        node = resolver.resolveMatrixValue(name);
    } else {
        int row = resolver.matchInternalName(name);
        node = row >= 0 ? resolver.resolveInternalFn(name, row) : resolver.resolveUserCall(name);
    }
    parser->leaveCall();
    return node;
}

int CallResolver::matchInternalName(TokenData const* name) const
{
    for (int row = 0; row < FnTableCount; ++row) {
        if (scanner->compareToken(name, gFnTable[row].name) == 0)
            return row;
    }
    return -1;
}

int CallResolver::parseParameters(ArgumentList* list)
{
    int count = 0;
    for (;;) {
        TokenData terminator;
        Prelink* argument = parser->resolveExpression(&terminator);
        list->append(argument);
        ++count;
        if (argument && terminator.kind == u',')
            continue;
        if (argument && terminator.kind == u')')
            return count;
        cleanupParameters(list);
        return -1;
    }
}

// A row that is not opened by "(" is still read, so that what it holds is
// consumed and reported as in any other argument list.
bool CallResolver::parseMatrixContent(ArgumentList* list, int& rows, int& cols)
{
    bool opened = scanner->getNextToken() == u'(';
    cols = parseParameters(list);
    rows = 1;
    if (!opened || cols < 0)
        return false;
    for (;;) {
        int separator = scanner->getNextToken();
        if (separator == u')')
            return true;
        if (separator != u',')
            return false;
        bool rowOpened = scanner->getNextToken() == u'(';
        int count = parseParameters(list);
        if (!rowOpened || count != cols) {
            error->setCode(ErrorCode::WrongShape);
            return false;
        }
        ++rows;
    }
}

Prelink* CallResolver::resolveVectorValue(TokenData const* name)
{
    ArgumentList list;
    int count = parseParameters(&list);
    if (count < 0)
        return nullptr;
    if (!admitOver(&list, name)) {
        cleanupParameters(&list);
        return nullptr;
    }
    auto* vector = new Expressions::PLMatrixVal(name->start, count, 1);
    for (int r = 0; r < count; ++r)
        vector->setElement(r, 0, list.get(r));
    return vector;
}

Prelink* CallResolver::resolveMatrixValue(TokenData const* name)
{
    ArgumentList list;
    int rows = 0;
    int cols = 0;
    if (!parseMatrixContent(&list, rows, cols) || !admitOver(&list, name)) {
        cleanupParameters(&list);
        return nullptr;
    }
    // The list holds the rows one after the other; the literal stores columns.
    auto* matrix = new Expressions::PLMatrixVal(name->start, rows, cols);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c)
            matrix->setElement(r, c, list.get(r * cols + c));
    }
    return matrix;
}

Prelink* CallResolver::resolveInternalFn(TokenData const* name, int row)
{
    BuiltinFunction const& function = gFnTable[row];
    ArgumentList list;
    int count = parseParameters(&list);
    if (count != function.argumentCount) {
        error->setCode(ErrorCode::WrongParamCount);
        cleanupParameters(&list);
        return nullptr;
    }
    if (!admitOver(&list, name)) {
        cleanupParameters(&list);
        return nullptr;
    }
    return function.resolve(name->start, function.mathIndex, list.get(0), count > 1 ? list.get(1) : nullptr);
}

Prelink* CallResolver::resolveUserCall(TokenData const* name)
{
    ArgumentList list;
    int count = parseParameters(&list);
    if (count < 0)
        return nullptr;
    if (!admitOver(&list, name)) {
        cleanupParameters(&list);
        return nullptr;
    }
    auto* call = new Expressions::PLUserCall(name->start, scanner->tokenToString(name), count);
    for (int i = 0; i < count; ++i)
        call->setArgument(i, list.get(i));
    return call;
}

void CallResolver::cleanupParameters(ArgumentList* list)
{
    for (int i = 0; i < list->get$count(); ++i)
        delete list->get(i);
    list->resize(0);
}

bool CallResolver::admitOver(ArgumentList const* list, TokenData const* name)
{
    int height = 0;
    for (int i = 0; i < list->get$count(); ++i)
        height = std::max(height, list->get(i)->height);
    return parser->admitHeight(height + 1, name->start, name->length);
}

Prelink* CallResolver::buildMathCall(int start, int mathIndex, Prelink* first, Prelink*)
{
    return new Expressions::PLMathCall(start, first, mathIndex);
}

Prelink* CallResolver::buildMagnitude(int start, int, Prelink* first, Prelink*)
{
    return new Expressions::PLMagnitude(start, first);
}

Prelink* CallResolver::buildNormalize(int start, int, Prelink* first, Prelink*)
{
    return new Expressions::PLNormalize(start, first);
}

Prelink* CallResolver::buildTranspose(int start, int, Prelink* first, Prelink*)
{
    return new Expressions::PLTranspose(start, first);
}

Prelink* CallResolver::buildPower(int start, int, Prelink* first, Prelink* second)
{
    return new Expressions::PrelinkPower(start, first, second);
}

Prelink* CallResolver::buildDotProduct(int start, int, Prelink* first, Prelink* second)
{
    return new Expressions::PLDotProduct(start, first, second);
}

}
