// ExprProgram: a linked tree compiled into a flat list of instructions over
// an array of value slots, run in one loop per evaluation, or over blocks of
// points at once (each instruction then works on a whole block of lanes).
// The compiler adds constants, inputs and instructions; finish lays them out.
#pragma once

#include <cstdint>
#include <vector>

#include "vexadrome/actions/expr_instruction.h"
#include "vexadrome/actions/expr_machine_code.h"
#include "vexadrome/actions/expr_point_code.h"

namespace Vexadrome::Actions {

class ExprProgram {
public:
    // Points per block of calculateBatch.
    static constexpr int LaneCount = 64;

    ExprProgram() = default;
    ExprProgram(ExprProgram const&) = delete;
    ExprProgram& operator=(ExprProgram const&) = delete;

    // Forgets the program and frees its slots.
    void clear();

    // Room for about count values while building, so that an ordinary line
    // builds without regrowing its lists.
    void reserve(int count);
    // Building: each call answers the id of the new value.
    int addConstant(double value);
    // A value read from *source at every run, or from inputs[argument] in runBatch.
    int addInput(int argument, double const* source);
    int addInstruction(ExprOp::Enum op, int a, int b, int c);
    // The magnitude of the count values of elements, whose sum of squares is sum.
    int addMagnitude(int sum, int const* elements, int count);
    bool isConstant(int value) const { return values[value].kind == ValueKind::Constant; }
    double constantValue(int value) const { return constants[values[value].index]; }
    // Drops the instructions that no result needs, merges products into the
    // sums that read them, splits the rest into the part that depends on the
    // inputs and the part that does not (constants and "time" only), assigns
    // slots and lanes, and allocates the slots (the lanes wait for the first runBatch).
    void finish(int const* results, int count);

    // The value of one instruction over plain numbers: how constants are folded.
    static double fold(ExprOp::Enum op, double a, double b, double c, int mathIndex);

    // Evaluates once: the result values go to result[0] upwards. A program
    // run often enough by the threaded steps gets machine code (the one
    // allocation after binding), which gives the same bits.
    void run(std::uint32_t tickCount, double* result)
    {
        if (!uniformReady || tickCount != uniformTick)
            runUniformPart(tickCount);
        if (machineCode.isBuilt()) {
            machineCode.run(slots.data(), result);
            return;
        }
        varyingSteps.run(slots.data(), result, elementSlots.data(), tickCount);
        if (runsBeforeMachineCode > 0 && --runsBeforeMachineCode == 0)
            buildMachineCode();
    }
    // Evaluates count points; see ExprValueCalculator::calculateBatch.
    void runBatch(std::uint32_t tickCount, int count, double const* const* inputs, double* results, int stride);

    // Instructions left after folding, merging and dropping: those that do
    // not depend on the inputs and those that do.
    int get$uniformCount() const { return uniformSteps.get$count(); }
    int get$varyingCount() const { return varyingSteps.get$count(); }
    // Whether run executes machine code rather than the threaded steps.
    bool get$hasMachineCode() const { return machineCode.isBuilt(); }

private:
    enum class ValueKind : std::int32_t { Constant, Input, Computed };
    struct Value {
        ValueKind kind;
        std::int32_t index;   // into constants, inputs or the built code
    };
    struct Input {
        std::int32_t argument;
        double const* source;
        std::int32_t slot;
        std::int32_t lane;   // offset of its block in lanes, -1 when the block program does not read it
    };
    struct Broadcast {
        std::int32_t slot;
        std::int32_t lane;
    };
    // What finish learns of one value id, all in one list.
    struct ValueFacts {
        bool needed = false;        // read by a result, directly or not
        bool varying = false;       // depends on the inputs
        std::int32_t readers = 0;   // needed instructions that read it
        std::int32_t lastUse = -1;  // step of its last varying reader
        std::int32_t slot = -1;
        std::int32_t lane = -1;     // block, in units of L lanes
        std::int32_t varyingSlot = -1;   // among the shared varying slots
    };

    // The ids an instruction reads, into operands; returns their count.
    int operandsOf(ExprInstruction const& instruction, std::vector<int>& operands) const;
    // Appends the list of an instruction's elements to lists, each mapped by place.
    void placeList(ExprInstruction* placed, std::vector<int> const& operands, std::int32_t ValueFacts::*place, int scale,
                   std::vector<std::int32_t>* lists) const;
    // Merges each product that only one sum or difference reads into it.
    void fuseProducts(int const* results, int count);
    void assignSlots(int const* results, int count);
    void buildCode();
    void assignLanes(int const* results, int count);
    // The loads of the used inputs into their slots, for the per-point code.
    std::vector<ExprPointCode::Load> inputLoads() const;
    // Translates the varying part, kept for it since finish, to machine code.
    void buildMachineCode();
    // Computes the values that do not depend on the inputs, for this tick count.
    void runUniformPart(std::uint32_t tickCount);
    void runPointFromArrays(std::uint32_t tickCount, double const* const* inputs, int point, double* result);

    // Building state, released by finish.
    std::vector<Value> values;
    std::vector<double> constants;
    std::vector<ExprInstruction> built;
    std::vector<std::int32_t> elementIds;

    // The finished program.
    std::vector<Input> inputs;
    std::vector<ExprInstruction> uniformCode;   // during finish only
    std::vector<ExprInstruction> varyingCode;   // during finish only
    ExprPointCode uniformSteps;
    ExprPointCode varyingSteps;
    ExprMachineCode machineCode;   // the varying steps as machine code, where it can be built
    std::vector<ExprInstruction> machineInstructions;   // the varying code, until it is translated
    int runsBeforeMachineCode = 0;   // 0: none to build
    std::vector<ExprInstruction> blockCode;
    // The element lists of the Magnitude instructions: slots, and lane offsets.
    std::vector<std::int32_t> elementSlots;
    std::vector<std::int32_t> elementLanes;
    std::vector<std::int32_t> resultSlots;
    std::vector<std::int32_t> resultLanes;   // -1: read the slot instead
    std::vector<Broadcast> uniformBroadcasts;
    std::vector<Broadcast> constantBroadcasts;   // copied once, when the lanes are allocated
    std::int32_t laneBlockCount = 0;   // blocks of L lanes; 0 when the block program would be too large
    std::vector<double> slots;
    std::vector<double> lanes;         // allocated by the first runBatch
    // Every value id's facts, during finish.
    std::vector<ValueFacts> facts;
    std::int32_t varyingSlotBase = 0;
    std::int32_t varyingSlotCount = 0;
    // The operands of one instruction at a time, shared by the passes of finish.
    std::vector<int> operandScratch;

    bool uniformReady = false;
    std::uint32_t uniformTick = 0;
};

}
