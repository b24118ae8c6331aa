// ExprPointCode: the per-point form of a finished program's instructions,
// threaded code run by one function. Each step jumps straight to the next
// step's handler, and the value just computed stays in a register: a step
// whose operand is the previous step's result reads the register instead of
// the slot (every result is still stored in its slot for later readers).
#pragma once

#include <cstdint>
#include <vector>

#include "vexadrome/actions/builtin_functions.h"
#include "vexadrome/actions/expr_instruction.h"

namespace Vexadrome::Actions {

class ExprPointCode {
public:
    // A value read from *source into slot at the start of every run.
    struct Load {
        double const* source;
        std::int32_t slot;
    };

    void clear();
    // Translates instructions whose operands are slot indexes, after the
    // loads, and ends with the copy of the result slots to the result array;
    // the element lists of Magnitude instructions are read from elementSlots.
    void build(std::vector<Load> const& loads, std::vector<ExprInstruction> const& code,
               std::vector<std::int32_t> const& resultSlots);
    // Runs the loads, the instructions and the result copy over the slot array.
    void run(double* slots, double* result, std::int32_t const* elementSlots, std::uint32_t tickCount) const
    {
        execute(steps.data(), slots, result, elementSlots, tickCount, nullptr);
    }
    // As run, for a caller that has written the loads' slots itself.
    void runWithoutLoads(double* slots, double* result, std::int32_t const* elementSlots, std::uint32_t tickCount) const
    {
        execute(steps.data() + loadCount, slots, result, elementSlots, tickCount, nullptr);
    }
    // Instructions, not counting loads, result copies and the final return.
    int get$count() const { return instructionCount; }

private:
    struct Step {
        void const* handler;
        union {
            MathFunction function;   // of a Math step
            double const* source;    // of a load
        };
        std::int32_t dst;            // of a result copy: the index in the result array
        std::int32_t a;
        std::int32_t b;
        std::int32_t c;
    };

    // Runs from step p; or, given table, only answers the handlers by step kind.
    static void execute(Step const* p, double* s, double* result, std::int32_t const* elementSlots,
                        std::uint32_t tickCount, void const* const** table);

    std::vector<Step> steps;
    int loadCount = 0;
    int instructionCount = 0;
};

}
