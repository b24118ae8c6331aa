// The calculator's line handling and transcript output.
#include "vexadrome/documents/calculator_session.h"

#include "nycore/text/cstring.h"
#include "nycore/text/string_functions.h"
#include "vexadrome/actions/expr_value_calculator.h"
#include "vexadrome/documents/value_formatter.h"

namespace Vexadrome::Documents {

void CalculatorSession::writeText(char16_t const* text)
{
    while (*text)
        output->append(*text++);
}

void CalculatorSession::promptInput()
{
    writeText(u"math> ");
    output->flush();
}

void CalculatorSession::executeCmnd(NyCore::String const* line)
{
    if (!line || line->count == 0)
        return;
    if (string_cmp_nocase(line, u"history"_str) == 0) {
        onViewHistory();
        return;
    }
    if (string_cmp_nocase(line, u"clear"_str) == 0) {
        onClearScreen();
        return;
    }
    history.addEntry(line);
    if (echoInput) {
        output->append(line);
        output->append(u'\n');
    }
    processCmnd(line);
    promptInput();
}

void CalculatorSession::processCmnd(NyCore::String const* line)
{
    Parsing::Error error;
    Actions::ExprValueCalculator calculator;
    if (string_count(line, u'=') > 0) {
        store->setFunction(line, &error);
    } else if (store->evaulateExpr(line, &calculator, &error)) {
        printResult(&calculator);
    }
    if (error.hasCode())
        printError(&error);
}

void CalculatorSession::printResult(Actions::ExprValueCalculator const* calculator)
{
    output->setTextColor(ResultColor, TranscriptWriter::Bold);
    writeText(u"answ> ");
    // Seven spaces: continuation rows stand under the inner '[' of the first.
    ValueFormatter::appendTo(output, calculator, u"       ");
    output->append(u'\n');
    output->setTextColor(0, 0);
    output->flush();
}

void CalculatorSession::printError(Parsing::Error const* error)
{
    output->setTextColor(ErrorColor, TranscriptWriter::Bold);
    if (error->start >= 0) {
        writeText(u"      ");
        for (int i = 0; i < error->start; ++i)
            output->append(u' ');
        writeText(u"*\n");
    }
    writeText(u"errr> ");
    output->append(Res::Strings::errorMessage(error->code));
    output->append(u'\n');
    output->setTextColor(0, 0);
    output->flush();
}

void CalculatorSession::onViewHistory()
{
    output->append(u'\n');
    for (int i = 0; i < history.get$count(); ++i) {
        char16_t number[16];
        charr_from_int(number, 16, i, 10);
        writeText(number);
        output->append(u' ');
        output->append(history.get(i));
        output->append(u'\n');
    }
    promptInput();
}

void CalculatorSession::onClearScreen()
{
    output->clearScreen();
    promptInput();
}

}
