// ExprMachineCode: the per-point instructions of a finished program
// translated to x86-64 machine code, for programs of plain arithmetic and
// calls of one or two numbers. The code is written into a page that is
// writable only while it is written and executable only afterwards. Where it
// cannot be built (another processor, a "time" of the inputs, a mapping
// refused), the caller keeps to the threaded steps of ExprPointCode.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "vexadrome/actions/expr_instruction.h"
#include "vexadrome/actions/expr_point_code.h"

namespace Vexadrome::Actions {

class ExprMachineCode {
public:
    ExprMachineCode() = default;
    ~ExprMachineCode();
    ExprMachineCode(ExprMachineCode const&) = delete;
    ExprMachineCode& operator=(ExprMachineCode const&) = delete;

    // How many runs of a program by the threaded steps come before its
    // machine code is built (mapping the page costs as much as some hundred
    // evaluations); 0 builds none. Tests change it to run either path.
    static constexpr int DefaultRunsBefore = 1024;
    static void set$runsBefore(int runs);
    static int get$runsBefore();

    void clear();
    // As ExprPointCode::build; false, with nothing built, where the code
    // cannot be translated. elementSlots must outlive the machine code.
    bool build(std::vector<ExprPointCode::Load> const& loads, std::vector<ExprInstruction> const& code,
               std::vector<std::int32_t> const& resultSlots, std::int32_t const* elementSlots);
    bool isBuilt() const { return entry != nullptr; }
    // Loads the inputs, computes and copies the results, as ExprPointCode::run.
    void run(double* slots, double* result) const { entry(slots, result); }

private:
    using Entry = void (*)(double* slots, double* result);

    Entry entry = nullptr;
    void* memory = nullptr;
    std::size_t mappedSize = 0;
};

}
