// Linking and binding an expression as a graph does, for the benchmarks.
#include "bench/bound_expression.h"

#include <cstdio>
#include <cstdlib>

#include "nycore/text/string_functions.h"
#include "vexadrome/actions/prelink_expr_linker.h"
#include "vexadrome/parsing/expr_parser.h"

namespace Bench {

using namespace Vexadrome;

namespace {

[[noreturn]] void fail(ExpressionCase const& expression, char const* step, Parsing::Error const& error)
{
    std::fprintf(stderr, "%s: %s failed with error code %d\n", expression.name, step, error.code);
    std::exit(1);
}

}

BoundExpression::BoundExpression(ExpressionCase const& expression)
{
    for (char const* definition : expression.definitions) {
        if (!definition)
            continue;
        NyCore::String* text = string_from_ascii(definition);
        bool stored = store.setFunction(text, &error);
        string_free(text);
        if (!stored)
            fail(expression, "a definition", error);
    }

    for (char const* name : {"x", "y"}) {
        NyCore::String* parameter = string_from_ascii(name);
        function.addParam(parameter);
        string_free(parameter);
    }
    NyCore::String* text = string_from_ascii(expression.text);
    function.setBody(Parsing::ExprParser::parse(text, &error));
    string_free(text);
    if (!function.body)
        fail(expression, "parsing", error);

    call = new Expressions::UserCall(2);
    xInput = new Expressions::Constant(1.0);
    yInput = new Expressions::Constant(1.0);
    call->arguments[0] = xInput;
    call->arguments[1] = yInput;
    call->body = Actions::PrelinkExprLinker::link(&function, call, store.get$functions(), &error);
    if (!call->body)
        fail(expression, "linking", error);
    calculator.bindTo(call);
    if (!calculator.get$isCompiled() || calculator.get$rowCount() != 1 || calculator.get$colCount() != 1)
        fail(expression, "binding to a compiled scalar", error);
}

BoundExpression::~BoundExpression()
{
    calculator.cleanup();
    delete call;
}

}
