// vexadrome --export as a user runs it: a small graph file in, the OBJ text
// out, failures on standard error and in the exit status.
#include <gtest/gtest.h>

#include <tuple>

#include "tests/support/child_process.h"
#include "tests/support/temp_folder.h"

using TestSupport::runVexadrome;

namespace {

// A graph file and the OBJ file exported from it, in a folder of their own.
class ExportFiles {
public:
    explicit ExportFiles(std::string const& graph) : graphPath(folder.at("g.graph")), objPath(folder.at("g.obj"))
    {
        TestSupport::writeBytes(graphPath, graph);
    }
    std::string obj() const { return TestSupport::readBytes(objPath); }
    std::string header() const { return "# Vexadrome graph exported from " + graphPath + "\n"; }
    TestSupport::ChildResult run() const { return runVexadrome({"--export", graphPath, objPath}); }
    // The same export through a shell that first runs `limits` (ulimit, trap).
    TestSupport::ChildResult runUnder(std::string const& limits) const
    {
        return TestSupport::runProgram({"/bin/sh", "-c", limits + "exec \"$0\" --export \"$1\" \"$2\"",
                                        TestSupport::programBesideTests("vexadrome"), graphPath, objPath},
                                       "");
    }
    TestSupport::TempFolder folder;
    std::string graphPath;
    std::string objPath;
};

}

// Fault: samples that are not finite were written as "v 0 inf 0" and "vn nan ...".
// Curves, point clouds and surfaces; an expression switched off is left out.
TEST(Export, SamplesThatAreNotFiniteHaveNoVertex)
{
    ExportFiles files(
        "<graph><variables><variable name=\"t\" min=\"-2\" max=\"2\" res=\"4\"/></variables>"
        "<expressions><expression>2*t</expression><expression mode=\"filled\">1/t</expression>"
        "<expression mode=\"points\">sqrt(t)</expression><expression active=\"false\">1</expression>"
        "</expressions></graph>");
    auto run = files.run();
    EXPECT_EQ(std::tuple(run.exitCode, run.errors, run.output), std::tuple(0, "", ""));
    std::string const n = "vn -0.8944271909999159 0.4472135954999579 0\n";
    EXPECT_EQ(files.obj(), files.header() +
              "o expression1\n"
              "v -2 -4 0\nv -1 -2 0\nv 0 0 0\nv 1 2 0\nv 2 4 0\n" + n + n + n + n + n +
              "l 1 2 3 4 5\n"
              "o expression2\n"
              "v -2 -0.5 0\nv -1 -1 0\nv 1 1 0\nv 2 0.5 0\n"
              "vn 0.4472135954999579 0.8944271909999159 0\nvn 0 0 0\n"
              "vn 0 0 0\nvn 0.4472135954999579 0.8944271909999159 0\n"
              "l 6 7\n"
              "l 8 9\n"
              "o expression3\n"
              "v 0 0 0\nv 1 1 0\nv 2 1.4142135623730951 0\n"
              "vn 0 0 0\nvn -0.5773502691896258 0.8164965809277261 0\n"
              "vn -0.38268343236508984 0.9238795325112867 0\n"
              "p 10 11 12\n");

    // A surface keeps the faces whose four corners are finite, numbered after the missing row.
    ExportFiles surface("<graph><variables><variable name=\"x\" min=\"0\" max=\"1\" res=\"1\"/>"
                        "<variable name=\"y\" min=\"-1\" max=\"2\" res=\"3\"/></variables>"
                        "<expressions><expression name=\"s\">1/y</expression></expressions></graph>");
    EXPECT_EQ(surface.run().exitCode, 0);
    std::string const obj = surface.obj();
    EXPECT_EQ(obj.substr(0, obj.find("vn ")), surface.header() +
              "o s\nv 0 -1 -1\nv 1 -1 -1\nv 0 1 1\nv 1 1 1\nv 0 0.5 2\nv 1 0.5 2\n");
    EXPECT_TRUE(obj.ends_with("\nf 3//3 5//5 6//6 4//4\n") && obj.find("\nf ") == obj.rfind("\nf ")) << "one face";
}

TEST(Export, FailuresAreReportedAndTheExportGoesOn)
{
    ExportFiles files(
        "<graph><variables><variable name=\"x\" min=\"0\" max=\"1\" res=\"1\"/></variables><expressions>"
        "<expression name=\"bad\">x + q(x)</expression>"
        "<expression name=\"good\" mode=\"points\">x</expression>"
        "<expression active=\"false\">(x</expression>"
        "</expressions></graph>");
    auto run = files.run();
    EXPECT_EQ(std::tuple(run.exitCode, run.errors),
              std::tuple(1, "vexadrome: " + files.graphPath + ": expression 1 (bad): unknown variable or function at column 5\n"
                            "vexadrome: " + files.graphPath + ": expression 3 (): malformed expression\n"));
    EXPECT_EQ(files.obj(), files.header() +
              "o good\nv 0 0 0\nv 1 1 0\nvn -0.7071067811865475 0.7071067811865475 0\n"
              "vn -0.7071067811865475 0.7071067811865475 0\np 1 2\n");
}

TEST(Export, GraphsThatCannotBeExported)
{
    ExportFiles huge("<graph><variables><variable name=\"a\" res=\"2047\"/><variable name=\"b\" res=\"2048\"/>"
                     "</variables><expressions><expression name=\"e\">a</expression></expressions></graph>");
    EXPECT_EQ(huge.run().errors, "vexadrome: " + huge.graphPath + ": expression 1 (e): the graph has more than 4194304 "
                                 "samples (the product of every variable's res + 1)\n");

    ExportFiles broken("<graph><variables>");
    TestSupport::writeBytes(broken.objPath, "old content");
    auto unreadable = broken.run();
    EXPECT_EQ(std::tuple(unreadable.exitCode, unreadable.errors.substr(0, unreadable.errors.find(" at line"))),
              std::tuple(1, "vexadrome: " + broken.graphPath + ": not well-formed XML"));
    EXPECT_EQ(broken.obj(), "old content") << "nothing is written when the graph cannot be read";
}

// The OBJ text is written as it is produced; a write that fails half-way leaves the old output.
TEST(Export, AWriteThatFailsHalfWayLeavesTheOldOutput)
{
    ExportFiles files("<graph><variables><variable name=\"x\" res=\"5000\"/></variables>"
                      "<expressions><expression>x*x</expression></expressions></graph>");
    TestSupport::writeBytes(files.objPath, "old content");
    // Files stop at 64 KB (128 blocks of 512 bytes); the export writes about 400 KB.
    auto run = files.runUnder("trap '' XFSZ; ulimit -f 128; ");
    EXPECT_EQ(std::tuple(run.exitCode, run.errors, files.obj()),
              std::tuple(1, "vexadrome: " + files.objPath + ": File too large\n", "old content"));
}

// Fault: the whole OBJ text was built in memory first (about 380 MB per million samples).
TEST(Export, MemoryDoesNotGrowWithTheOutput)
{
    ExportFiles files("<graph><variables><variable name=\"x\" res=\"699\"/><variable name=\"y\" res=\"699\"/>"
                      "</variables><expressions><expression>sin(x)*cos(y)</expression></expressions></graph>");
#ifndef __SANITIZE_ADDRESS__
    // The sanitizers reserve far more address space than this; there the run only has to succeed.
    auto run = files.runUnder("ulimit -v 65536; ");
#else
    auto run = files.run();
#endif
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    // About 89 MB: more than the process may map in all.
    EXPECT_GT(files.obj().size(), std::size_t{80} << 20);
}
