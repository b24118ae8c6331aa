// ValueFormatter: the text of an evaluated value, the one rendering that the
// calculator's transcript and the command document's message boxes share.
#pragma once

#include "nycore/text/char_writer.h"

namespace Vexadrome::Actions {
class ExprValueCalculator;
}

namespace Vexadrome::Documents {

class ValueFormatter {
public:
    // One value: "2.5"; one column: "(1, 2, 3)"; otherwise the rows in
    // brackets, "[[1, 2]" and "[3, 4]]", each row after the first on a new
    // line that starts with `indent`. Numbers in the default format.
    static void appendTo(NyCore::Text::CharWriter* writer, Actions::ExprValueCalculator const* calculator,
                         char16_t const* indent);
};

}
