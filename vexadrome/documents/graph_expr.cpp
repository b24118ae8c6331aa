// Compiling a graph expression over the document's variables, and keeping
// its sample arrays in step with the document.
#include "vexadrome/documents/graph_expr.h"

#include "nycore/system/memory.h"
#include "nycore/text/string_functions.h"
#include "vexadrome/actions/expr_calls_time.h"
#include "vexadrome/documents/graph_doc.h"
#include "vexadrome/documents/graph_sampler.h"

namespace Vexadrome::Documents {

namespace ErrorCode = Parsing::ErrorCode;

namespace {

double* allocatePoints(std::int64_t pointCount)
{
    return static_cast<double*>(memory_alloc(sizeof(double) * 3 * static_cast<std::size_t>(pointCount)));
}

}

GraphExpr::~GraphExpr()
{
    cleanup();
    string_free(name);
    string_free(exprString);
}

void GraphExpr::set$name(NyCore::String const* s)
{
    NyCore::String* old = name;
    name = string_copy(s);
    string_free(old);
}

void GraphExpr::set$exprString(NyCore::String const* s)
{
    NyCore::String* old = exprString;
    exprString = string_copy(s);
    string_free(old);
}

NyCore::String const* GraphExpr::get$name() const
{
    return name ? name : NyCore::Text::EmptyString;
}

NyCore::String const* GraphExpr::get$exprString() const
{
    return exprString ? exprString : NyCore::Text::EmptyString;
}

void GraphExpr::releaseCompiled()
{
    calculator.cleanup();
    delete linked;
    linked = nullptr;
    memory_free(inputs);
    inputs = nullptr;
    inputCount = 0;
    usesTime = false;
}

void GraphExpr::cleanupArrays()
{
    memory_free(points);
    points = nullptr;
    memory_free(normals);
    normals = nullptr;
    capacity = 0;
}

void GraphExpr::cleanup()
{
    releaseCompiled();
    cleanupArrays();
}

bool GraphExpr::fail(Parsing::Error* error, int code)
{
    if (code != ErrorCode::NoError)
        error->setCode(code);
    cleanup();
    active = false;
    return false;
}

bool GraphExpr::bindExprString(Parsing::Error* error)
{
    // The sample arrays stay when the size does not change: compiling again
    // (after an accepted dialog) then touches no new memory.
    releaseCompiled();
    int const varCount = doc->get$varCount();
    if (varCount < 1 || doc->get$hasTooManyPoints())
        return fail(error, ErrorCode::TooComplex);
    NyCore::String const* names[GraphDoc::MaxVariables];
    for (int i = 0; i < varCount; ++i)
        names[i] = doc->getVarName(i);
    LinkedFn fn;
    if (!doc->get$store()->createLinkedFn(get$exprString(), names, varCount, &fn, error))
        return fail(error, ErrorCode::NoError);
    linked = fn.expr;
    inputs = fn.args;
    inputCount = fn.argCount;
    calculator.bindTo(linked);
    // A tree too large to evaluate says so on its first evaluation.
    Parsing::Error probe;
    calculator.calculate(&probe);
    if (probe.hasCode())
        return fail(error, probe.code);
    usesTime = Actions::ExprCallsTime::search(linked);

    std::int64_t const count = doc->get$pointCount();
    if (capacity != count) {
        cleanupArrays();
        capacity = count;
    }
    if (!points)
        points = allocatePoints(count);
    if (varCount <= 3 && !normals)
        normals = allocatePoints(count);
    if (varCount > 3) {
        memory_free(normals);
        normals = nullptr;
    }
    recalculate();
    return true;
}

void GraphExpr::recalculate()
{
    if (!points)
        return;
    calculator.updateTimeValue();
    resample();
}

void GraphExpr::resample()
{
    if (!points || capacity != doc->get$pointCount())
        return;
    VarRange const* ranges = doc->get$ranges();
    GraphSampler::samplePoints(&calculator, get$resultSize(), ranges, doc->get$varCount(), doc->mode, points);
    if (normals)
        GraphSampler::computeNormals(points, ranges, doc->get$varCount(), normals);
}

}
