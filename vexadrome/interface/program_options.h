// The program's command line: the options and what they ask for, in the
// order given. Every option of the program is read here.
#pragma once

#include <string>
#include <vector>

#include "nycore/text/string.h"

namespace Vexadrome::Interface {

enum class ActionKind {
    Calculator,  // --calc: the calculator on standard input and output
    RunScript,   // --run FILE: a command script file, or "-" for script text on standard input
    Export,      // --export FILE.graph OUT.obj: a graph's sampled expressions as a Wavefront OBJ file
    Render,      // --render FILE.graph OUT.png [--size WxH]: a graph's picture, drawn off screen
};

struct ProgramAction {
    ActionKind kind;
    // The option's operands, borrowed from the command line.
    std::vector<NyCore::String const*> operands;
    // The picture's size (--render).
    int width = 800;
    int height = 600;
};

class ProgramOptions {
public:
    // Reads the arguments that follow the program's name; with none at all
    // the workbench starts. False for an unknown option or a missing operand;
    // get$error then tells which.
    bool parse(int count, NyCore::String* const* arguments);
    // The first output of the run that is an existing regular file which is
    // also one of the run's inputs (the script or graph of any action, earlier
    // or later, or standard input where the calculator or a script reads it), compared
    // by device and inode; else null. Such an output must not be written.
    NyCore::String const* findOutputThatIsAnInput() const;

    bool get$wantsHelp() const { return wantsHelp; }
    // No batch action asked for: the windowed workbench starts, with these
    // files open and, with --screenshot, a picture of it saved to that file.
    bool get$wantsWorkbench() const { return actions.empty(); }
    std::vector<NyCore::String const*> const& get$files() const { return files; }
    NyCore::String const* get$screenshot() const { return screenshot; }
    std::vector<ProgramAction> const& get$actions() const { return actions; }
    // The reason parse failed, as UTF-8.
    char const* get$error() const { return error.c_str(); }

    static char const* usage();

private:
    bool wantsHelp = false;
    std::vector<ProgramAction> actions;
    std::vector<NyCore::String const*> files;
    NyCore::String const* screenshot = nullptr;
    std::string error;
};

}
