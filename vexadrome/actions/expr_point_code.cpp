// The threaded per-point loop. Every handler ends in its own jump to the next
// handler (labels as values), so that each has its own branch history, and
// keeps its result in acc. The kinds come in families: S reads an operand
// from its slot, A from acc; a family's kinds are consecutive, in the order
// of the variant numbers that build adds to the family's first kind.
#include "vexadrome/actions/expr_point_code.h"

#include <cmath>

#include "nycore/math/math_functions.h"
#include "nycore/system/exceptions.h"
#include "vexadrome/actions/expr_operations.h"

namespace Vexadrome::Actions {

namespace {

// Every step kind, in the order of the handler table.
#define VEXADROME_POINT_STEPS(X)                                                                         \
    X(AddSS) X(AddAS) X(AddSA) X(SubSS) X(SubAS) X(SubSA) X(MulSS) X(MulAS) X(MulSA) X(DivSS) X(DivAS)   \
    X(DivSA) X(PowerSS) X(PowerAS) X(PowerSA) X(MulAddSSS) X(MulAddASS) X(MulAddSSA) X(ProductPlusSSS)   \
    X(ProductPlusASS) X(ProductPlusSSA) X(MulSubSSS) X(MulSubASS) X(MulSubSSA) X(ProductMinusSSS)        \
    X(ProductMinusASS) X(ProductMinusSSA) X(SquareS) X(SquareA) X(CubeS) X(CubeA) X(SqrtS) X(SqrtA)      \
    X(MathS) X(MathA) X(TimeS) X(MagnitudeS) X(NormalizeDivSS) X(LoadS) X(ResultS) X(ResultA) X(Return)

#define VEXADROME_ENUMERATOR(kind) kind,
enum Kind : int { VEXADROME_POINT_STEPS(VEXADROME_ENUMERATOR) };
#undef VEXADROME_ENUMERATOR

// Variants: which operand is the previous result.
constexpr int FromSlots = 0;
constexpr int FirstFromAcc = 1;    // a
constexpr int SecondFromAcc = 2;   // b of a binary step, c of a fused one

// The family of an instruction and, for a Math step, its function.
Kind familyOf(ExprInstruction const& instruction, MathFunction* function)
{
    switch (instruction.op) {
    case ExprOp::Add: return AddSS;
    case ExprOp::Sub: return SubSS;
    case ExprOp::Mul: return MulSS;
    case ExprOp::Div: return DivSS;
    case ExprOp::Power: return PowerSS;
    case ExprOp::Square: return SquareS;
    case ExprOp::Cube: return CubeS;
    case ExprOp::MulAdd: return MulAddSSS;
    case ExprOp::ProductPlus: return ProductPlusSSS;
    case ExprOp::MulSub: return MulSubSSS;
    case ExprOp::ProductMinus: return ProductMinusSSS;
    case ExprOp::Math:
        *function = BuiltinFunctions::getMathFunction(instruction.b);
        // The square root is one machine instruction, with the same bits as the call.
        return BuiltinFunctions::isSqrt(instruction.b) ? SqrtS : MathS;
    case ExprOp::Time: return TimeS;
    case ExprOp::Magnitude: return MagnitudeS;
    case ExprOp::NormalizeDiv: return NormalizeDivSS;
    }
    // The program builds no other operation.
    NY_THROW(InvalidParameterException());
}

int variantOf(ExprInstruction const& instruction, Kind family, std::int32_t previous)
{
    if (previous < 0 || family == TimeS || family == MagnitudeS || family == NormalizeDivSS)
        return FromSlots;
    if (instruction.a == previous)
        return FirstFromAcc;
    if (hasOneOperand(instruction.op))
        return FromSlots;
    std::int32_t second = hasThreeOperands(instruction.op) ? instruction.c : instruction.b;
    return second == previous ? SecondFromAcc : FromSlots;
}

}

void ExprPointCode::clear()
{
    std::vector<Step>().swap(steps);
    loadCount = 0;
    instructionCount = 0;
}

void ExprPointCode::build(std::vector<Load> const& loads, std::vector<ExprInstruction> const& code,
                          std::vector<std::int32_t> const& resultSlots)
{
    void const* const* handlers = nullptr;
    execute(nullptr, nullptr, nullptr, nullptr, 0, &handlers);
    steps.clear();
    steps.reserve(loads.size() + code.size() + resultSlots.size() + 1);
    for (Load const& load : loads) {
        Step step = {handlers[LoadS], {}, load.slot, 0, 0, 0};
        step.source = load.source;
        steps.push_back(step);
    }
    // The first instruction reads its operands from the slots: runWithoutLoads
    // starts there with nothing in acc.
    std::int32_t previous = -1;
    for (ExprInstruction const& instruction : code) {
        Step step = {nullptr, {}, instruction.dst, instruction.a, instruction.b, instruction.c};
        Kind family = familyOf(instruction, &step.function);
        step.handler = handlers[family + variantOf(instruction, family, previous)];
        steps.push_back(step);
        previous = instruction.dst;
    }
    // The copies leave acc as it is.
    for (std::size_t r = 0; r < resultSlots.size(); ++r) {
        Kind kind = resultSlots[r] == previous ? ResultA : ResultS;
        steps.push_back({handlers[kind], {}, static_cast<std::int32_t>(r), resultSlots[r], 0, 0});
    }
    steps.push_back({handlers[Return], {}, 0, 0, 0, 0});
    loadCount = static_cast<int>(loads.size());
    instructionCount = static_cast<int>(code.size());
}

void ExprPointCode::execute(Step const* p, double* s, double* result, std::int32_t const* elementSlots,
                            std::uint32_t tickCount, void const* const** table)
{
#define VEXADROME_LABEL(kind) &&kind,
    static void const* const handlers[] = {VEXADROME_POINT_STEPS(VEXADROME_LABEL)};
#undef VEXADROME_LABEL
    if (table) {
        *table = handlers;
        return;
    }
    using namespace ExprOperations;
    double acc = 0.0;
// Keeps the value in acc and its slot, and jumps to the next step.
#define NEXT(value)      \
    acc = (value);       \
    s[p->dst] = acc;     \
    ++p;                 \
    goto* p->handler

#define BINARY(name, function)                  \
    name##SS: NEXT(function(s[p->a], s[p->b])); \
    name##AS: NEXT(function(acc, s[p->b]));     \
    name##SA: NEXT(function(s[p->a], acc))

#define FUSED(name, function)                              \
    name##SSS: NEXT(function(s[p->a], s[p->b], s[p->c])); \
    name##ASS: NEXT(function(acc, s[p->b], s[p->c]));     \
    name##SSA: NEXT(function(s[p->a], s[p->b], acc))

#define UNARY(name, function)         \
    name##S: NEXT(function(s[p->a])); \
    name##A: NEXT(function(acc))

    goto* p->handler;
    BINARY(Add, add);
    BINARY(Sub, sub);
    BINARY(Mul, mul);
    BINARY(Div, div);
    BINARY(Power, power);
    FUSED(MulAdd, mulAdd);
    FUSED(ProductPlus, productPlus);
    FUSED(MulSub, mulSub);
    FUSED(ProductMinus, productMinus);
    UNARY(Square, square);
    UNARY(Cube, cube);
    UNARY(Sqrt, std::sqrt);
    UNARY(Math, p->function);
TimeS:
    NEXT(BuiltinFunctions::time(s[p->a], tickCount));
MagnitudeS: {
    std::int32_t const* elements = elementSlots + p->b;
    NEXT(BuiltinFunctions::magnitude(s[p->a], p->c, [=](int k) { return s[elements[k]]; }));
}
NormalizeDivSS:
    NEXT(BuiltinFunctions::normalizeElement(s[p->a], s[p->b]));
LoadS:
    NEXT(*p->source);
ResultS:
    result[p->dst] = s[p->a];
    ++p;
    goto* p->handler;
ResultA:
    result[p->dst] = acc;
    ++p;
    goto* p->handler;
Return:
    return;
#undef UNARY
#undef FUSED
#undef BINARY
#undef NEXT
}

}
