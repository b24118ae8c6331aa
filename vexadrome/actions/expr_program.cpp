// The compiled form of a linked tree: layout at bind time, the block loop
// that runs a block of points per instruction, and the hand-over of the
// per-point part to the threaded steps and the machine code. Every operation
// is computed through ExprOperations on every path and in constant folding,
// so all paths give the same bits.
#include "vexadrome/actions/expr_program.h"

#include <algorithm>
#include <climits>
#include <cstddef>

#include "nycore/math/math_functions.h"
#include "nycore/system/exceptions.h"
#include "vexadrome/actions/builtin_functions.h"
#include "vexadrome/actions/expr_operations.h"

namespace Vexadrome::Actions {

namespace {

constexpr int L = ExprProgram::LaneCount;
// Beyond this many lane blocks (8 MB) the block program is not built and
// runBatch evaluates point by point.
constexpr int MaxLaneBlocks = 16384;

using namespace ExprOperations;

// The block kernels: the cheap ones run over every lane (a fixed count the
// compiler vectorizes; lanes past the block's points hold stale values that
// nobody reads), the calls only over the points of the block.
template<double (*Operation)(double, double)>
void binaryLanes(double* __restrict d, double const* __restrict a, double const* __restrict b)
{
    for (int l = 0; l < L; ++l)
        d[l] = Operation(a[l], b[l]);
}

template<double (*Operation)(double, double, double)>
void fusedLanes(double* __restrict d, double const* __restrict a, double const* __restrict b,
                double const* __restrict c)
{
    for (int l = 0; l < L; ++l)
        d[l] = Operation(a[l], b[l], c[l]);
}

void normalizeLanes(double* __restrict d, double const* __restrict a, double const* __restrict b)
{
    for (int l = 0; l < L; ++l)
        d[l] = BuiltinFunctions::normalizeElement(a[l], b[l]);
}

void powerLanes(double* __restrict d, double const* __restrict a, double const* __restrict b, int n)
{
    for (int l = 0; l < n; ++l)
        d[l] = power(a[l], b[l]);
}

template<typename Function>
void unaryLanes(double* __restrict d, double const* __restrict a, Function function, int n)
{
    for (int l = 0; l < n; ++l)
        d[l] = function(a[l]);
}

void magnitudeLanes(double* __restrict d, double const* __restrict a, double const* lanes, std::int32_t const* elements,
                    int count, int n)
{
    for (int l = 0; l < n; ++l)
        d[l] = BuiltinFunctions::magnitude(a[l], count, [=](int k) { return lanes[elements[k] + l]; });
}

void timeLanes(double* __restrict d, double const* __restrict a, std::uint32_t tickCount, int n)
{
    for (int l = 0; l < n; ++l)
        d[l] = BuiltinFunctions::time(a[l], tickCount);
}

// The block loop: the operands are offsets of lane blocks, n the number of
// points in this block.
[[gnu::always_inline]] inline void executeBlockBody(ExprInstruction const* p, ExprInstruction const* end, double* lanes,
                                                    std::int32_t const* elementLanes, int n, std::uint32_t tickCount)
{
    for (; p != end; ++p) {
        double* d = lanes + p->dst;
        double const* a = lanes + p->a;
        switch (p->op) {
        case ExprOp::Add: binaryLanes<add>(d, a, lanes + p->b); break;
        case ExprOp::Sub: binaryLanes<sub>(d, a, lanes + p->b); break;
        case ExprOp::Mul: binaryLanes<mul>(d, a, lanes + p->b); break;
        case ExprOp::Div: binaryLanes<div>(d, a, lanes + p->b); break;
        case ExprOp::Power: powerLanes(d, a, lanes + p->b, n); break;
        case ExprOp::Square: unaryLanes(d, a, square, n); break;
        case ExprOp::Cube: unaryLanes(d, a, cube, n); break;
        case ExprOp::MulAdd: fusedLanes<mulAdd>(d, a, lanes + p->b, lanes + p->c); break;
        case ExprOp::ProductPlus: fusedLanes<productPlus>(d, a, lanes + p->b, lanes + p->c); break;
        case ExprOp::MulSub: fusedLanes<mulSub>(d, a, lanes + p->b, lanes + p->c); break;
        case ExprOp::ProductMinus: fusedLanes<productMinus>(d, a, lanes + p->b, lanes + p->c); break;
        case ExprOp::Math: unaryLanes(d, a, BuiltinFunctions::getMathFunction(p->b), n); break;
        case ExprOp::Time: timeLanes(d, a, tickCount, n); break;
        case ExprOp::Magnitude: magnitudeLanes(d, a, lanes, elementLanes + p->b, p->c, n); break;
        case ExprOp::NormalizeDiv: normalizeLanes(d, a, lanes + p->b); break;
        }
    }
}

void executeBlockNarrow(ExprInstruction const* p, ExprInstruction const* end, double* lanes,
                        std::int32_t const* elementLanes, int n, std::uint32_t tickCount)
{
    executeBlockBody(p, end, lanes, elementLanes, n, tickCount);
}

// The same loop with the kernels vectorized four lanes wide. AVX2 has no
// fused multiply-add, so the kernels round as the narrow ones do.
[[gnu::target("avx2")]] void executeBlockWide(ExprInstruction const* p, ExprInstruction const* end, double* lanes,
                                              std::int32_t const* elementLanes, int n, std::uint32_t tickCount)
{
    executeBlockBody(p, end, lanes, elementLanes, n, tickCount);
}

using BlockLoop = void (*)(ExprInstruction const*, ExprInstruction const*, double*, std::int32_t const*, int, std::uint32_t);

BlockLoop const executeBlock = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") ? executeBlockWide : executeBlockNarrow;
}();

template<typename T>
void release(std::vector<T>& vector)
{
    std::vector<T>().swap(vector);
}

}

