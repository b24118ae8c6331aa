// The vexadrome program as a user starts it: options, the calculator's
// transcript, outputs it must refuse or write into, a failed standard output,
// and the fatal report's exit status as a shell sees it.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <new>
#include <tuple>

#include "nycore/graphics/png_reader.h"
#include "nycore/system/memory.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_folder.h"

using TestSupport::readBytes;
using TestSupport::runVexadrome;

// Runs `script` in /bin/sh with the program's path as $0, so that a test sees
// exit statuses and redirections as a shell user does.
static TestSupport::ChildResult inShell(std::string const& script, std::string const& input = "")
{
    return TestSupport::runProgram({"/bin/sh", "-c", script, TestSupport::programBesideTests("vexadrome")}, input);
}

char const* const SmallGraph = "<graph title=\"g\" mode=\"euclidian\"><variables>"
                               "<variable name=\"t\" min=\"0\" max=\"1\" res=\"1\"/></variables><expressions>"
                               "<expression name=\"c\" mode=\"wireframe\">vector(t, t, t)</expression>"
                               "</expressions></graph>";

TEST(Program, CalculatorRunsWithCalc)
{
    auto run = runVexadrome({"--calc"}, "1+2\nf(x) = x*x\r\nf(3)\n");
    EXPECT_EQ(std::tuple(run.exitCode, run.errors), std::tuple(0, ""));
    EXPECT_EQ(run.output, "math> 1+2\nansw> 3\nmath> f(x) = x*x\nmath> f(3)\nansw> 9\nmath> \n");
}

TEST(Program, OptionsAndUsage)
{
    struct Case { std::vector<std::string> options; int exitCode; std::string outputStart; std::string errorsStart; } const cases[] = {
        {{"--help"}, 0, "Usage: vexadrome [OPTION]... [FILE]...\n", ""},
        {{"-h"}, 0, "Usage: vexadrome [OPTION]... [FILE]...\n", ""},
        // A failed export stops the options after it: the calculator never prompts.
        {{"--export", "missing.graph", "out.obj", "--calc"}, 1, "", "vexadrome: missing.graph: "},
        {{"--calc", "--calculator"}, 2, "", "vexadrome: unknown option '--calculator'\n\nUsage: vexadrome [OPTION]... [FILE]...\n"},
        {{"--run"}, 2, "", "vexadrome: option '--run' needs a script file name (or - for standard input)\n\nUsage:"},
        {{"--export", "a.graph"}, 2, "", "vexadrome: option '--export' needs a graph file and an OBJ file name\n\nUsage:"},
        {{"--render", "a.graph"}, 2, "", "vexadrome: option '--render' needs a graph file and a PNG file name\n\nUsage:"},
        {{"--render", "a.graph", "a.png", "--size", "0x600"}, 2, "", "vexadrome: option '--size' needs WIDTHxHEIGHT"},
        {{"--render", "a.graph", "a.png", "--size", "800x"}, 2, "", "vexadrome: option '--size' needs WIDTHxHEIGHT"},
        {{"--render", "missing.graph", "a.png"}, 1, "", "vexadrome: missing.graph: "},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.options.back());
        auto run = runVexadrome(c.options);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_EQ(run.output.substr(0, c.outputStart.size()), c.outputStart) << run.output;
        EXPECT_EQ(run.errors.substr(0, c.errorsStart.size()), c.errorsStart) << run.errors;
        EXPECT_EQ(c.outputStart.empty(), run.output.empty()) << "usage text on exactly one stream";
    }
}

TEST(Program, AFailedWriteToStandardOutputFailsTheRun)
{
    for (char const* options : {"--help", "--run -", "--calc"}) {
        SCOPED_TRACE(options);
        auto run = inShell(std::string("\"$0\" ") + options + " > /dev/full; echo \"status $?\"", "a = 2; a * 3");
        EXPECT_EQ(run.output, "status 1\n");
        EXPECT_EQ(run.errors, "vexadrome: cannot write to standard output: No space left on device\n");
    }
}

