// vexadrome --export as a user runs it: a small graph file in, the OBJ text
// out, failures on standard error and in the exit status.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "tests/support/child_process.h"

namespace {

TestSupport::ChildResult vexadrome(std::vector<std::string> options)
{
    options.insert(options.begin(), TestSupport::programBesideTests("vexadrome"));
    return TestSupport::runProgram(options, "");
}

class ExportFiles {
public:
    explicit ExportFiles(std::string const& graph)
        : base("/tmp/vexadrome_export_test_" + std::to_string(getpid())), graphPath(base + ".graph"),
          objPath(base + ".obj")
    {
        std::ofstream(graphPath, std::ios::binary) << graph;
    }
    ~ExportFiles()
    {
        std::remove(graphPath.c_str());
        std::remove(objPath.c_str());
    }
    std::string obj() const
    {
        std::ifstream in(objPath, std::ios::binary);
        std::stringstream content;
        content << in.rdbuf();
        return content.str();
    }

    std::string base;
    std::string graphPath;
    std::string objPath;
};

}

TEST(Export, CurvesSurfacesAndPointClouds)
{
    ExportFiles files(
        "<graph title=\"Small\" mode=\"euclidian\">"
        "<variables><variable name=\"x\" min=\"0\" max=\"1\" res=\"1\"/>"
        "<variable name=\"y\" min=\"0\" max=\"2\" res=\"2\"/></variables>"
        "<expressions>"
        "<expression name=\"plane\" mode=\"filled\">x+y</expression>"
        "<expression name=\"switched off\" active=\"false\">1</expression>"
        "<expression name=\"cloud\" mode=\"points\">vector(x, 5, y)</expression>"
        "</expressions></graph>");
    auto run = vexadrome({"--export", files.graphPath, files.objPath});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.errors, "");
    EXPECT_EQ(run.output, "");
    EXPECT_EQ(files.obj(),
              "# Vexadrome graph exported from " + files.graphPath + "\n"
              "o plane\n"
              "v 0 0 0\nv 1 1 0\nv 0 1 1\nv 1 2 1\nv 0 2 2\nv 1 3 2\n"
              "vn -0.5773502691896258 0.5773502691896258 -0.5773502691896258\n"
              "vn -0.5773502691896258 0.5773502691896258 -0.5773502691896258\n"
              "vn -0.5773502691896258 0.5773502691896258 -0.5773502691896258\n"
              "vn -0.5773502691896258 0.5773502691896258 -0.5773502691896258\n"
              "vn -0.5773502691896258 0.5773502691896258 -0.5773502691896258\n"
              "vn -0.5773502691896258 0.5773502691896258 -0.5773502691896258\n"
              "f 1//1 3//3 4//4 2//2\n"
              "f 3//3 5//5 6//6 4//4\n"
              "o cloud\n"
              "v 0 5 0\nv 1 5 0\nv 0 5 1\nv 1 5 1\nv 0 5 2\nv 1 5 2\n"
              "vn 0 1 0\nvn 0 1 0\nvn 0 1 0\nvn 0 1 0\nvn 0 1 0\nvn 0 1 0\n"
              "p 7 8 9 10 11 12\n");
}

TEST(Export, OneVariableCurvesAndSamplesThatAreNotFinite)
{
    ExportFiles files(
        "<graph><variables><variable name=\"t\" min=\"-2\" max=\"2\" res=\"4\"/></variables>"
        "<expressions><expression>2*t</expression><expression mode=\"filled\">1/t</expression>"
        "<expression mode=\"points\">sqrt(t)</expression></expressions></graph>");
    auto run = vexadrome({"--export", files.graphPath, files.objPath});
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(files.obj(),
              "# Vexadrome graph exported from " + files.graphPath + "\n"
              "o expression1\n"
              "v -2 -4 0\nv -1 -2 0\nv 0 0 0\nv 1 2 0\nv 2 4 0\n"
              "vn -0.8944271909999159 0.4472135954999579 0\nvn -0.8944271909999159 0.4472135954999579 0\n"
              "vn -0.8944271909999159 0.4472135954999579 0\nvn -0.8944271909999159 0.4472135954999579 0\n"
              "vn -0.8944271909999159 0.4472135954999579 0\n"
              "l 1 2 3 4 5\n"
              "o expression2\n"
              "v -2 -0.5 0\nv -1 -1 0\nv 0 inf 0\nv 1 1 0\nv 2 0.5 0\n"
              "vn 0.4472135954999579 0.8944271909999159 0\nvn 0 0 0\nvn -0.7071067811865475 0.7071067811865475 0\n"
              "vn 0 0 0\nvn 0.4472135954999579 0.8944271909999159 0\n"
              "l 6 7\n"
              "l 9 10\n"
              "o expression3\n"
              "v -2 nan 0\nv -1 nan 0\nv 0 0 0\nv 1 1 0\nv 2 1.4142135623730951 0\n"
              "vn 0 0 0\nvn 0 0 0\nvn 0 0 0\nvn -0.5773502691896258 0.8164965809277261 0\n"
              "vn -0.38268343236508984 0.9238795325112867 0\n"
              "p 13 14 15\n");
}