void ExprProgram::clear()
{
    release(values);
    release(constants);
    release(built);
    release(inputs);
    release(uniformCode);
    release(varyingCode);
    uniformSteps.clear();
    varyingSteps.clear();
    machineCode.clear();
    release(machineInstructions);
    runsBeforeMachineCode = 0;
    release(blockCode);
    release(elementIds);
    release(elementSlots);
    release(elementLanes);
    release(resultSlots);
    release(resultLanes);
    release(uniformBroadcasts);
    release(constantBroadcasts);
    laneBlockCount = 0;
    release(slots);
    release(lanes);
    uniformReady = false;
}

void ExprProgram::reserve(int count)
{
    auto size = static_cast<std::size_t>(count);
    values.reserve(size);
    constants.reserve(size / 2);
    built.reserve(size);
}

int ExprProgram::addConstant(double value)
{
    constants.push_back(value);
    values.push_back({ValueKind::Constant, static_cast<std::int32_t>(constants.size() - 1)});
    return static_cast<int>(values.size() - 1);
}

int ExprProgram::addInput(int argument, double const* source)
{
    inputs.push_back({argument, source, -1, -1});
    values.push_back({ValueKind::Input, static_cast<std::int32_t>(inputs.size() - 1)});
    return static_cast<int>(values.size() - 1);
}

int ExprProgram::addInstruction(ExprOp::Enum op, int a, int b, int c)
{
    int id = static_cast<int>(values.size());
    built.push_back({op, id, a, b, c});
    values.push_back({ValueKind::Computed, static_cast<std::int32_t>(built.size() - 1)});
    return id;
}

int ExprProgram::addMagnitude(int sum, int const* elements, int count)
{
    int offset = static_cast<int>(elementIds.size());
    elementIds.insert(elementIds.end(), elements, elements + count);
    return addInstruction(ExprOp::Magnitude, sum, offset, count);
}

