// Rendering values: scalars, column vectors and matrices (stored column by column).
#include "vexadrome/documents/value_formatter.h"

#include "nycore/text/double_formatter.h"
#include "vexadrome/actions/expr_value_calculator.h"

namespace Vexadrome::Documents {

namespace {

void appendRun(NyCore::Text::CharWriter* writer, char16_t const* run)
{
    while (*run)
        writer->append(*run++);
}

}

void ValueFormatter::appendTo(NyCore::Text::CharWriter* writer, Actions::ExprValueCalculator const* calculator,
                              char16_t const* indent)
{
    double const* values = calculator->get$values();
    int const rows = calculator->get$rowCount();
    int const cols = calculator->get$colCount();
    if (cols == 1 && rows == 1) {
        NyCore::Text::DoubleFormatter::appendTo(writer, values[0]);
        return;
    }
    if (cols == 1) {
        writer->append(u'(');
        for (int r = 0; r < rows; ++r) {
            if (r > 0)
                appendRun(writer, u", ");
            NyCore::Text::DoubleFormatter::appendTo(writer, values[r]);
        }
        writer->append(u')');
        return;
    }
    writer->append(u'[');
    for (int r = 0; r < rows; ++r) {
        if (r > 0) {
            writer->append(u'\n');
            appendRun(writer, indent);
        }
        writer->append(u'[');
        for (int c = 0; c < cols; ++c) {
            if (c > 0)
                appendRun(writer, u", ");
            NyCore::Text::DoubleFormatter::appendTo(writer, values[c * rows + r]);
        }
        writer->append(u']');
    }
    writer->append(u']');
}

}
