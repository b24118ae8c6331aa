// The time-dependency search: the default walk enters every argument and
// every linked body; only math calls need a look of their own.
#include "vexadrome/actions/expr_calls_time.h"

#include "vexadrome/actions/builtin_functions.h"

namespace Vexadrome::Actions {

bool ExprCallsTime::search(Expressions::Expr* root)
{
    ExprCallsTime finder;
    root->accept(&finder);
    return finder.callsTime;
}

void ExprCallsTime::handleMathCall(Expressions::Expr* operand, int index)
{
    if (index == BuiltinFunctions::TimeIndex)
        callsTime = true;
    visit(operand);
}

}