double ExprProgram::fold(ExprOp::Enum op, double a, double b, double c, int mathIndex)
{
    switch (op) {
    case ExprOp::Add: return add(a, b);
    case ExprOp::Sub: return sub(a, b);
    case ExprOp::Mul: return mul(a, b);
    case ExprOp::Div: return div(a, b);
    case ExprOp::Power: return power(a, b);
    case ExprOp::Square: return square(a);
    case ExprOp::Cube: return cube(a);
    case ExprOp::MulAdd: return mulAdd(a, b, c);
    case ExprOp::ProductPlus: return productPlus(a, b, c);
    case ExprOp::MulSub: return mulSub(a, b, c);
    case ExprOp::ProductMinus: return productMinus(a, b, c);
    case ExprOp::Math: return BuiltinFunctions::getMathFunction(mathIndex)(a);
    case ExprOp::NormalizeDiv: return BuiltinFunctions::normalizeElement(a, b);
    case ExprOp::Magnitude:
    case ExprOp::Time: break;
    }
    // "time" changes with every tick count, and a magnitude needs its
    // elements: folding either here is a compiler fault.
    NY_THROW(InvalidParameterException());
}

int ExprProgram::operandsOf(ExprInstruction const& instruction, std::vector<int>& operands) const
{
    operands.assign(1, instruction.a);
    if (instruction.op == ExprOp::Magnitude) {
        operands.insert(operands.end(), elementIds.begin() + instruction.b, elementIds.begin() + instruction.b + instruction.c);
    } else if (!hasOneOperand(instruction.op)) {
        operands.push_back(instruction.b);
        if (hasThreeOperands(instruction.op))
            operands.push_back(instruction.c);
    }
    return static_cast<int>(operands.size());
}

void ExprProgram::placeList(ExprInstruction* placed, std::vector<int> const& operands, std::int32_t ValueFacts::*place,
                            int scale, std::vector<std::int32_t>* lists) const
{
    placed->b = static_cast<std::int32_t>(lists->size());
    for (std::size_t k = 1; k < operands.size(); ++k)
        lists->push_back(facts[operands[k]].*place * scale);
}

void ExprProgram::finish(int const* results, int count)
{
    int valueCount = static_cast<int>(values.size());
    facts.assign(static_cast<std::size_t>(valueCount), ValueFacts{});
    std::vector<int>& operands = operandScratch;
    operands.reserve(4);
    for (int r = 0; r < count; ++r)
        facts[results[r]].needed = true;
    for (auto i = built.rbegin(); i != built.rend(); ++i) {
        if (!facts[i->dst].needed)
            continue;
        int n = operandsOf(*i, operands);
        for (int k = 0; k < n; ++k)
            facts[operands[k]].needed = true;
    }
    for (int v = 0; v < valueCount; ++v)
        facts[v].varying = values[v].kind == ValueKind::Input;
    for (ExprInstruction const& instruction : built) {
        int n = operandsOf(instruction, operands);
        for (int k = 0; k < n; ++k)
            facts[instruction.dst].varying |= facts[operands[k]].varying;
    }
    fuseProducts(results, count);

    assignSlots(results, count);
    buildCode();
    assignLanes(results, count);

    std::vector<Input> usedInputs;
    usedInputs.reserve(inputs.size());
    for (Input const& input : inputs) {
        if (input.slot >= 0)
            usedInputs.push_back(input);
    }
    inputs.swap(usedInputs);
    resultSlots.resize(static_cast<std::size_t>(count));
    for (int r = 0; r < count; ++r)
        resultSlots[r] = facts[results[r]].slot;
    uniformSteps.build({}, uniformCode, {});
    varyingSteps.build(inputLoads(), varyingCode, resultSlots);
    release(uniformCode);
    // Only a program with work per point is worth a page of machine code.
    runsBeforeMachineCode = varyingCode.empty() ? 0 : ExprMachineCode::get$runsBefore();
    if (runsBeforeMachineCode > 0)
        machineInstructions.swap(varyingCode);
    release(varyingCode);

    release(values);
    release(constants);
    release(built);
    release(elementIds);
    release(facts);
    release(operandScratch);
    uniformReady = false;
}

