// Fuzzes the calculator's whole line handling: the input is a session of
// lines (definitions, expressions, commands) entered into one calculator.
// Every line that links as an expression of x and y is also evaluated at a
// few points three ways (the compiled program per point, by its threaded
// steps for the first point and its machine code for the others, and in a
// batch, and the node-by-node walk), which must agree to the bit; a mismatch
// aborts.
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <vector>

#include "nycore/system/memory.h"
#include "nycore/text/string_functions.h"
#include "vexadrome/actions/expr_machine_code.h"
#include "vexadrome/actions/expr_value_calculator.h"
#include "vexadrome/documents/calculator_session.h"

namespace {

// Swallows the transcript.
class NullWriter : public Vexadrome::Documents::TranscriptWriter {
public:
    void append(char16_t) override {}
    void append(NyCore::String const*) override {}
    void setTextColor(std::uint32_t, int) override {}
    void clearScreen() override {}
};

bool sameValue(double a, double b)
{
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b) || (std::isnan(a) && std::isnan(b));
}

// Results larger than this are not compared (a batch would need count times as many).
constexpr int MaxComparedValues = 4096;

void compareEvaluators(Vexadrome::Documents::ExprManager* store, NyCore::String const* line)
{
    static NyCore::String const* const names[2] = {string_from_ascii("x"), string_from_ascii("y")};
    Vexadrome::Documents::LinkedFn fn;
    Vexadrome::Parsing::Error error;
    if (!store->createLinkedFn(line, names, 2, &fn, &error))
        return;
    double const inf = std::numeric_limits<double>::infinity();
    double const xs[] = {0.5, -0.0, 3.0, 1e300, std::numeric_limits<double>::quiet_NaN(), -2.0, 7.25};
    double const ys[] = {-1.25, 0.0, 1e-310, -inf, 2.0, 2.0, 0.1};
    constexpr int count = sizeof(xs) / sizeof(xs[0]);

    // Machine code after the first point, so that the points after it run by it.
    Vexadrome::Actions::ExprMachineCode::set$runsBefore(1);
    Vexadrome::Actions::ExprValueCalculator calculator;
    calculator.bindTo(fn.expr);
    int size = calculator.get$rowCount() * calculator.get$colCount();
    if (size > 0 && size <= MaxComparedValues) {
        std::vector<double> batch(static_cast<std::size_t>(count * size));
        double const* inputs[2] = {xs, ys};
        calculator.calculateBatch(count, inputs, batch.data(), size);
        std::vector<double> point(static_cast<std::size_t>(size));
        for (int k = 0; k < count; ++k) {
            fn.args[0]->value = xs[k];
            fn.args[1]->value = ys[k];
            calculator.calculate(&error);
            calculator.copyResult(point.data(), 0);
            calculator.calculateByWalking(&error);
            for (int v = 0; v < size; ++v) {
                double walked = calculator.get$values()[v];
                if (!sameValue(point[v], walked) || !sameValue(point[v], batch[k * size + v]))
                    std::abort();
            }
        }
    }
    calculator.cleanup();
    delete fn.expr;
    memory_free(fn.args);
}

}

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size)
{
    Vexadrome::Documents::ExprManager store;
    NullWriter output;
    Vexadrome::Documents::CalculatorSession session(&store, &output);
    auto const* bytes = reinterpret_cast<char const*>(data);
    std::size_t start = 0;
    for (std::size_t i = 0; i <= size; ++i) {
        if (i == size || bytes[i] == '\n') {
            NyCore::String* line = string_from_utf8(bytes + start, static_cast<int>(i - start));
            compareEvaluators(&store, line);
            session.executeCmnd(line);
            string_free(line);
            start = i + 1;
        }
    }
    return 0;
}
