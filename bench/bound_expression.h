// BoundExpression: an expression over x and y linked and bound as a graph
// links it: a function of x and y whose body is the expression, called with
// one Constant argument per variable; each point is written into those.
#pragma once

#include "bench/expression_cases.h"
#include "vexadrome/actions/expr_value_calculator.h"
#include "vexadrome/documents/expr_manager.h"
#include "vexadrome/expressions/expr.h"
#include "vexadrome/expressions/function.h"

namespace Bench {

class BoundExpression {
public:
    // Stores the case's definitions, parses and links its text and binds the
    // calculator; a fault in any step ends the program with a message.
    explicit BoundExpression(ExpressionCase const& expression);
    ~BoundExpression();
    BoundExpression(BoundExpression const&) = delete;
    BoundExpression& operator=(BoundExpression const&) = delete;

    double at(double x, double y)
    {
        xInput->value = x;
        yInput->value = y;
        calculator.calculate(&error);
        return calculator.get$values()[0];
    }
    // Evaluates count points with calculateBatch: results[k] is the value at (xs[k], ys[k]).
    void batch(int count, double const* xs, double const* ys, double* results)
    {
        double const* inputs[2] = {xs, ys};
        calculator.calculateBatch(count, inputs, results, 1);
    }
    Vexadrome::Actions::ExprValueCalculator const* get$calculator() const { return &calculator; }

private:
    Vexadrome::Documents::ExprManager store;
    Vexadrome::Expressions::Function function;
    Vexadrome::Expressions::UserCall* call = nullptr;
    Vexadrome::Expressions::Constant* xInput = nullptr;
    Vexadrome::Expressions::Constant* yInput = nullptr;
    Vexadrome::Actions::ExprValueCalculator calculator;
    Vexadrome::Parsing::Error error;
};

}