// A product read by one sum or difference only, and not a result, becomes
// part of it: one instruction instead of two, with the same two roundings.
void ExprProgram::fuseProducts(int const* results, int count)
{
    std::vector<int>& operands = operandScratch;
    for (ExprInstruction const& instruction : built) {
        if (!facts[instruction.dst].needed)
            continue;
        int n = operandsOf(instruction, operands);
        for (int k = 0; k < n; ++k)
            ++facts[operands[k]].readers;
    }
    for (int r = 0; r < count; ++r)
        facts[results[r]].readers = INT_MAX;
    // A product that does not depend on the inputs stays apart from a sum
    // that does: fused, it would be computed at every point, not once.
    auto loneProduct = [&](int value, int sum) -> ExprInstruction const* {
        if (values[value].kind != ValueKind::Computed || facts[value].readers != 1 ||
            facts[value].varying != facts[sum].varying)
            return nullptr;
        ExprInstruction const* product = &built[values[value].index];
        return product->op == ExprOp::Mul ? product : nullptr;
    };
    for (ExprInstruction& instruction : built) {
        bool sum = instruction.op == ExprOp::Add;
        if (!facts[instruction.dst].needed || (!sum && instruction.op != ExprOp::Sub))
            continue;
        int left = instruction.a;
        int right = instruction.b;
        if (ExprInstruction const* product = loneProduct(right, instruction.dst)) {
            instruction = {sum ? ExprOp::MulAdd : ExprOp::MulSub, instruction.dst, product->a, product->b, left};
            facts[right].needed = false;
        } else if ((product = loneProduct(left, instruction.dst))) {
            instruction = {sum ? ExprOp::ProductPlus : ExprOp::ProductMinus, instruction.dst, product->a, product->b, right};
            facts[left].needed = false;
        }
    }
}

// Constants, inputs and the values that do not depend on the inputs keep a
// slot each (the latter survive from one run to the next while the tick
// count stays); the values that depend on the inputs share slots, a slot
// being free again after its value's last reader.
void ExprProgram::assignSlots(int const* results, int count)
{
    int valueCount = static_cast<int>(values.size());
    int next = 0;
    for (ValueKind kind : {ValueKind::Constant, ValueKind::Input}) {
        for (int v = 0; v < valueCount; ++v) {
            if (facts[v].needed && values[v].kind == kind)
                facts[v].slot = next++;
        }
    }
    for (ExprInstruction const& instruction : built) {
        if (facts[instruction.dst].needed && !facts[instruction.dst].varying)
            facts[instruction.dst].slot = next++;
    }

    std::vector<int>& operands = operandScratch;
    int step = 0;
    for (ExprInstruction const& instruction : built) {
        if (!facts[instruction.dst].needed || !facts[instruction.dst].varying)
            continue;
        int n = operandsOf(instruction, operands);
        for (int k = 0; k < n; ++k)
            facts[operands[k]].lastUse = step;
        ++step;
    }
    for (int r = 0; r < count; ++r)
        facts[results[r]].lastUse = INT_MAX;

    varyingSlotBase = next;
    varyingSlotCount = 0;
    std::vector<std::int32_t> freeSlots;
    step = 0;
    for (ExprInstruction const& instruction : built) {
        if (!facts[instruction.dst].needed || !facts[instruction.dst].varying)
            continue;
        // The destination is taken before the operands are let go, so that
        // it never shares a slot with an operand (the block kernels rely on it).
        int slot;
        if (freeSlots.empty()) {
            slot = varyingSlotCount++;
        } else {
            slot = freeSlots.back();
            freeSlots.pop_back();
        }
        facts[instruction.dst].varyingSlot = slot;
        facts[instruction.dst].slot = varyingSlotBase + slot;
        int n = operandsOf(instruction, operands);
        for (int k = 0; k < n; ++k) {
            int o = operands[k];
            bool repeated = std::find(operands.begin(), operands.begin() + k, o) != operands.begin() + k;
            if (!repeated && facts[o].varyingSlot >= 0 && facts[o].lastUse == step)
                freeSlots.push_back(facts[o].varyingSlot);
        }
        ++step;
    }

    slots.assign(static_cast<std::size_t>(varyingSlotBase + varyingSlotCount), 0.0);
    for (int v = 0; v < valueCount; ++v) {
        if (facts[v].slot < 0)
            continue;
        if (values[v].kind == ValueKind::Constant)
            slots[facts[v].slot] = constants[values[v].index];
        else if (values[v].kind == ValueKind::Input)
            inputs[values[v].index].slot = facts[v].slot;
    }
}

