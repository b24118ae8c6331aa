// The vexadrome program's entry: the core's start code runs rdmain between
// the runtime's start-up and shut-down.
#include <unistd.h>

#include <cstring>
#include <vector>

#include "nycore/graphics/pixel_io.h"
#include "nycore/io/standard_streams.h"
#include "nycore/system/event_loop.h"
#include "nycore/system/console.h"
#include "nycore/system/runtime.h"
#include "nycore/system/sanitizer_hooks.h"
#include "nycore/text/string_functions.h"
#include "vexadrome/interface/batch_host.h"
#include "vexadrome/interface/interface_types.h"
#include "vexadrome/interface/obj_exporter.h"
#include "vexadrome/interface/program_options.h"
#include "vexadrome/interface/script_runner.h"
#include "vexadrome/interface/terminal_calculator.h"
#include "vexadrome/interface/vexadrome_app.h"
#include "vexadrome/interface/vexadrome_app_win.h"
// Last: Xlib's macros could clash with names declared above.
#include "nycore/system/x_connection.h"

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
        if (action.kind == ActionKind::Render) {
            Vexadrome::Interface::ObjExporter exporter(&host, STDERR_FILENO);
            status = exporter.renderImage(action.operands[0], action.operands[1], action.width, action.height);
        }
        if (status != 0)
            break;
    }
    return status;
}

// Serves events until the server has sent everything it had: the windows on
// screen have then had their exposures and painted. False when the window
// never came on screen (a window manager maps it in its own time).
bool settle(NyCore::System::Widget* window)
{
    using NyCore::System::XConnection;
    Display* display = XConnection::get$display();
    for (int round = 0; round < 500; ++round) {
        XSync(display, False);
        NyCore::System::EventLoop::serviceEvents(nullptr);
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display, window->get$nativeWindow(), &attributes) && attributes.map_state == IsViewable)
            break;
        ::usleep(10000);
    }
    do {
        XSync(display, False);
        NyCore::System::EventLoop::serviceEvents(nullptr);
        XSync(display, False);
    } while (XPending(display) > 0);
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, window->get$nativeWindow(), &attributes) && attributes.map_state == IsViewable;
}

// Every tab in turn, so that each has painted once, then back to the last
// opened; then the window's pixels as a PNG file.
int saveScreenshot(Vexadrome::Interface::VexadromeAppWin* window, NyCore::String const* path)
{
    int const active = window->get$activeViewIndex();
    for (int i = 0; i < window->get$viewCount(); ++i) {
        window->get$multiView()->activate(i);
        settle(window);
    }
    if (active >= 0)
        window->get$multiView()->activate(active);
    if (!settle(window)) {
        print_error(u"vexadrome: the main window never came on screen\n");
        return 1;
    }
    int const w = window->get$width(), h = window->get$height();
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    pixels_read(window->get$nativeWindow(), 0, 0, w, h, pixels.data());
    if (!pixels_save_png(pixels.data(), w, h, path)) {
        print_error(u"vexadrome: cannot write the screenshot %s\n", path->units());
        return 1;
    }
    return 0;
}

// The windowed workbench with the command line's files open; the exit code.
int runWorkbench(ProgramOptions const& options)
{
    if (!NyCore::System::XConnection::tryOpen()) {
        print_error(u"vexadrome: no X display to open the workbench on (is DISPLAY set?); "
                    u"--calc runs the calculator in the terminal\n");
        return 1;
    }
    Vexadrome::Interface::registerInterfaceTypes();
    auto* app = new Vexadrome::Interface::VexadromeApp();
    app->startup();
    NyCore::String const* screenshot = options.get$screenshot();
    app->set$unattended(screenshot != nullptr);
    // A file that fails shows its message; the others still open.
    bool allOpened = true;
    for (NyCore::String const* file : options.get$files())
        allOpened = app->openDataFile(file) && allOpened;
    int status;
    if (screenshot) {
        // The picture is taken all the same; the run fails for the file that did not open.
        status = saveScreenshot(app->get$mainWindow(), screenshot) || !allOpened ? 1 : 0;
        app->get$mainWindow()->close();
        NyCore::System::EventLoop::serviceEvents(nullptr);
    } else {
        status = app->execute() < 0 ? 1 : 0;
    }
    app->shutdown();
    delete app;
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
    if (options.get$wantsWorkbench())
        return runWorkbench(options);
    return checkStandardOutput(runActions(options));
}

}

int main()
{
    return NyCore::System::runProgram(rdmain);
}
