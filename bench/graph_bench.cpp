// graph_bench: how fast the graph view draws on Mesa under X, and how fast
// `vexadrome --render` makes a picture compared with gnuplot.
//
// - An animated 100 x 100 lit surface: each frame samples the expression
//   again at the clock's time and draws it, as the animation timer does.
// - A static 200 x 200 lit surface turned by the arrow key: each frame only draws.
// - `vexadrome --render` of a 200 x 200 lit surface to an 800 x 600 PNG, and
//   gnuplot drawing the same function with pm3d at 200 x 200 isosamples to a
//   PNG of the same size: wall time and peak memory of the whole process.
//
// Frames are timed until glFinish, so that what is measured was drawn.
// Usage: graph_bench [SECONDS_PER_CASE]
#include <GL/gl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "bench/private_display.h"
#include "nycore/system/event_loop.h"
#include "nycore/system/runtime.h"
#include "nycore/system/widget.h"
#include "nycore/system/x_connection.h"
#include "nycore/text/string_functions.h"
#include "vexadrome/documents/document_host.h"
#include "vexadrome/documents/math_doc_reader.h"
#include "vexadrome/interface/equation_graph_view.h"
#include "vexadrome/interface/interface_types.h"

using Clock = std::chrono::steady_clock;
using Vexadrome::Documents::GraphDoc;
using Vexadrome::Interface::EquationGraphView;

