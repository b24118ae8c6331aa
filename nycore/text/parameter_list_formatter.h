// ParameterListFormatter: "{0}", "{1|0.00}" ... fields filled from a run of
// Object arguments by index; each argument renders itself through appendTo.
// This is the engine behind String::format.
#pragma once

#include "nycore/text/text_formatter.h"

namespace NyCore::Text {

class ParameterListFormatter : public TextFormatter {
public:
    // parameters: the arguments in order, ended by a null pointer.
    using ParameterList = Object* const*;

    explicit ParameterListFormatter(ParameterList parameters) : parameters(parameters) {}

    static void applyFormat(CharWriter* writer, ParameterList parameters, String const* text);

    // The name is the decimal index of the argument; an index outside the run
    // is a fatal OutOfBoundsException.
    void appendField(CharWriter* writer, String const* name, String const* format) override;

private:
    ParameterList parameters;
};

}
