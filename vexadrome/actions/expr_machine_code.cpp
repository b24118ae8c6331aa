// The translation to machine code. The generated function keeps the slot
// array in rbx and the result array in rbp, and the last result in xmm0, as
// the threaded steps keep theirs in acc: every result is also stored in its
// slot, so that an operand that is not the last result is read from memory.
// The arithmetic is one SSE2 instruction per operation, in the operand order
// of ExprOperations, so that the bits are those of the other paths; calls go
// through the same functions as the steps.
#include "vexadrome/actions/expr_machine_code.h"

#include <cstring>
#include <initializer_list>

#if defined(__x86_64__) && defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#define VEXADROME_MACHINE_CODE 1
#endif

#include "vexadrome/actions/builtin_functions.h"
#include "vexadrome/actions/exact_powers.h"
#include "vexadrome/actions/expr_operations.h"

namespace Vexadrome::Actions {

namespace {

int runsBefore = ExprMachineCode::DefaultRunsBefore;

#ifdef VEXADROME_MACHINE_CODE

// Programs beyond this many bytes of code keep to the threaded steps.
constexpr std::size_t MaxCodeBytes = 1 << 20;

// Out-of-line entries for the calls the code makes.
double powerOf(double a, double b) { return ExprOperations::power(a, b); }

double magnitudeOf(double sumOfSquares, double const* slots, std::int32_t const* elements, int count)
{
    return BuiltinFunctions::magnitude(sumOfSquares, count, [=](int k) { return slots[elements[k]]; });
}

// The second opcode byte of the scalar double instructions (after F2 0F).
enum Scalar : std::uint8_t { Load = 0x10, Store = 0x11, Sqrt = 0x51, Add = 0x58, Mul = 0x59, Sub = 0x5C, Div = 0x5E };

class Assembler {
public:
    std::vector<std::uint8_t> bytes;

    void byte(std::uint8_t b) { bytes.push_back(b); }
    void bytesOf(std::initializer_list<std::uint8_t> list) { bytes.insert(bytes.end(), list); }
    void word(std::uint64_t value, int count)
    {
        for (int i = 0; i < count; ++i)
            byte(static_cast<std::uint8_t>(value >> (8 * i)));
    }
    // op xmm<reg>, [base + 8 * index] with base rbx (3) or rbp (5).
    void scalarMemory(Scalar op, int reg, int base, std::int32_t index)
    {
        bytesOf({0xF2, 0x0F, op, static_cast<std::uint8_t>(0x80 | reg << 3 | base)});
        word(static_cast<std::uint32_t>(index * 8), 4);
    }
    void slot(Scalar op, int reg, std::int32_t index) { scalarMemory(op, reg, 3, index); }
    // op xmm<reg>, xmm<other>
    void scalarRegister(Scalar op, int reg, int other)
    {
        bytesOf({0xF2, 0x0F, op, static_cast<std::uint8_t>(0xC0 | reg << 3 | other)});
    }
    // movapd xmm<reg>, xmm<other>
    void copy(int reg, int other) { bytesOf({0x66, 0x0F, 0x28, static_cast<std::uint8_t>(0xC0 | reg << 3 | other)}); }
    // mov rax, value
    void loadAddress(void const* address)
    {
        bytesOf({0x48, 0xB8});
        word(reinterpret_cast<std::uintptr_t>(address), 8);
    }
    void call(void const* function)
    {
        loadAddress(function);
        bytesOf({0xFF, 0xD0});   // call rax
    }
};

// Emits one program; acc is the slot whose value xmm0 holds, -1 for none.
class Translator {
public:
    Assembler code;

    explicit Translator(std::int32_t const* elementSlots) : elementSlots(elementSlots) {}

    bool translate(std::vector<ExprPointCode::Load> const& loads, std::vector<ExprInstruction> const& instructions,
                   std::vector<std::int32_t> const& resultSlots)
    {
        // push rbx; push rbp; sub rsp, 8 (calls need the stack 16-aligned); mov rbx, rdi; mov rbp, rsi
        code.bytesOf({0x53, 0x55, 0x48, 0x83, 0xEC, 0x08, 0x48, 0x89, 0xFB, 0x48, 0x89, 0xF5});
        for (ExprPointCode::Load const& load : loads) {
            code.loadAddress(load.source);
            code.bytesOf({0xF2, 0x0F, 0x10, 0x00});   // movsd xmm0, [rax]
            store(load.slot);
        }
        for (ExprInstruction const& instruction : instructions) {
            if (!translate(instruction))
                return false;
            if (code.bytes.size() > MaxCodeBytes)
                return false;
        }
        for (std::size_t r = 0; r < resultSlots.size(); ++r) {
            int reg = resultSlots[r] == acc ? 0 : 1;
            if (reg == 1)
                code.slot(Load, 1, resultSlots[r]);
            code.scalarMemory(Store, reg, 5, static_cast<std::int32_t>(r));
        }
        // add rsp, 8; pop rbp; pop rbx; ret
        code.bytesOf({0x48, 0x83, 0xC4, 0x08, 0x5D, 0x5B, 0xC3});
        return true;
    }

private:
    std::int32_t const* elementSlots;
    std::int32_t acc = -1;

