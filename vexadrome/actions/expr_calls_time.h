// ExprCallsTime: whether a linked tree depends on the built-in "time" and so
// must be recomputed as time passes.
#pragma once

#include "vexadrome/expressions/expr.h"

namespace Vexadrome::Actions {

class ExprCallsTime : public Expressions::ExprHandler {
public:
    // True when a "time" call appears anywhere, arguments and linked bodies of user calls included.
    static bool search(Expressions::Expr* root);

    void handleMathCall(Expressions::Expr* operand, int index) override;

private:
    bool callsTime = false;
};

}