TEST(Export, FailuresAreReportedAndTheExportGoesOn)
{
    ExportFiles files(
        "<graph><variables><variable name=\"x\" min=\"0\" max=\"1\" res=\"1\"/></variables><expressions>"
        "<expression name=\"bad\">x + q(x)</expression>"
        "<expression name=\"good\" mode=\"points\">x</expression>"
        "<expression>(x</expression>"
        "</expressions></graph>");
    auto run = vexadrome({"--export", files.graphPath, files.objPath});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.errors,
              "vexadrome: " + files.graphPath + ": expression 1 (bad): unknown variable or function at column 5\n"
              "vexadrome: " + files.graphPath + ": expression 3 (): malformed expression\n");
    EXPECT_EQ(files.obj(),
              "# Vexadrome graph exported from " + files.graphPath + "\n"
              "o good\nv 0 0 0\nv 1 1 0\nvn -0.7071067811865475 0.7071067811865475 0\n"
              "vn -0.7071067811865475 0.7071067811865475 0\np 1 2\n");
}

TEST(Export, GraphsThatCannotBeExported)
{
    ExportFiles huge("<graph><variables><variable name=\"a\" res=\"2000\"/><variable name=\"b\" res=\"2000\"/>"
                     "<variable name=\"c\"/></variables><expressions><expression name=\"e\">a</expression>"
                     "</expressions></graph>");
    auto tooMany = vexadrome({"--export", huge.graphPath, huge.objPath});
    EXPECT_EQ(tooMany.exitCode, 1);
    EXPECT_EQ(tooMany.errors, "vexadrome: " + huge.graphPath +
                                  ": expression 1 (e): the graph has more than 4194304 samples (the product of "
                                  "every variable's res + 1)\n");

    ExportFiles broken("<graph><variables>");
    std::ofstream(broken.objPath) << "old content";
    auto unreadable = vexadrome({"--export", broken.graphPath, broken.objPath});
    EXPECT_EQ(unreadable.exitCode, 1);
    EXPECT_EQ(unreadable.errors.rfind("vexadrome: " + broken.graphPath + ": ", 0), 0u) << unreadable.errors;
    EXPECT_EQ(broken.obj(), "old content") << "nothing is written when the graph cannot be read";

    ExportFiles script("<command title=\"c\">1+1</command>");
    auto notGraph = vexadrome({"--export", script.graphPath, script.objPath});
    EXPECT_EQ(notGraph.exitCode, 1);
    EXPECT_EQ(notGraph.errors,
              "vexadrome: " + script.graphPath + ": not a graph (its root element is not <graph>)\n");

    auto missing = vexadrome({"--export", "/nonexistent/dir/a.graph", "/tmp/unused.obj"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.errors.rfind("vexadrome: /nonexistent/dir/a.graph: ", 0), 0u) << missing.errors;

    ExportFiles fine("<graph/>");
    auto unwritable = vexadrome({"--export", fine.graphPath, "/nonexistent/dir/out.obj"});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_EQ(unwritable.errors.rfind("vexadrome: /nonexistent/dir/out.obj: ", 0), 0u) << unwritable.errors;

    auto operands = vexadrome({"--export", fine.graphPath});
    EXPECT_EQ(operands.exitCode, 2);
    EXPECT_EQ(operands.errors.rfind("vexadrome: option '--export' needs a graph file and an OBJ file name\n", 0), 0u)
        << operands.errors;
}

TEST(Export, DefinitionsOfAnEarlierScriptAreVisible)
{
    ExportFiles files("<graph><variables><variable name=\"x\" min=\"0\" max=\"1\" res=\"1\"/></variables>"
                      "<expressions><expression name=\"w\">bump(x)</expression></expressions></graph>");
    std::string script = files.base + ".vexscr";
    std::ofstream(script, std::ios::binary) << "<command title=\"defs\">bump(a) = a*a + 1</command>";
    auto run = vexadrome({"--run", script, "--export", files.graphPath, files.objPath});
    std::remove(script.c_str());
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_NE(files.obj().find("o w\nv 0 1 0\nv 1 2 0\n"), std::string::npos) << files.obj();
}