void ExprProgram::buildCode()
{
    std::vector<int>& operands = operandScratch;
    varyingCode.reserve(built.size());
    uniformCode.reserve(built.size());
    for (ExprInstruction const& instruction : built) {
        if (!facts[instruction.dst].needed)
            continue;
        ExprInstruction placed = instruction;
        placed.dst = facts[instruction.dst].slot;
        int n = operandsOf(instruction, operands);
        placed.a = facts[operands[0]].slot;
        if (instruction.op == ExprOp::Magnitude)
            placeList(&placed, operands, &ValueFacts::slot, 1, &elementSlots);
        else if (n > 1)
            placed.b = facts[operands[1]].slot;
        if (n > 2 && instruction.op != ExprOp::Magnitude)
            placed.c = facts[operands[2]].slot;
        (facts[instruction.dst].varying ? varyingCode : uniformCode).push_back(placed);
    }
}

// The block program reads lane blocks only: the inputs, a copy of every
// constant and uniform value that it reads (constants copied once here,
// uniform values at each runBatch), and blocks for the values that depend on
// the inputs, shared as their slots are. The blocks themselves are allocated
// by the first runBatch, so that a program only run per point never has them.
void ExprProgram::assignLanes(int const* results, int count)
{
    int valueCount = static_cast<int>(values.size());
    int next = 0;
    for (int v = 0; v < valueCount; ++v) {
        if (facts[v].needed && values[v].kind == ValueKind::Input)
            facts[v].lane = next++;
    }
    std::vector<int>& operands = operandScratch;
    for (ExprInstruction const& instruction : built) {
        if (!facts[instruction.dst].needed || !facts[instruction.dst].varying)
            continue;
        int n = operandsOf(instruction, operands);
        for (int k = 0; k < n; ++k) {
            int o = operands[k];
            if (facts[o].varying || facts[o].lane >= 0)
                continue;
            facts[o].lane = next++;
            Broadcast broadcast = {facts[o].slot, facts[o].lane * L};
            (values[o].kind == ValueKind::Constant ? constantBroadcasts : uniformBroadcasts).push_back(broadcast);
        }
    }
    int varyingLaneBase = next;
    if (varyingLaneBase + varyingSlotCount > MaxLaneBlocks) {
        uniformBroadcasts.clear();
        constantBroadcasts.clear();
        return;
    }
    laneBlockCount = varyingLaneBase + varyingSlotCount;
    blockCode.reserve(varyingCode.size());
    for (int v = 0; v < valueCount; ++v) {
        if (facts[v].varyingSlot >= 0)
            facts[v].lane = varyingLaneBase + facts[v].varyingSlot;
    }

    for (int v = 0; v < valueCount; ++v) {
        if (values[v].kind == ValueKind::Input && facts[v].lane >= 0)
            inputs[values[v].index].lane = facts[v].lane * L;
    }
    for (ExprInstruction const& instruction : built) {
        if (!facts[instruction.dst].needed || !facts[instruction.dst].varying)
            continue;
        ExprInstruction placed = instruction;
        placed.dst = facts[instruction.dst].lane * L;
        int n = operandsOf(instruction, operands);
        placed.a = facts[operands[0]].lane * L;
        if (instruction.op == ExprOp::Magnitude)
            placeList(&placed, operands, &ValueFacts::lane, L, &elementLanes);
        else if (n > 1)
            placed.b = facts[operands[1]].lane * L;
        if (n > 2 && instruction.op != ExprOp::Magnitude)
            placed.c = facts[operands[2]].lane * L;
        blockCode.push_back(placed);
    }
    resultLanes.resize(static_cast<std::size_t>(count));
    for (int r = 0; r < count; ++r)
        resultLanes[r] = facts[results[r]].varying ? facts[results[r]].lane * L : -1;
}

