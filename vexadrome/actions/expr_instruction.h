// The instructions of a compiled program (see ExprProgram): an operation,
// where its result goes, and up to three operands.
#pragma once

#include <cstdint>

namespace Vexadrome::Actions {

namespace ExprOp {
enum Enum : std::int32_t {
    Add,            // a + b
    Sub,            // a - b
    Mul,            // a * b
    Div,            // a / b
    Power,          // pow(a, b)
    Square,         // pow(a, 2)
    Cube,           // pow(a, 3)
    MulAdd,         // c + a * b, one step of a sum of products
    ProductPlus,    // a * b + c
    MulSub,         // c - a * b
    ProductMinus,   // a * b - c
    Math,           // the math table's function b applied to a
    Time,           // "time" of a
    Magnitude,      // "magnitude" from the sum of squares a of the c elements listed from b
    NormalizeDiv,   // a over the magnitude b; 0 when b is 0
};
}

// While building, dst and the operands are value ids; after finish they are
// slot indexes (or lane offsets in the block program). b of Math is the math
// index; b and c of Magnitude are the offset and length of its element list,
// which holds ids, slots or lane offsets in the same way.
struct ExprInstruction {
    std::int32_t op;
    std::int32_t dst;
    std::int32_t a;
    std::int32_t b;
    std::int32_t c;
};

// Whether the instruction reads a, b and c as three values.
inline bool hasThreeOperands(std::int32_t op)
{
    return op == ExprOp::MulAdd || op == ExprOp::ProductPlus || op == ExprOp::MulSub || op == ExprOp::ProductMinus;
}

// Whether the instruction reads only a.
inline bool hasOneOperand(std::int32_t op)
{
    return op == ExprOp::Math || op == ExprOp::Time || op == ExprOp::Square || op == ExprOp::Cube;
}

}
