// Every example in the help pages is true: each calculator transcript is what
// `vexadrome --calc` prints for its lines, each script prints the output and
// errors the page states, every link leads to a page or sample that exists,
// every command-line option named is one the program takes, and the graph
// view's steps are the ones the view uses.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <cstring>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/temp_folder.h"
#include "vexadrome/interface/equation_graph_view.h"

using namespace TestSupport;

namespace {

char const* const Pages[] = {"index.htm", "calculator.htm", "command.htm", "graph.htm"};

std::string helpFolder()
{
    return std::string(SOURCE_DIR) + "/help/";
}

std::string page(std::string const& name)
{
    return readBytes(helpFolder() + name);
}

// The text of HTML as it shows: entities decoded, the newline that opens a <pre> dropped.
std::string shown(std::string text)
{
    if (!text.empty() && text[0] == '\n')
        text.erase(0, 1);
    struct Entity {
        char const* name;
        char const* character;
    } const entities[] = {{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}};
    for (Entity const& entity : entities)
        for (std::size_t at; (at = text.find(entity.name)) != std::string::npos;)
            text.replace(at, std::strlen(entity.name), entity.character);
    return text;
}

// The contents of every <pre class="KIND"...> of a page, in order, with the title attribute when there is one.
struct Block {
    std::string title;
    std::string text;
};
std::vector<Block> blocks(std::string const& html, std::string const& kind)
{
    std::vector<Block> found;
    std::regex const pre("<pre class=\"" + kind + "\"( title=\"([^\"]*)\")?>([^<]*)</pre>");
    for (auto it = std::sregex_iterator(html.begin(), html.end(), pre); it != std::sregex_iterator(); ++it)
        found.push_back({(*it)[2].str(), shown((*it)[3].str())});
    return found;
}

std::vector<std::string> links(std::string const& html)
{
    std::vector<std::string> found;
    std::regex const href("href=\"([^\"]*)\"");
    for (auto it = std::sregex_iterator(html.begin(), html.end(), href); it != std::sregex_iterator(); ++it)
        found.push_back((*it)[1].str());
    return found;
}

// The typed lines of a transcript: the text after each "math> ".
std::string typedLines(std::string const& transcript)
{
    std::istringstream lines(transcript);
    std::string line, input;
    while (std::getline(lines, line))
        if (line.rfind("math> ", 0) == 0)
            input += line.substr(6) + "\n";
    return input;
}

}

TEST(HelpExamples, CalculatorTranscriptsAreWhatTheCalculatorPrints)
{
    int checked = 0;
    for (char const* name : Pages) {
        for (Block const& block : blocks(page(name), "calc")) {
            ChildResult const run = runVexadrome({"--calc"}, typedLines(block.text));
            // The calculator ends its transcript with the prompt that met the end of input.
            EXPECT_EQ(run.output, block.text + "math> \n") << name;
            ++checked;
        }
    }
    EXPECT_GE(checked, 5);
}

TEST(HelpExamples, ScriptsPrintWhatThePageSays)
{
    TempFolder folder;
    int checked = 0;
    for (char const* name : Pages) {
        std::string const html = page(name);
        std::vector<Block> const scripts = blocks(html, "run"), outputs = blocks(html, "output"),
                                 errors = blocks(html, "errors");
        ASSERT_EQ(scripts.size(), outputs.size()) << name << ": each script is followed by its output";
        std::size_t failing = 0;
        for (std::size_t i = 0; i < scripts.size(); ++i) {
            std::string const file = scripts[i].title.empty() ? "script.vexscr" : scripts[i].title;
            writeBytes(folder.at(file), "<command>" + scripts[i].text + "</command>");
            ChildResult const run = runProgram(
                {"/bin/sh", "-c", "cd \"$1\" && exec \"$2\" --run \"$3\"", "sh", folder.path,
                 programBesideTests("vexadrome"), file},
                "");
            EXPECT_EQ(run.output, outputs[i].text + "\n") << name << ": " << file;
            // A script with a title is the page's failing example, followed by its errors.
            bool const fails = !scripts[i].title.empty();
            EXPECT_EQ(run.exitCode, fails ? 1 : 0) << name << ": " << file;
            if (fails) {
                ASSERT_LT(failing, errors.size()) << name;
                EXPECT_EQ(run.errors, errors[failing++].text + "\n") << name;
            }
            ++checked;
        }
        EXPECT_EQ(failing, errors.size()) << name;
    }
    EXPECT_GE(checked, 2);
}

TEST(HelpExamples, EveryLinkLeadsToAPageOrASample)
{
    int samples = 0;
    for (char const* name : Pages) {
        for (std::string const& link : links(page(name))) {
            if (link.rfind("vexadrome://", 0) == 0) {
                std::string const sample = std::string(SOURCE_DIR) + "/" + link.substr(12);
                EXPECT_TRUE(std::filesystem::is_regular_file(sample)) << name << ": " << link;
                ++samples;
                continue;
            }
            std::string const target = link.substr(0, link.find('#'));
            std::string const fragment = link.find('#') == std::string::npos ? "" : link.substr(link.find('#') + 1);
            std::string const file = target.empty() ? name : target;
            EXPECT_TRUE(std::filesystem::is_regular_file(helpFolder() + file)) << name << ": " << link;
            if (!fragment.empty()) {
                EXPECT_NE(page(file).find("id=\"" + fragment + "\""), std::string::npos) << name << ": " << link;
            }
        }
    }
    EXPECT_GE(samples, 6);
}

TEST(HelpExamples, CommandLineOptionsAreTheProgramsOwn)
{
    std::string const usage = runVexadrome({"--help"}).output;
    std::regex const option("<code>vexadrome ([^<]*)</code>");
    std::string const html = page("index.htm") + page("command.htm") + page("graph.htm");
    int checked = 0;
    for (auto it = std::sregex_iterator(html.begin(), html.end(), option); it != std::sregex_iterator(); ++it) {
        std::istringstream words((*it)[1].str());
        for (std::string word; words >> word;) {
            if (word.rfind("--", 0) != 0)
                continue;
            EXPECT_NE(usage.find(" " + word + " "), std::string::npos) << word;
            ++checked;
        }
    }
    EXPECT_GE(checked, 8);
}

TEST(HelpExamples, TheGraphViewsStepsAreTheViewsOwn)
{
    using Vexadrome::Interface::EquationGraphView;
    auto format = [](double value) {
        std::ostringstream text;
        text << value;
        return text.str();
    };
    struct Step {
        char const* spanClass;
        std::string value;
    } const steps[] = {
        {"angle-step", format(EquationGraphView::AngleStep)},
        {"distance-step", format(EquationGraphView::DistanceStep)},
        {"wheel-step", format(EquationGraphView::WheelStep)},
        {"drag-threshold", format(EquationGraphView::DragThreshold)},
    };
    std::string const html = page("graph.htm");
    for (Step const& step : steps) {
        std::regex const span(std::string("<span class=\"") + step.spanClass + "\">([^<]*)</span>");
        int found = 0;
        for (auto it = std::sregex_iterator(html.begin(), html.end(), span); it != std::sregex_iterator(); ++it, ++found)
            EXPECT_EQ((*it)[1].str(), step.value) << step.spanClass;
        EXPECT_GE(found, 1) << step.spanClass;
    }
}
