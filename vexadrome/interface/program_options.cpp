// Option parsing, the usage text, and the check that no output of a run
// overwrites one of its inputs.
#include "vexadrome/interface/program_options.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>

#include "nycore/io/filename.h"
#include "nycore/system/memory.h"
#include "nycore/text/string_functions.h"
#include "vexadrome/interface/graph_image.h"

namespace Vexadrome::Interface {

namespace {

using FileIdentity = std::pair<dev_t, ino_t>;

// False when the file does not exist (or the name cannot be a file name).
bool statFile(NyCore::String const* path, struct stat* info)
{
    char* name = filename_to_platform(path);
    bool found = name && ::stat(name, info) == 0;
    memory_free(name);
    return found;
}

// "WxH" with both sides within 1 ... GraphImage::MaxSide.
bool parseSize(NyCore::String const* text, int* width, int* height)
{
    char* bytes = string_to_utf8(text);
    int w = 0, h = 0, used = 0;
    bool const read = std::sscanf(bytes, "%5dx%5d%n", &w, &h, &used) == 2 && bytes[used] == '\0';
    memory_free(bytes);
    if (!read || w < 1 || h < 1 || w > GraphImage::MaxSide || h > GraphImage::MaxSide)
        return false;
    *width = w;
    *height = h;
    return true;
}

}

char const* ProgramOptions::usage()
{
    return "Usage: vexadrome [OPTION]... [FILE]...\n"
           "A mathematics workbench: definitions and expressions over scalars, vectors and matrices.\n"
           "\n"
           "Without options the workbench starts: calculators, command scripts and graphs\n"
           "in the tabs of one window. Each FILE (*.vexscr, *.graph) opens in a tab.\n"
           "\n"
           "Options:\n"
           "  --screenshot OUT.png\n"
           "               start the workbench (with the FILEs open), save a picture of\n"
           "               its window as OUT.png once every tab has painted, and exit\n"
           "  --calc       run the calculator on standard input and output\n"
           "               (lines are definitions such as f(x) = x*x, expressions such as f(3),\n"
           "               or the commands history and clear)\n"
           "  --run FILE   run a command script file (*.vexscr); with - as FILE, run the\n"
           "               script text read from standard input. Commands are separated\n"
           "               by ';'; each expression's value is printed on its own line.\n"
           "               The first failing command stops the run with\n"
           "               FILE:LINE:COLUMN: MESSAGE on standard error and exit status 1.\n"
           "  --export FILE.graph OUT.obj\n"
           "               sample the expressions of a graph file and write the active\n"
           "               ones to OUT.obj as Wavefront OBJ objects (curves as lines,\n"
           "               surfaces as quads with normals, point clouds as points);\n"
           "               expressions that do not compile are reported and left out,\n"
           "               and the exit status is 1\n"
           "  --render FILE.graph OUT.png [--size WxH]\n"
           "               draw a graph file as the graph view shows it from its default\n"
           "               camera into OUT.png (800x600 unless --size says otherwise),\n"
           "               without any display; expressions that do not compile are\n"
           "               reported and left out, and the exit status is 1\n"
           "  -h, --help   show this text and exit\n"
           "\n"
           "--calc, --run, --export and --render work in the terminal, without a window; they\n"
           "cannot be combined with FILEs or --screenshot. An output file that is also\n"
           "an input of the run is refused, and so is a read-only one.\n"
           "\n"
           "Options are carried out in the order given and share their definitions, so\n"
           "  vexadrome --run defs.vexscr --calc\n"
           "starts the calculator with the definitions of defs.vexscr.\n";
}

bool ProgramOptions::parse(int count, NyCore::String* const* arguments)
{
    for (int i = 0; i < count; ++i) {
        NyCore::String const* argument = arguments[i];
        if (string_compare(argument, u"--calc"_str) == 0) {
            actions.push_back({ActionKind::Calculator, {}});
        } else if (string_compare(argument, u"--run"_str) == 0) {
            if (i + 1 >= count) {
                error = "option '--run' needs a script file name (or - for standard input)";
                return false;
            }
            actions.push_back({ActionKind::RunScript, {arguments[++i]}});
        } else if (string_compare(argument, u"--export"_str) == 0) {
            if (i + 2 >= count) {
                error = "option '--export' needs a graph file and an OBJ file name";
                return false;
            }
            actions.push_back({ActionKind::Export, {arguments[i + 1], arguments[i + 2]}});
            i += 2;
        } else if (string_compare(argument, u"--render"_str) == 0) {
            if (i + 2 >= count) {
                error = "option '--render' needs a graph file and a PNG file name";
                return false;
            }
            ProgramAction render{ActionKind::Render, {arguments[i + 1], arguments[i + 2]}};
            i += 2;
            if (i + 1 < count && string_compare(arguments[i + 1], u"--size"_str) == 0) {
                if (i + 2 >= count || !parseSize(arguments[i + 2], &render.width, &render.height)) {
                    error = "option '--size' needs WIDTHxHEIGHT, each from 1 to " +
                            std::to_string(GraphImage::MaxSide) + ", such as 800x600";
                    return false;
                }
                i += 2;
            }
            actions.push_back(render);
        } else if (string_compare(argument, u"--screenshot"_str) == 0) {
            if (i + 1 >= count) {
                error = "option '--screenshot' needs the name of the PNG file to write";
                return false;
            }
            screenshot = arguments[++i];
        } else if (argument->count > 0 && argument->get(0) != u'-') {
            files.push_back(argument);
        } else if (string_compare(argument, u"--help"_str) == 0 || string_compare(argument, u"-h"_str) == 0) {
            wantsHelp = true;
        } else {
            char* text = string_to_utf8(argument);
            error = std::string("unknown option '") + text + "'";
            memory_free(text);
            return false;
        }
    }
    if (!actions.empty() && (screenshot || !files.empty())) {
        error = "files and '--screenshot' open the workbench; they cannot be combined with --calc, --run or --export";
        return false;
    }
    return true;
}

NyCore::String const* ProgramOptions::findOutputThatIsAnInput() const
{
    std::vector<FileIdentity> inputs;
    struct stat info;
    for (auto const& action : actions) {
        bool standardInput = action.kind == ActionKind::Calculator
            || (action.kind == ActionKind::RunScript && string_compare(action.operands[0], u"-"_str) == 0);
        if (standardInput ? ::fstat(STDIN_FILENO, &info) == 0 : statFile(action.operands[0], &info))
            inputs.push_back({info.st_dev, info.st_ino});
    }
    // Only a regular file is replaced by writing it: a device or a FIFO read and written is no loss.
    for (auto const& action : actions) {
        if (action.kind != ActionKind::Export && action.kind != ActionKind::Render)
            continue;
        NyCore::String const* output = action.operands[1];
        if (statFile(output, &info) && S_ISREG(info.st_mode)
            && std::find(inputs.begin(), inputs.end(), FileIdentity{info.st_dev, info.st_ino}) != inputs.end())
            return output;
    }
    return nullptr;
}

}
