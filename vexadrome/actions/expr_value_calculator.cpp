// Binding, the compiled evaluation, and the node-by-node evaluation on the
// value stack: each node leaves its rowCount * colCount values on top,
// column-major, and scratch blocks go in the free slots above the top.
#include "vexadrome/actions/expr_value_calculator.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "nycore/math/math_functions.h"
#include "nycore/system/exceptions.h"
#include "nycore/system/memory.h"
#include "nycore/system/time.h"
#include "vexadrome/actions/builtin_functions.h"
#include "vexadrome/actions/expr_compiler.h"
#include "vexadrome/actions/expr_operations.h"
#include "vexadrome/actions/expr_stack_counter.h"

namespace Vexadrome::Actions {

using namespace Expressions;

ExprValueCalculator::~ExprValueCalculator()
{
    cleanup();
}

void ExprValueCalculator::cleanup()
{
    memory_free(values);
    values = nullptr;
    slotCount = 0;
    program.clear();
    compiled = false;
    tooComplex = false;
    root = nullptr;
    rowCount = 0;
    colCount = 0;
    top = -1;
}

void ExprValueCalculator::bindTo(Expr* newRoot)
{
    cleanup();
    BuiltinFunctions::fillMathTable();
    root = newRoot;
    tickCount = NyCore::System::Time::getTickCount();
    std::int64_t size = valueCount(root);
    int depth = ExprStackCounter::calculate(root);
    if (depth > MaxValueSlots || size > MaxValueSlots) {
        tooComplex = true;
        slotCount = 1;
        values = static_cast<double*>(memory_alloc(sizeof(double)));
        return;
    }
    rowCount = root->get$rowCount();
    colCount = root->get$colCount();
    slotCount = std::max({depth, static_cast<int>(size), 1});
    values = static_cast<double*>(memory_alloc(sizeof(double) * static_cast<std::size_t>(slotCount)));
    compiled = ExprCompiler::compile(root, depth, &program);
}

void ExprValueCalculator::updateTimeValue()
{
    tickCount = NyCore::System::Time::getTickCount();
}

void ExprValueCalculator::calculateByWalking(Parsing::Error* error)
{
    if (!values)
        NY_THROW(NullReferenceException());
    if (tooComplex) {
        if (error)
            error->setCode(Parsing::ErrorCode::TooComplex);
        return;
    }
    walk();
}

void ExprValueCalculator::calculateBatch(int count, double const* const* inputs, double* results, int stride)
{
    if (!values)
        NY_THROW(NullReferenceException());
    if (tooComplex || count <= 0)
        return;
    if (compiled) {
        program.runBatch(tickCount, count, inputs, results, stride);
        return;
    }
    walkInputs = inputs;
    for (int k = 0; k < count; ++k) {
        walkPoint = k;
        walk();
        copyResult(results, k * stride);
    }
    walkInputs = nullptr;
}

void ExprValueCalculator::copyResult(double* out, int at) const
{
    int count = rowCount * colCount;
    if (count > 0)
        std::memcpy(out + at, values, sizeof(double) * static_cast<std::size_t>(count));
}

void ExprValueCalculator::walk()
{
    frameBase = 0;
    top = -1;
    root->accept(this);
}

void ExprValueCalculator::push(double value)
{
    if (top + 1 >= slotCount)
        NY_THROW(OutOfBoundsException(top + 1, slotCount - 1));
    values[++top] = value;
}

int ExprValueCalculator::blockStart(std::int64_t count) const
{
    std::int64_t start = top + 1 - count;
    if (count < 0 || start < 0)
        NY_THROW(OutOfBoundsException(static_cast<int>(count), top + 1));
    return static_cast<int>(start);
}

void ExprValueCalculator::reserveAbove(std::int64_t count) const
{
    if (top + 1 + count > slotCount)
        NY_THROW(OutOfBoundsException(static_cast<int>(top + 1 + count), slotCount));
}

double ExprValueCalculator::sumOfProducts(int first, int second, int count) const
{
    double sum = 0.0;
    for (int k = 0; k < count; ++k)
        sum = sum + values[first + k] * values[second + k];
    return sum;
}

void ExprValueCalculator::handleMathCall(Expr* operand, int index)
{
    if (index < 0 || index >= BuiltinFunctions::MathCount)
        NY_THROW(OutOfBoundsException(index, BuiltinFunctions::MathCount - 1));
    int start = top + 1;
    visit(operand);
    if (index == BuiltinFunctions::TimeIndex) {
        for (int i = start; i <= top; ++i)
            values[i] = BuiltinFunctions::time(values[i], tickCount);
    } else {
        MathFunction function = BuiltinFunctions::getMathFunction(index);
        for (int i = start; i <= top; ++i)
            values[i] = function(values[i]);
    }
}

// Arguments last to first, so that the first one's values end on top; the
// body's parameters count down from frameBase, the top when the body starts.
void ExprValueCalculator::handleUserCall(UserCall* call)
{
    if (!call->body)
        NY_THROW(NullReferenceException());
    bool pointInputs = walkInputs && call == root;
    // Sizes come from the stack: asking a call for its shape asks its body.
    int argumentStart = top + 1;
    for (int i = call->count - 1; i >= 0; --i) {
        Expr* argument = call->arguments[i];
        if (pointInputs && dynamic_cast<Constant*>(argument))
            push(walkInputs[i][walkPoint]);
        else
            visit(argument);
    }
    int savedFrameBase = frameBase;
    frameBase = top;
    int bodyStart = top + 1;
    visit(call->body);
    frameBase = savedFrameBase;
    int count = top + 1 - bodyStart;
    std::memmove(values + argumentStart, values + bodyStart, sizeof(double) * static_cast<std::size_t>(count));
    top = argumentStart + count - 1;
}

void ExprValueCalculator::handleVariable(Variable* variable)
{
    std::int64_t count = valueCount(variable);
    std::int64_t first = static_cast<std::int64_t>(frameBase) - variable->offset;
    if (first < 0 || first + count - 1 > frameBase || frameBase > top)
        NY_THROW(OutOfBoundsException(static_cast<int>(first), frameBase));
    for (std::int64_t k = 0; k < count; ++k)
        push(values[first + k]);
}

void ExprValueCalculator::handleConstant(double value)
{
    push(value);
}

void ExprValueCalculator::handleMagnitude(Expr* operand)
{
    visit(operand);
    std::int64_t count = valueCount(operand);
    int start = blockStart(count);
    double sum = sumOfProducts(start, start, static_cast<int>(count));
    double result = BuiltinFunctions::magnitude(sum, static_cast<int>(count), [&](int k) { return values[start + k]; });
    top = start - 1;
    push(result);
}

void ExprValueCalculator::handleDotProduct(Expr* left, Expr* right)
{
    visitBoth(left, right);
    std::int64_t count = valueCount(left);
    int start = blockStart(2 * count);
    double sum = sumOfProducts(start, start + static_cast<int>(count), static_cast<int>(count));
    top = start - 1;
    push(sum);
}

void ExprValueCalculator::handleSingleAdd(Expr* left, Expr* right)
{
    walkSingleBinary(left, right);
    values[top] = values[top] + values[top + 1];
}

void ExprValueCalculator::handleSingleSub(Expr* left, Expr* right)
{
    walkSingleBinary(left, right);
    values[top] = values[top] - values[top + 1];
}

void ExprValueCalculator::handleSingleMul(Expr* left, Expr* right)
{
    walkSingleBinary(left, right);
    values[top] = values[top] * values[top + 1];
}

void ExprValueCalculator::handleSingleDiv(Expr* left, Expr* right)
{
    walkSingleBinary(left, right);
    values[top] = values[top] / values[top + 1];
}

void ExprValueCalculator::handleSinglePow(Expr* left, Expr* right)
{
    walkSingleBinary(left, right);
    values[top] = ExprOperations::power(values[top], values[top + 1]);
}

// Leaves the two operands with top on the left one, the right one just above.
void ExprValueCalculator::walkSingleBinary(Expr* left, Expr* right)
{
    visitBoth(left, right);
    top = blockStart(2);
}

// An element that is not 1 x 1 keeps its first value, so that the literal
// leaves exactly its own rows times columns values.
void ExprValueCalculator::handleMatrixVal(MatrixValue* value)
{
    std::int64_t elements = valueCount(value);
    for (std::int64_t i = 0; i < elements; ++i) {
        int start = top + 1;
        visit(value->elements[i]);
        if (top < start)
            push(0.0);
        else
            top = start;
    }
}

void ExprValueCalculator::handleTranspose(Expr* operand)
{
    visit(operand);
    int rows = operand->get$rowCount();
    int cols = operand->get$colCount();
    std::int64_t count = valueCount(operand);
    int start = blockStart(count);
    reserveAbove(count);
    double* transposed = values + top + 1;
    for (int i = 0; i < cols; ++i) {
        for (int j = 0; j < rows; ++j)
            transposed[j * cols + i] = values[start + i * rows + j];
    }
    std::memmove(values + start, transposed, sizeof(double) * static_cast<std::size_t>(count));
}

void ExprValueCalculator::handleNormalize(Expr* operand)
{
    visit(operand);
    std::int64_t count = valueCount(operand);
    int start = blockStart(count);
    double sum = sumOfProducts(start, start, static_cast<int>(count));
    double magnitude = BuiltinFunctions::magnitude(sum, static_cast<int>(count), [&](int k) { return values[start + k]; });
    for (int i = start; i <= top; ++i)
        values[i] = BuiltinFunctions::normalizeElement(values[i], magnitude);
}

void ExprValueCalculator::handleMatrixAdd(Expr* left, Expr* right)
{
    visitBoth(left, right);
    int count = static_cast<int>(valueCount(left));
    int start = blockStart(2 * static_cast<std::int64_t>(count));
    for (int k = 0; k < count; ++k)
        values[start + k] = values[start + k] + values[start + count + k];
    top = start + count - 1;
}

void ExprValueCalculator::handleMatrixSub(Expr* left, Expr* right)
{
    visitBoth(left, right);
    int count = static_cast<int>(valueCount(left));
    int start = blockStart(2 * static_cast<std::int64_t>(count));
    for (int k = 0; k < count; ++k)
        values[start + k] = values[start + k] - values[start + count + k];
    top = start + count - 1;
}

void ExprValueCalculator::handleMatrixMulS(Expr* left, Expr* right)
{
    visitBoth(left, right);
    int count = static_cast<int>(valueCount(left));
    int start = blockStart(count + 1);
    double scalar = values[top];
    for (int k = 0; k < count; ++k)
        values[start + k] = values[start + k] * scalar;
    top = start + count - 1;
}

void ExprValueCalculator::handleMatrixMulM(Expr* left, Expr* right)
{
    visitBoth(left, right);
    int rows = left->get$rowCount();
    int inner = left->get$colCount();
    int cols = right->get$colCount();
    std::int64_t leftCount = valueCount(left);
    int leftStart = blockStart(leftCount + valueCount(right));
    int rightStart = leftStart + static_cast<int>(leftCount);
    std::int64_t count = static_cast<std::int64_t>(rows) * cols;
    reserveAbove(count);
    double* product = values + top + 1;
    for (int j = 0; j < cols; ++j) {
        for (int i = 0; i < rows; ++i) {
            double sum = 0.0;
            for (int k = 0; k < inner; ++k)
                sum = sum + values[leftStart + k * rows + i] * values[rightStart + j * inner + k];
            product[j * rows + i] = sum;
        }
    }
    std::memmove(values + leftStart, product, sizeof(double) * static_cast<std::size_t>(count));
    top = leftStart + static_cast<int>(count) - 1;
}

// The linker never builds these nodes; meeting one is a programming error.
void ExprValueCalculator::handleDeterminate(Expr*) { NY_THROW(InvalidParameterException()); }
void ExprValueCalculator::handleInverse(Expr*) { NY_THROW(InvalidParameterException()); }
void ExprValueCalculator::handleCross(Expr*, Expr*) { NY_THROW(InvalidParameterException()); }

}
