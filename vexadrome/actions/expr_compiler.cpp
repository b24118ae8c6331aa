// The compiler walks the tree once, in the order of evaluation, keeping on
// its stack the value id of every number that evaluation would hold there.
// Element operations become instructions; a product of matrices becomes its
// sums of products element by element.
#include "vexadrome/actions/expr_compiler.h"

#include <bit>

#include "nycore/system/exceptions.h"
#include "vexadrome/actions/builtin_functions.h"
#include "vexadrome/actions/expr_stack_counter.h"

namespace Vexadrome::Actions {

using namespace Expressions;

std::size_t ExprCompiler::KeyHash::operator()(InstructionKey const& key) const
{
    std::uint64_t h = static_cast<std::uint32_t>(key.op);
    for (std::int32_t part : {key.a, key.b, key.c})
        h = (h ^ static_cast<std::uint32_t>(part)) * 0x100000001B3ull + (h >> 29);
    return static_cast<std::size_t>(h);
}

std::size_t ExprCompiler::ConstantHash::operator()(std::uint64_t bits) const
{
    bits ^= bits >> 33;
    bits *= 0xFF51AFD7ED558CCDull;
    bits ^= bits >> 33;
    return static_cast<std::size_t>(bits);
}

bool ExprCompiler::compile(Expr* root, int depth, ExprProgram* program)
{
    program->clear();
    BuiltinFunctions::fillMathTable();
    if (depth > MaxCompileSteps)
        return false;
    ExprCompiler compiler(root, program);
    compiler.stack.reserve(static_cast<std::size_t>(depth));
    program->reserve(32);
    root->accept(&compiler);
    if (compiler.abandoned) {
        program->clear();
        return false;
    }
    std::int64_t resultCount = valueCount(root);
    if (static_cast<std::int64_t>(compiler.stack.size()) != resultCount)
        NY_THROW(OutOfBoundsException(static_cast<int>(compiler.stack.size()), static_cast<int>(resultCount)));
    program->finish(compiler.stack.data(), static_cast<int>(resultCount));
    return true;
}

bool ExprCompiler::spend(std::int64_t count)
{
    steps += count;
    if (steps > MaxCompileSteps)
        abandoned = true;
    return !abandoned;
}

int ExprCompiler::constant(double value)
{
    auto [id, added] = constantIds.find(std::bit_cast<std::uint64_t>(value));
    if (added)
        *id = program->addConstant(value);
    return *id;
}

int ExprCompiler::emit(ExprOp::Enum op, int a, int b, int c)
{
    // Squares and cubes have a path of their own, exact to pow's bits.
    if (op == ExprOp::Power && program->isConstant(b)) {
        double exponent = program->constantValue(b);
        if (exponent == 2.0 || exponent == 3.0) {
            op = exponent == 2.0 ? ExprOp::Square : ExprOp::Cube;
            b = -1;
        }
    }
    bool three = hasThreeOperands(op);
    bool one = hasOneOperand(op);
    bool foldable = op != ExprOp::Time && program->isConstant(a) && (one || program->isConstant(b)) &&
                    (!three || program->isConstant(c));
    if (foldable) {
        double value = ExprProgram::fold(op, program->constantValue(a), one ? 0.0 : program->constantValue(b),
                                         three ? program->constantValue(c) : 0.0, b);
        return constant(value);
    }
    auto [id, added] = instructionIds.find(InstructionKey{op, a, b, c});
    if (added)
        *id = program->addInstruction(op, a, b, c);
    return *id;
}

int ExprCompiler::blockStart(std::int64_t count) const
{
    std::int64_t start = static_cast<std::int64_t>(stack.size()) - count;
    if (count < 0 || start < 0)
        NY_THROW(OutOfBoundsException(static_cast<int>(count), static_cast<int>(stack.size())));
    return static_cast<int>(start);
}

int ExprCompiler::pop()
{
    int value = stack[blockStart(1)];
    stack.pop_back();
    return value;
}

void ExprCompiler::drop(std::int64_t count)
{
    stack.resize(static_cast<std::size_t>(blockStart(count)));
}

int ExprCompiler::sumOfProducts(int first, int second, int count)
{
    int sum = constant(0.0);
    for (int k = 0; k < count; ++k)
        sum = emit(ExprOp::MulAdd, stack[first + k], stack[second + k], sum);
    return sum;
}

int ExprCompiler::magnitude(int start, int count)
{
    int sum = sumOfProducts(start, start, count);
    // The sum is constant only when every element is.
    if (program->isConstant(sum)) {
        return constant(BuiltinFunctions::magnitude(program->constantValue(sum), count,
                                                    [&](int k) { return program->constantValue(stack[start + k]); }));
    }
    // One sum stands for one list of elements.
    auto [id, added] = instructionIds.find(InstructionKey{ExprOp::Magnitude, sum, -1, -1});
    if (added)
        *id = program->addMagnitude(sum, stack.data() + start, count);
    return *id;
}

void ExprCompiler::compileSingleBinary(ExprOp::Enum op, Expr* left, Expr* right)
{
    compileNode(left);
    compileNode(right);
    if (!spend(1))
        return;
    int b = pop();
    int a = pop();
    push(emit(op, a, b, -1));
}

void ExprCompiler::compileElementwise(ExprOp::Enum op, Expr* left, Expr* right)
{
    compileNode(left);
    compileNode(right);
    std::int64_t count = valueCount(left);
    if (!spend(count))
        return;
    int start = blockStart(2 * count);
    for (int k = 0; k < count; ++k)
        stack[start + k] = emit(op, stack[start + k], stack[start + count + k], -1);
    drop(count);
}

void ExprCompiler::handleMathCall(Expr* operand, int index)
{
    if (index < 0 || index >= BuiltinFunctions::MathCount)
        NY_THROW(OutOfBoundsException(index, BuiltinFunctions::MathCount - 1));
    std::size_t start = stack.size();
    compileNode(operand);
    if (abandoned || !spend(static_cast<std::int64_t>(stack.size() - start)))
        return;
    for (std::size_t k = start; k < stack.size(); ++k) {
        int x = stack[k];
        stack[k] = index == BuiltinFunctions::TimeIndex ? emit(ExprOp::Time, x, -1, -1)
                                                        : emit(ExprOp::Math, x, index, -1);
    }
}

void ExprCompiler::handleUserCall(UserCall* call)
{
    if (abandoned)
        return;
    if (!call->body)
        NY_THROW(NullReferenceException());
    // Arguments last to first, so that the first one's values end on top.
    // Sizes come from the stack: asking a call for its shape asks its body.
    std::size_t argumentStart = stack.size();
    for (int i = call->count - 1; i >= 0; --i) {
        Expr* argument = call->arguments[i];
        auto* input = call == root ? dynamic_cast<Constant*>(argument) : nullptr;
        if (!input)
            compileNode(argument);
        else if (spend(1))
            push(program->addInput(i, &input->value));
    }
    if (abandoned)
        return;
    int savedFrameBase = frameBase;
    frameBase = static_cast<int>(stack.size()) - 1;
    std::size_t bodyStart = stack.size();
    compileNode(call->body);
    frameBase = savedFrameBase;
    if (abandoned || !spend(static_cast<std::int64_t>(stack.size() - bodyStart)))
        return;
    stack.erase(stack.begin() + static_cast<std::ptrdiff_t>(argumentStart),
                stack.begin() + static_cast<std::ptrdiff_t>(bodyStart));
}

void ExprCompiler::handleVariable(Variable* variable)
{
    std::int64_t count = valueCount(variable);
    if (!spend(count))
        return;
    std::int64_t first = static_cast<std::int64_t>(frameBase) - variable->offset;
    if (first < 0 || first + count - 1 > frameBase || frameBase >= static_cast<int>(stack.size()))
        NY_THROW(OutOfBoundsException(static_cast<int>(first), frameBase));
    for (std::int64_t k = 0; k < count; ++k)
        push(stack[static_cast<std::size_t>(first + k)]);
}

void ExprCompiler::handleConstant(double value)
{
    if (spend(1))
        push(constant(value));
}

void ExprCompiler::handleMagnitude(Expr* operand)
{
    compileNode(operand);
    std::int64_t count = valueCount(operand);
    if (!spend(count))
        return;
    int start = blockStart(count);
    int result = magnitude(start, static_cast<int>(count));
    drop(count);
    push(result);
}

void ExprCompiler::handleDotProduct(Expr* left, Expr* right)
{
    compileNode(left);
    compileNode(right);
    std::int64_t count = valueCount(left);
    if (!spend(count))
        return;
    int start = blockStart(2 * count);
    int sum = sumOfProducts(start, start + static_cast<int>(count), static_cast<int>(count));
    drop(2 * count);
    push(sum);
}

void ExprCompiler::handleSingleAdd(Expr* left, Expr* right) { compileSingleBinary(ExprOp::Add, left, right); }
void ExprCompiler::handleSingleSub(Expr* left, Expr* right) { compileSingleBinary(ExprOp::Sub, left, right); }
void ExprCompiler::handleSingleMul(Expr* left, Expr* right) { compileSingleBinary(ExprOp::Mul, left, right); }
void ExprCompiler::handleSingleDiv(Expr* left, Expr* right) { compileSingleBinary(ExprOp::Div, left, right); }
void ExprCompiler::handleSinglePow(Expr* left, Expr* right) { compileSingleBinary(ExprOp::Power, left, right); }

// An element that is not 1 x 1 keeps its first value, so that the literal
// leaves exactly its own rows times columns values.
void ExprCompiler::handleMatrixVal(MatrixValue* value)
{
    std::int64_t elements = valueCount(value);
    for (std::int64_t i = 0; i < elements; ++i) {
        std::size_t start = stack.size();
        compileNode(value->elements[i]);
        if (abandoned)
            return;
        std::int64_t count = static_cast<std::int64_t>(stack.size() - start);
        if (count == 1)
            continue;
        if (!spend(1))
            return;
        if (count == 0) {
            push(constant(0.0));
        } else {
            int first = stack[blockStart(count)];
            drop(count);
            push(first);
        }
    }
}

void ExprCompiler::handleTranspose(Expr* operand)
{
    compileNode(operand);
    int rows = operand->get$rowCount();
    int cols = operand->get$colCount();
    if (!spend(valueCount(operand)))
        return;
    int start = blockStart(valueCount(operand));
    scratch.assign(stack.begin() + start, stack.end());
    for (int i = 0; i < cols; ++i) {
        for (int j = 0; j < rows; ++j)
            stack[start + j * cols + i] = scratch[i * rows + j];
    }
}

void ExprCompiler::handleNormalize(Expr* operand)
{
    compileNode(operand);
    std::int64_t count = valueCount(operand);
    if (!spend(2 * count))
        return;
    int start = blockStart(count);
    int length = magnitude(start, static_cast<int>(count));
    for (int k = 0; k < count; ++k)
        stack[start + k] = emit(ExprOp::NormalizeDiv, stack[start + k], length, -1);
}

void ExprCompiler::handleMatrixAdd(Expr* left, Expr* right) { compileElementwise(ExprOp::Add, left, right); }
void ExprCompiler::handleMatrixSub(Expr* left, Expr* right) { compileElementwise(ExprOp::Sub, left, right); }

void ExprCompiler::handleMatrixMulS(Expr* left, Expr* right)
{
    compileNode(left);
    compileNode(right);
    std::int64_t count = valueCount(left);
    if (!spend(count))
        return;
    int scalar = pop();
    int start = blockStart(count);
    for (int k = 0; k < count; ++k)
        stack[start + k] = emit(ExprOp::Mul, stack[start + k], scalar, -1);
}

void ExprCompiler::handleMatrixMulM(Expr* left, Expr* right)
{
    compileNode(left);
    compileNode(right);
    int rows = left->get$rowCount();
    int inner = left->get$colCount();
    int cols = right->get$colCount();
    std::int64_t resultCount = static_cast<std::int64_t>(rows) * cols;
    if (!spend(resultCount * (inner + 1)))
        return;
    std::int64_t leftCount = valueCount(left);
    int leftStart = blockStart(leftCount + valueCount(right));
    int rightStart = leftStart + static_cast<int>(leftCount);
    scratch.resize(static_cast<std::size_t>(resultCount));
    for (int j = 0; j < cols; ++j) {
        for (int i = 0; i < rows; ++i) {
            int sum = constant(0.0);
            for (int k = 0; k < inner; ++k)
                sum = emit(ExprOp::MulAdd, stack[leftStart + k * rows + i], stack[rightStart + j * inner + k], sum);
            scratch[j * rows + i] = sum;
        }
    }
    stack.resize(static_cast<std::size_t>(leftStart));
    stack.insert(stack.end(), scratch.begin(), scratch.end());
}

// The linker never builds these nodes; meeting one is a programming error.
void ExprCompiler::handleDeterminate(Expr*) { NY_THROW(InvalidParameterException()); }
void ExprCompiler::handleInverse(Expr*) { NY_THROW(InvalidParameterException()); }
void ExprCompiler::handleCross(Expr*, Expr*) { NY_THROW(InvalidParameterException()); }

}