    void store(std::int32_t dst)
    {
        code.slot(Store, 0, dst);
        acc = dst;
    }
    void intoAcc(std::int32_t operand)
    {
        if (operand != acc)
            code.slot(Load, 0, operand);
    }
    // xmm0 = a op b
    void binary(Scalar op, std::int32_t a, std::int32_t b)
    {
        if (a != acc && b == acc) {
            code.copy(1, 0);
            code.slot(Load, 0, a);
            code.scalarRegister(op, 0, 1);
        } else {
            intoAcc(a);
            code.slot(op, 0, b);
        }
    }
    // xmm1 = a * b
    void product(std::int32_t a, std::int32_t b)
    {
        if (a == acc)
            code.copy(1, 0);
        else
            code.slot(Load, 1, a);
        code.slot(Mul, 1, b);
    }
    // xmm0 = c op xmm1
    void afterProduct(Scalar op, std::int32_t c)
    {
        intoAcc(c);
        code.scalarRegister(op, 0, 1);
    }
    // xmm0 = xmm1 op c
    void beforeOperand(Scalar op, std::int32_t c)
    {
        code.slot(op, 1, c);
        code.copy(0, 1);
    }
    void callOne(void const* function, std::int32_t a)
    {
        intoAcc(a);
        code.call(function);
    }
    void callTwo(void const* function, std::int32_t a, std::int32_t b)
    {
        code.slot(Load, 1, b);
        intoAcc(a);
        code.call(function);
    }

    bool translate(ExprInstruction const& i)
    {
        switch (i.op) {
        case ExprOp::Add: binary(Add, i.a, i.b); break;
        case ExprOp::Sub: binary(Sub, i.a, i.b); break;
        case ExprOp::Mul: binary(Mul, i.a, i.b); break;
        case ExprOp::Div: binary(Div, i.a, i.b); break;
        case ExprOp::MulAdd: product(i.a, i.b); afterProduct(Add, i.c); break;
        case ExprOp::MulSub: product(i.a, i.b); afterProduct(Sub, i.c); break;
        case ExprOp::ProductPlus: product(i.a, i.b); beforeOperand(Add, i.c); break;
        case ExprOp::ProductMinus: product(i.a, i.b); beforeOperand(Sub, i.c); break;
        case ExprOp::Power: callTwo(reinterpret_cast<void const*>(&powerOf), i.a, i.b); break;
        case ExprOp::Square: callOne(reinterpret_cast<void const*>(&ExactPowers::square), i.a); break;
        case ExprOp::Cube: callOne(reinterpret_cast<void const*>(&ExactPowers::cube), i.a); break;
        case ExprOp::NormalizeDiv: callTwo(reinterpret_cast<void const*>(&BuiltinFunctions::normalizeElement), i.a, i.b); break;
        case ExprOp::Math: {
            // The square root is one instruction, with the bits of the call.
            if (BuiltinFunctions::isSqrt(i.b)) {
                if (i.a == acc)
                    code.scalarRegister(Sqrt, 0, 0);
                else
                    code.slot(Sqrt, 0, i.a);
            } else {
                callOne(reinterpret_cast<void const*>(BuiltinFunctions::getMathFunction(i.b)), i.a);
            }
            break;
        }
        case ExprOp::Magnitude:
            // magnitudeOf(sum, slots, its element list, count)
            intoAcc(i.a);
            code.bytesOf({0x48, 0x89, 0xDF, 0x48, 0xBE});   // mov rdi, rbx; mov rsi, ...
            code.word(reinterpret_cast<std::uintptr_t>(elementSlots + i.b), 8);
            code.byte(0xBA);   // mov edx, ...
            code.word(static_cast<std::uint32_t>(i.c), 4);
            code.call(reinterpret_cast<void const*>(&magnitudeOf));
            break;
        default:
            // "time" reads the tick count of the evaluation.
            return false;
        }
        store(i.dst);
        return true;
    }
};

#endif

}

void ExprMachineCode::set$runsBefore(int runs)
{
    runsBefore = runs;
}

int ExprMachineCode::get$runsBefore()
{
    return runsBefore;
}

ExprMachineCode::~ExprMachineCode()
{
    clear();
}

void ExprMachineCode::clear()
{
#ifdef VEXADROME_MACHINE_CODE
    if (memory)
        munmap(memory, mappedSize);
#endif
    memory = nullptr;
    mappedSize = 0;
    entry = nullptr;
}

bool ExprMachineCode::build(std::vector<ExprPointCode::Load> const& loads, std::vector<ExprInstruction> const& code,
                            std::vector<std::int32_t> const& resultSlots, std::int32_t const* elementSlots)
{
    clear();
#ifdef VEXADROME_MACHINE_CODE
    Translator translator(elementSlots);
    if (!translator.translate(loads, code, resultSlots))
        return false;
    std::vector<std::uint8_t> const& bytes = translator.code.bytes;
    std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    std::size_t size = (bytes.size() + page - 1) / page * page;
    void* mapped = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        return false;
    std::memcpy(mapped, bytes.data(), bytes.size());
    if (mprotect(mapped, size, PROT_READ | PROT_EXEC) != 0) {
        munmap(mapped, size);
        return false;
    }
    memory = mapped;
    mappedSize = size;
    entry = reinterpret_cast<Entry>(mapped);
    return true;
#else
    (void)loads;
    (void)code;
    (void)resultSlots;
    (void)elementSlots;
    return false;
#endif
}

}