TEST(Program, OutputsThatAreInputsOrReadOnlyAreRefused)
{
    TestSupport::TempFolder folder;
    auto at = [&](char const* name) { return folder.at(name); };
    TestSupport::writeBytes(at("g.graph"), SmallGraph);
    TestSupport::writeBytes(at("s.vexscr"), "a = 1");
    TestSupport::writeBytes(at("ro.obj"), "old");
    ::chmod(at("ro.obj").c_str(), 0444);
    ::symlink(at("s.vexscr").c_str(), at("link.obj").c_str());
    ::link(at("s.vexscr").c_str(), at("hard.obj").c_str());
    std::string const inputError = ": the output file is also an input of this run\n";
    struct Case { std::vector<std::string> options; std::string errors; } const cases[] = {
        {{"--export", at("g.graph"), at("g.graph")}, "vexadrome: " + at("g.graph") + inputError},
        {{"--render", at("g.graph"), at("g.graph")}, "vexadrome: " + at("g.graph") + inputError},
        {{"--run", at("s.vexscr"), "--export", at("g.graph"), at("link.obj")}, "vexadrome: " + at("link.obj") + inputError},
        {{"--export", at("g.graph"), at("hard.obj"), "--run", at("s.vexscr")}, "vexadrome: " + at("hard.obj") + inputError},
        {{"--run", "-", "--export", at("g.graph"), at("s.vexscr")}, "vexadrome: " + at("s.vexscr") + inputError},
        {{"--export", at("g.graph"), at("ro.obj")}, "vexadrome: " + at("ro.obj") + ": File is read-only\n"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.errors);
        std::string script = "\"$0\"";
        for (auto const& option : c.options)
            script += " '" + option + "'";
        auto run = inShell(script + " < '" + at("s.vexscr") + "'");
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.errors, c.errors);
        EXPECT_EQ(run.output, "") << "nothing ran";
        EXPECT_EQ(readBytes(at("g.graph")), SmallGraph);
        EXPECT_EQ(readBytes(at("s.vexscr")), "a = 1");
        EXPECT_EQ(readBytes(at("ro.obj")), "old");
    }
}

TEST(Program, RenderWritesThePictureAtTheAskedSizeAlsoPastAFailingExpression)
{
    TestSupport::TempFolder folder;
    std::string broken = SmallGraph;
    std::string const end = "</expressions>";
    broken.insert(broken.find(end), "<expression name=\"b\" mode=\"wireframe\">t +* 2</expression>");
    TestSupport::writeBytes(folder.at("g.graph"), SmallGraph);
    TestSupport::writeBytes(folder.at("broken.graph"), broken);
    // The failing expression is reported and left out; the others are still drawn.
    struct Case { char const* graph; int exitCode; std::string errorsStart; } const cases[] = {
        {"g.graph", 0, ""},
        {"broken.graph", 1, "vexadrome: " + folder.at("broken.graph") + ": "},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.graph);
        std::string const png = folder.at(std::string(c.graph) + ".png");
        auto run = runVexadrome({"--render", folder.at(c.graph), png, "--size", "40x30"});
        EXPECT_EQ(run.exitCode, c.exitCode) << run.errors;
        EXPECT_EQ(run.errors.substr(0, c.errorsStart.size()), c.errorsStart) << run.errors;
        EXPECT_EQ(c.errorsStart.empty(), run.errors.empty()) << run.errors;
        EXPECT_EQ(run.output, "");
        std::string const bytes = readBytes(png);
        NyCore::Graphics::BitmapImage image = {};
        ASSERT_TRUE(png_decode(reinterpret_cast<std::uint8_t const*>(bytes.data()), bytes.size(), &image))
            << bytes.size() << " bytes written";
        EXPECT_EQ(std::tuple(image.width, image.height), std::tuple(40, 30));
        std::uint32_t* const last = image.pixels + image.width * image.height;
        EXPECT_NE(std::adjacent_find(image.pixels, last, std::not_equal_to<>()), last)
            << "the axes are drawn over the background";
        bitmap_image_destroy(&image);
    }
}

TEST(Program, ExportWritesIntoAFifoAndAPipe)
{
    TestSupport::TempFolder folder;
    TestSupport::writeBytes(folder.at("g.graph"), SmallGraph);
    ASSERT_EQ(::mkfifo(folder.at("fifo").c_str(), 0644), 0);
    auto run = inShell("cd '" + folder.path + "' && { cat fifo > copy & } && \"$0\" --export g.graph fifo; echo \"status $?\"; wait;"
                       " { \"$0\" --export g.graph /dev/stdout; echo \"status $?\" >&2; } | cat");
    std::string const start = "status 0\n# Vexadrome graph exported from g.graph\n";
    EXPECT_EQ(run.output.substr(0, start.size()), start);
    EXPECT_EQ(run.errors, "status 0\n");
    EXPECT_EQ(readBytes(folder.at("copy")).substr(0, 31), "# Vexadrome graph exported from");
    struct stat info;
    ASSERT_EQ(::lstat(folder.at("fifo").c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST(Program, RunningOutOfMemoryIsTheFatalReportWithStatusSeventy)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reports running out of memory itself and cannot run under a memory limit";
#endif
    // An endless calculator line under a 50 MB address-space limit.
    auto run = inShell("ulimit -v 50000; tr '\\0' 1 < /dev/zero | \"$0\" --calc; echo \"status $?\"");
    std::string const end = "Error.OutOfMemory\nstatus 70\n";
    EXPECT_TRUE(run.output.ends_with(end)) << run.output;

    TestSupport::expectReport([] { memory_alloc(SIZE_MAX / 2); }, "Error.OutOfMemory\n");
    TestSupport::expectReport([] {
        void* volatile block = ::operator new(SIZE_MAX / 2);
        ::operator delete(block);
    }, "Error.OutOfMemory\n");
}
