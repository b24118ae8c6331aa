// Option parsing and the usage text.
#include "vexadrome/interface/program_options.h"

#include "nycore/system/memory.h"
#include "nycore/text/string_functions.h"

namespace Vexadrome::Interface {

char const* ProgramOptions::usage()
{
    return "Usage: vexadrome [OPTION]...\n"
           "A mathematics workbench: definitions and expressions over scalars, vectors and matrices.\n"
           "\n"
           "Options:\n"
           "  --calc       run the calculator on standard input and output\n"
           "               (lines are definitions such as f(x) = x*x, expressions such as f(3),\n"
           "               or the commands history and clear)\n"
           "  -h, --help   show this text and exit\n";
}

bool ProgramOptions::parse(int count, NyCore::String* const* arguments)
{
    for (int i = 0; i < count; ++i) {
        NyCore::String const* argument = arguments[i];
        if (string_compare(argument, u"--calc"_str) == 0) {
            actions.push_back({ActionKind::Calculator});
        } else if (string_compare(argument, u"--help"_str) == 0 || string_compare(argument, u"-h"_str) == 0) {
            wantsHelp = true;
        } else {
            char* text = string_to_utf8(argument);
            error = std::string("unknown option '") + text + "'";
            memory_free(text);
            return false;
        }
    }
    return true;
}

}
