// vexadrome --run as a user runs it: scripts from files and from standard
// input, their values on standard output, the first failure as
// NAME:LINE:COLUMN: MESSAGE on standard error (positions in the file), the
// inputs refused unread, and the exit status.
#include <gtest/gtest.h>

#include <unistd.h>

#include <tuple>

#include "tests/support/child_process.h"
#include "tests/support/temp_folder.h"

using TestSupport::runVexadrome;

namespace {

struct RunCase { char const* script; char const* output; char const* errors; int exitCode; };

}

TEST(ScriptRunner, ScriptsOnStandardInput)
{
    RunCase const cases[] = {
        // The first failure stops the run at the offending token.
        {"1;\n  2 3;\n4", "1\n", "<stdin>:2:5: malformed expression\n", 1},
        // Without a location: the failing command's first non-blank character.
        {"1;\n\n   vector(1,2)+1; 2", "1\n", "<stdin>:3:4: invalid command parameters\n", 1},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.script);
        auto run = runVexadrome({"--run", "-"}, c.script);
        EXPECT_EQ(std::tuple(run.output, run.errors, run.exitCode), std::tuple(c.output, c.errors, c.exitCode));
    }
    // Standard input beyond 64 MB is refused before anything runs.
    auto huge = runVexadrome({"--run", "-"}, "1;" + std::string(64 << 20, ' '));
    EXPECT_EQ(std::tuple(huge.output, huge.errors, huge.exitCode),
              std::tuple("", "vexadrome: <stdin>: the script is larger than 64 MB\n", 1));
}

TEST(ScriptRunner, ScriptFiles)
{
    TestSupport::TempFolder folder;
    struct { char const* name; std::string bytes; RunCase expected; } const cases[] = {
        {"saved.vexscr", "<command title=\"T\">a = 1; a*2; vector(a, 3)</command>", {"", "2\n(1, 3)\n", "", 0}},
        // Positions are those of the file: past the start tag, references, comments and CDATA markers.
        {"crlf.vexscr", "<command title=\"T\">\r\nx = 4;\r\nx * 2;\r\n y\r\n</command>",
         {"", "8\n", "crlf.vexscr:4:2: unknown variable or function\n", 1}},
        {"entities.vexscr", "<command title=\"&quot;T&quot;\">b = 1 &lt; 2</command>",
         {"", "", "entities.vexscr:1:38: malformed expression\n", 1}},
        {"pieces.vexscr", "<command title=\"t\">1+1;<!-- c; -->\n2+2;<![CDATA[3 < 3]]></command>",
         {"", "2\n4\n", "pieces.vexscr:2:16: malformed expression\n", 1}},
        {"graph.graph", "<graph title=\"G\"/>",
         {"", "", "vexadrome: graph.graph: not a command script (its root element is not <command>)\n", 1}},
        {"broken.vexscr", "<command title=\"T\">\n1 &foo;</command>",
         {"", "", "vexadrome: broken.vexscr: not well-formed XML at line 2, column 3: unknown entity &foo;\n", 1}},
        {"nothing.vexscr", "", {"", "", "vexadrome: nothing.vexscr: the file is empty\n", 1}},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        TestSupport::writeBytes(folder.at(c.name), c.bytes);
        auto run = runVexadrome({"--run", folder.at(c.name)});
        // Diagnostics name the file as given; the folder part is left out here.
        std::string errors = run.errors;
        if (auto at = errors.find(folder.path + "/"); at != std::string::npos)
            errors.erase(at, folder.path.size() + 1);
        EXPECT_EQ(std::tuple(run.output, errors, run.exitCode),
                  std::tuple(c.expected.output, c.expected.errors, c.expected.exitCode));
    }
}

TEST(ScriptRunner, OptionsShareOneStoreInOrder)
{
    TestSupport::TempFolder folder;
    TestSupport::writeBytes(folder.at("defs.vexscr"), "<command title=\"defs\">f(x) = x*x; g = 10</command>");
    TestSupport::writeBytes(folder.at("use.vexscr"), "<command title=\"use\">f(g) + 1</command>");

    auto chained = runVexadrome({"--run", folder.at("defs.vexscr"), "--run", folder.at("use.vexscr")});
    EXPECT_EQ(std::tuple(chained.output, chained.exitCode), std::tuple("101\n", 0));

    auto calculator = runVexadrome({"--run", folder.at("defs.vexscr"), "--calc"}, "f(g)\n");
    EXPECT_EQ(std::tuple(calculator.output, calculator.exitCode), std::tuple("math> f(g)\nansw> 100\nmath> \n", 0));

    TestSupport::writeBytes(folder.at("g.graph"), "<graph><variables><variable name=\"x\" min=\"0\" max=\"1\" res=\"1\"/>"
                                                  "</variables><expressions><expression>f(x) + g</expression></expressions></graph>");
    auto exported = runVexadrome({"--run", folder.at("defs.vexscr"), "--export", folder.at("g.graph"), folder.at("g.obj")});
    EXPECT_EQ(std::tuple(exported.output, exported.exitCode), std::tuple("", 0)) << exported.errors;
    EXPECT_NE(TestSupport::readBytes(folder.at("g.obj")).find("\nv 0 10 0\nv 1 11 0\n"), std::string::npos);

    // A failing script ends the run: later options are not carried out.
    auto stopped = runVexadrome({"--run", "-", "--run", folder.at("use.vexscr")}, "f(");
    EXPECT_EQ(std::tuple(stopped.output, stopped.exitCode), std::tuple("", 1));
}

TEST(ScriptRunner, RefusedFiles)
{
    TestSupport::TempFolder folder;
    // A script followed by a hole: a file past 64 MB is refused unread.
    TestSupport::writeBytes(folder.at("big.vexscr"), "<command>1</command>");
    ASSERT_EQ(::truncate(folder.at("big.vexscr").c_str(), (64 << 20) + 1), 0);
    for (auto [path, reason] : {std::pair<std::string, std::string>{"/nonexistent/x.vexscr", "No such file or directory"},
                                {"/dev/zero", "Not a regular file"}, {folder.at("big.vexscr"), "Larger than 64 MB"}}) {
        auto run = runVexadrome({"--run", path});
        EXPECT_EQ(std::tuple(run.exitCode, run.output, run.errors), std::tuple(1, "", "vexadrome: " + path + ": " + reason + "\n"));
    }
}
