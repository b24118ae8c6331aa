// GraphExpr: one plotted expression of a graph document. It compiles its
// text over the document's variables through the shared store and keeps the
// sampled points and normals that the renderer and the OBJ export read.
#pragma once

#include <cstdint>

#include "nycore/text/string.h"
#include "vexadrome/actions/expr_value_calculator.h"
#include "vexadrome/expressions/expr.h"
#include "vexadrome/parsing/error.h"

namespace Vexadrome::Documents {

namespace ExprRendMode {
enum Enum : std::int32_t { Wireframe = 0, Filled = 1, Points = 2 };
constexpr int Count = 3;
}

namespace ExprMaterial {
enum Enum : std::int32_t { Plastic = 0, Metal = 1, Rubber = 2, Flat = 3 };
constexpr int Count = 4;
}

class GraphDoc;

class GraphExpr {
public:
    // Leaves the name and text empty and the expression uncompiled; the
    // drawing fields start at the values a file without them reads as.
    explicit GraphExpr(GraphDoc* doc) : doc(doc) {}
    ~GraphExpr();
    GraphExpr(GraphExpr const&) = delete;
    GraphExpr& operator=(GraphExpr const&) = delete;

    // Replace with copies.
    void set$name(NyCore::String const* s);
    void set$exprString(NyCore::String const* s);
    // Never null: the empty string when unset.
    NyCore::String const* get$name() const;
    NyCore::String const* get$exprString() const;

    // Compiles the text over the document's variables and samples it. On
    // failure the error says why, `active` is cleared and there are no points;
    // a graph with more samples than GraphDoc::MaxPointCount fails with
    // ErrorCode::TooComplex before anything is allocated.
    bool bindExprString(Parsing::Error* error);
    // Takes the clock's time and samples again; nothing when not compiled.
    void recalculate();
    // Samples again at the time the calculator holds (set$tickCount). Nothing
    // when the document's sample count changed since the compile.
    void resample();
    // Frees the compiled expression, the inputs, points and normals.
    void cleanup();
    bool get$isBound() const { return points != nullptr; }
    // The number of values of one result (1 for a scalar); 0 when not compiled.
    int get$resultSize() const { return linked ? linked->get$size() : 0; }

    // The argument constants of the linked call, one per variable (owned by `linked`).
    Expressions::Constant** inputs = nullptr;
    Actions::ExprValueCalculator calculator;
    NyCore::String* name = nullptr;
    NyCore::String* exprString = nullptr;
    GraphDoc* doc;
    // pointCount x 3 values, sample k at 3k, 3k + 1, 3k + 2.
    double* points = nullptr;
    // The same shape; only for graphs of at most three variables.
    double* normals = nullptr;
    double normalLength = 0.0;
    std::int32_t normalPColor = 0;
    std::int32_t normalNColor = 0;
    std::int32_t inputCount = 0;
    ExprRendMode::Enum rendMode = ExprRendMode::Wireframe;
    ExprMaterial::Enum material = ExprMaterial::Plastic;
    std::int32_t color = 0;
    bool active = true;
    bool usesTime = false;
    // The linked call that the calculator is bound to (owned).
    Expressions::Expr* linked = nullptr;

private:
    // Frees what compiling made (the linked call, inputs, the calculator's program); keeps the arrays.
    void releaseCompiled();
    void cleanupArrays();
    // Ends a failed compile: the code (unless NoError) into error, no arrays, inactive. Returns false.
    bool fail(Parsing::Error* error, int code);

    // The samples the arrays have room for; sampling is skipped while the
    // document's variables no longer match (until the next compile).
    std::int64_t capacity = 0;
};

}
