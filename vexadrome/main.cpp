// The vexadrome program's entry: the core's start code runs rdmain between
// the runtime's start-up and shut-down.
#include <unistd.h>

#include "nycore/system/console.h"
#include "nycore/system/runtime.h"
#include "vexadrome/documents/expr_manager.h"
#include "vexadrome/interface/program_options.h"
#include "vexadrome/interface/terminal_calculator.h"

namespace {

using Vexadrome::Interface::ActionKind;
using Vexadrome::Interface::ProgramOptions;

// The program proper: carries out the command line's actions in order, all
// sharing one definition store. Returns the process's exit code.
int rdmain(NyCore::Collections::Array<NyCore::String*>* arguments)
{
    ProgramOptions options;
    if (!options.parse(arguments->length - 1, arguments->items() + 1)) {
        print_error(u"vexadrome: %a\n\n%a", options.get$error(), ProgramOptions::usage());
        return 2;
    }
    if (options.get$wantsHelp()) {
        print(u"%a", ProgramOptions::usage());
        return 0;
    }
    Vexadrome::Documents::ExprManager store;
    int status = 0;
    for (auto const& action : options.get$actions()) {
        if (action.kind == ActionKind::Calculator)
            status = Vexadrome::Interface::runTerminalCalculator(&store, STDIN_FILENO, STDOUT_FILENO);
        if (status != 0)
            break;
    }
    return status;
}

}

int main()
{
    return NyCore::System::runProgram(rdmain);
}