std::vector<ExprPointCode::Load> ExprProgram::inputLoads() const
{
    std::vector<ExprPointCode::Load> loads;
    loads.reserve(inputs.size());
    for (Input const& input : inputs)
        loads.push_back({input.source, input.slot});
    return loads;
}

void ExprProgram::buildMachineCode()
{
    machineCode.build(inputLoads(), machineInstructions, resultSlots, elementSlots.data());
    release(machineInstructions);
}

void ExprProgram::runUniformPart(std::uint32_t tickCount)
{
    uniformSteps.run(slots.data(), nullptr, elementSlots.data(), tickCount);
    uniformTick = tickCount;
    uniformReady = true;
}

void ExprProgram::runPointFromArrays(std::uint32_t tickCount, double const* const* pointInputs, int point,
                                     double* result)
{
    double* s = slots.data();
    for (Input const& input : inputs)
        s[input.slot] = pointInputs[input.argument][point];
    varyingSteps.runWithoutLoads(s, result, elementSlots.data(), tickCount);
}

void ExprProgram::runBatch(std::uint32_t tickCount, int count, double const* const* pointInputs, double* results,
                           int stride)
{
    if (!uniformReady || tickCount != uniformTick)
        runUniformPart(tickCount);
    if (laneBlockCount == 0) {
        for (int k = 0; k < count; ++k)
            runPointFromArrays(tickCount, pointInputs, k, results + static_cast<std::ptrdiff_t>(k) * stride);
        return;
    }
    if (lanes.empty()) {
        lanes.assign(static_cast<std::size_t>(laneBlockCount) * L, 0.0);
        for (Broadcast const& broadcast : constantBroadcasts)
            std::fill_n(lanes.begin() + broadcast.lane, L, slots[broadcast.slot]);
    }
    double* blocks = lanes.data();
    for (Broadcast const& broadcast : uniformBroadcasts)
        std::fill_n(blocks + broadcast.lane, L, slots[broadcast.slot]);
    for (int first = 0; first < count; first += L) {
        int n = std::min(L, count - first);
        for (Input const& input : inputs)
            std::copy_n(pointInputs[input.argument] + first, n, blocks + input.lane);
        executeBlock(blockCode.data(), blockCode.data() + blockCode.size(), blocks, elementLanes.data(), n, tickCount);
        double* out = results + static_cast<std::ptrdiff_t>(first) * stride;
        for (std::size_t r = 0; r < resultSlots.size(); ++r) {
            if (resultLanes[r] >= 0) {
                double const* block = blocks + resultLanes[r];
                for (int k = 0; k < n; ++k)
                    out[static_cast<std::ptrdiff_t>(k) * stride + static_cast<std::ptrdiff_t>(r)] = block[k];
            } else {
                double value = slots[resultSlots[r]];
                for (int k = 0; k < n; ++k)
                    out[static_cast<std::ptrdiff_t>(k) * stride + static_cast<std::ptrdiff_t>(r)] = value;
            }
        }
    }
}

}
