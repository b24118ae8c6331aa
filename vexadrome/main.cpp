// The vexadrome program's entry: the core's start code runs rdmain between
// the runtime's start-up and shut-down.
#include <unistd.h>

#include <cstring>

#include "nycore/io/standard_streams.h"
#include "nycore/system/console.h"
#include "nycore/system/runtime.h"
#include "nycore/text/string_functions.h"
#include "vexadrome/interface/batch_host.h"
#include "vexadrome/interface/obj_exporter.h"
#include "vexadrome/interface/program_options.h"
#include "vexadrome/interface/script_runner.h"
#include "vexadrome/interface/terminal_calculator.h"

namespace {

using Vexadrome::Interface::ActionKind;
using Vexadrome::Interface::ProgramOptions;

// Whatever went to standard output must have been written: a full disk is a
// failure of the run (1), said on standard error.
int checkStandardOutput(int status)
{
    NyCore::IO::StreamWriter* output = writer_standard_output();
    writer_flush(output);
    if (!(output->flags & NyCore::IO::StreamFailed))
        return status;
    print_error(u"vexadrome: cannot write to standard output: %a\n", std::strerror(output->error));
    return status != 0 ? status : 1;
}

// Carries out the command line's actions in order, all sharing one definition
// store. Returns the process's exit code.
int runActions(ProgramOptions const& options)
{
    if (NyCore::String const* output = options.findOutputThatIsAnInput()) {
        print_error(u"vexadrome: %s: the output file is also an input of this run\n", output->units());
        return 1;
    }
    Vexadrome::Interface::BatchHost host;
    int status = 0;
    for (auto const& action : options.get$actions()) {
        if (action.kind == ActionKind::Calculator)
            status = Vexadrome::Interface::runTerminalCalculator(host.get$store(), STDIN_FILENO, STDOUT_FILENO);
        if (action.kind == ActionKind::RunScript) {
            Vexadrome::Interface::ScriptRunner runner(&host, STDOUT_FILENO, STDERR_FILENO);
            NyCore::String const* file = action.operands[0];
            status = string_compare(file, u"-"_str) == 0 ? runner.runInput(STDIN_FILENO) : runner.runFile(file);
        }
        if (action.kind == ActionKind::Export) {
            Vexadrome::Interface::ObjExporter exporter(&host, STDERR_FILENO);
            status = exporter.exportFile(action.operands[0], action.operands[1]);
        }
        if (status != 0)
            break;
    }
    return status;
}

// The program proper; returns the process's exit code.
int rdmain(NyCore::Collections::Array<NyCore::String*>* arguments)
{
    ProgramOptions options;
    if (!options.parse(arguments->length - 1, arguments->items() + 1)) {
        print_error(u"vexadrome: %a\n\n%a", options.get$error(), ProgramOptions::usage());
        return 2;
    }
    if (options.get$wantsHelp()) {
        print(u"%a", ProgramOptions::usage());
        return checkStandardOutput(0);
    }
    return checkStandardOutput(runActions(options));
}

}

int main()
{
    return NyCore::System::runProgram(rdmain);
}