namespace {

constexpr int Width = 800, Height = 600;
constexpr char const* Surface = "sin(x)*cos(z)+sqrt(x*x+z*z)/3";

// A graph file of one lit surface over x and z from -10 to 10.
std::string graphFile(int side, char const* expression)
{
    std::string const res = std::to_string(side);
    return "<graph title=\"Bench\" fov-angle=\"50\" axes-length=\"12\" background=\"14\" mode=\"euclidian\">"
           "<variables><variable name=\"x\" min=\"-10\" max=\"10\" res=\"" + res + "\" tick=\"5\"/>"
           "<variable name=\"z\" min=\"-10\" max=\"10\" res=\"" + res + "\" tick=\"5\"/></variables>"
           "<lights><light active=\"true\" color=\"14\" x=\"0\" y=\"30\" z=\"0\"/>"
           "<light active=\"true\" color=\"9\" directional=\"true\" x=\"20\" y=\"10\" z=\"20\"/></lights>"
           "<expressions><expression name=\"surface\" color=\"4\" mode=\"filled\" material=\"plastic\">" +
           std::string(expression) + "</expression></expressions></graph>";
}

void writeFile(std::string const& path, std::string const& text)
{
    std::ofstream(path) << text;
}

// Views fill top-level windows of their own, Width x Height.
class BenchHost : public Vexadrome::Documents::DocumentHost {
public:
    Vexadrome::Documents::ExprManager* get$store() override { return &store; }
    NyCore::Object* createNewView(NyCore::String const* typeName, NyCore::String const*, int) override
    {
        window = NyCore::System::Widget::create(nullptr, u"NyCore.System.Widget",
                                                NyCore::System::WidgetFlags::TopLevel, 0, 0, Width, Height);
        return NyCore::System::Widget::create(window, typeName->units(), 0, 0, 0, Width, Height);
    }
    NyCore::System::Widget* window = nullptr;
    Vexadrome::Documents::ExprManager store;
};

void serve()
{
    for (int i = 0; i < 20; ++i)
        NyCore::System::EventLoop::serviceEvents(nullptr);
}

// Frames per second of `frame` (which draws one frame) over `seconds`.
template <typename Frame> double framesPerSecond(EquationGraphView* view, double seconds, Frame frame)
{
    Vexadrome::Interface::RenderGraphGL* renderer = view->get$renderer();
    int frames = 0;
    Clock::time_point const start = Clock::now();
    double elapsed = 0;
    while (elapsed < seconds) {
        frame();
        renderer->activate();
        glFinish();
        renderer->deactivate();
        NyCore::System::EventLoop::serviceEvents(nullptr);
        ++frames;
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    }
    return frames / elapsed;
}

GraphDoc* openGraph(BenchHost* host, std::string const& path)
{
    NyCore::String* name = string_from_ascii(path.c_str());
    NyCore::String* reason = nullptr;
    auto* graph = dynamic_cast<GraphDoc*>(Vexadrome::Documents::MathDocReader::load(name, host, &reason));
    string_free(name);
    string_free(reason);
    if (graph)
        graph->compileExprs();
    return graph;
}

struct ProcessCost {
    double seconds = 0;
    long peakKiB = 0;
    int status = -1;
};

// The fastest of `runs` runs of a command (its output thrown away), with the peak memory of that run.
ProcessCost fastestRun(std::vector<std::string> const& command, int runs)
{
    ProcessCost best;
    for (int i = 0; i < runs; ++i) {
        std::fflush(stdout);
        Clock::time_point const start = Clock::now();
        pid_t child = fork();
        if (child == 0) {
            std::vector<char*> argv;
            for (std::string const& word : command)
                argv.push_back(const_cast<char*>(word.c_str()));
            argv.push_back(nullptr);
            freopen("/dev/null", "w", stdout);
            freopen("/dev/null", "w", stderr);
            execvp(argv[0], argv.data());
            _exit(127);
        }
        int status = 0;
        struct rusage usage = {};
        wait4(child, &status, 0, &usage);
        double const seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if (i == 0 || seconds < best.seconds)
            best = {seconds, usage.ru_maxrss, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
    }
    return best;
}

}

int main(int argc, char** argv)
{
    double const seconds = argc > 1 ? std::max(0.5, std::atof(argv[1])) : 3.0;
    if (!Bench::ensureDisplay()) {
        std::fprintf(stderr, "graph_bench: no X display and no Xvfb could be started\n");
        return 1;
    }
    NyCore::System::Runtime::initilize();
    if (!NyCore::System::XConnection::tryOpen()) {
        std::fprintf(stderr, "graph_bench: the display does not answer\n");
        return 1;
    }
    Vexadrome::Interface::registerInterfaceTypes();
    char folderTemplate[] = "/tmp/graph_bench.XXXXXX";
    std::string const folder = mkdtemp(folderTemplate);
    std::string const animated = folder + "/animated.graph", still = folder + "/still.graph";
    writeFile(animated, graphFile(100, "sin(x + dtor(360)*time(2))*cos(z)+sqrt(x*x+z*z)/3"));
    writeFile(still, graphFile(200, Surface));

    std::printf("graph view on %s, %d x %d, %.1f s per case\n\n", std::getenv("DISPLAY"), Width, Height, seconds);
    std::printf("| case | frames per second |\n|---|---:|\n");
    for (bool animate : {true, false}) {
        BenchHost host;
        GraphDoc* graph = openGraph(&host, animate ? animated : still);
        if (!graph) {
            std::fprintf(stderr, "graph_bench: the benchmark graph does not load\n");
            return 1;
        }
        auto* view = dynamic_cast<EquationGraphView*>(graph->createDefaultView());
        serve();
        double fps;
        if (animate) {
            fps = framesPerSecond(view, seconds, [&] {
                graph->refreshExprs();
                view->get$renderer()->renderAllExprs();
            });
        } else {
            view->onMoveCamera();
            fps = framesPerSecond(view, seconds, [&] { view->onSystemKeyDown(NyCore::System::SystemKeys::Left, 0); });
        }
        std::printf("| %s | %.1f |\n", animate ? "100 x 100 animated lit surface (sample and draw)"
                                               : "200 x 200 static lit surface turning (draw only)", fps);
        host.window->close();
        serve();
        delete graph;
    }

    char self[4096] = {};
    ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string program(self, length > 0 ? static_cast<std::size_t>(length) : 0);
    program = program.substr(0, program.rfind('/') + 1) + "vexadrome";
    std::string const gnuplot = "set terminal pngcairo size 800,600; set output '" + folder +
                                "/gnuplot.png'; set isosamples 200,200; set samples 200,200; "
                                "set xrange [-10:10]; set yrange [-10:10]; splot sin(x)*cos(y)+sqrt(x*x+y*y)/3 "
                                "with pm3d";
    std::printf("\n200 x 200 lit surface to an 800 x 600 PNG, whole process, fastest of 5:\n\n");
    std::printf("| program | seconds | peak memory |\n|---|---:|---:|\n");
    ProcessCost const ours = fastestRun({program, "--render", still, folder + "/ours.png", "--size", "800x600"}, 5);
    std::printf("| vexadrome --render | %.3f | %.1f MiB |\n", ours.seconds, ours.peakKiB / 1024.0);
    ProcessCost const theirs = fastestRun({"gnuplot", "-e", gnuplot}, 5);
    if (theirs.status == 0)
        std::printf("| gnuplot 5, splot with pm3d | %.3f | %.1f MiB |\n", theirs.seconds, theirs.peakKiB / 1024.0);
    else
        std::printf("| gnuplot 5 | not run (install gnuplot-nox) | |\n");
    // The connection closes before its server stops.
    NyCore::System::XConnection::close();
    NyCore::System::Runtime::shutdown();
    Bench::stopDisplay();
    std::string const cleanup = "rm -rf '" + folder + "'";
    return std::system(cleanup.c_str()) == 0 && ours.status == 0 ? 0 : 1;
}
