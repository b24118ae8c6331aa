// Filter strings of the file dialogs as tables: their fields, which names
// they match, the room of the filter list, and the default extension.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "nyuser/commondialogs/file_filters.h"
#include "tests/support/strings.h"

using NyUser::CommonDialogs::FileFilters;
using TestSupport::OwnedString;
using TestSupport::toUtf8;

namespace {

TEST(FileFiltersTest, DefaultExtensionIsAddedOnlyToANameWithoutADotInItsFilePart)
{
    struct Case {
        char16_t const* name;
        char16_t const* extension;
        char const* expected;
    } const cases[] = {
        {u"report", u"graph", "report.graph"},
        {u"report.graph", u"graph", "report.graph"},
        {u"report.txt", u"graph", "report.txt"},
        {u"report.", u"graph", "report."},
        {u"/home/me/report", u"graph", "/home/me/report.graph"},
        {u"/home/me.v2/report", u"graph", "/home/me.v2/report.graph"},
        {u"C:\\work.old\\report", u"vexscr", "C:\\work.old\\report.vexscr"},
        {u"/home/me.v2/report.x", u"graph", "/home/me.v2/report.x"},
        {u".profile", u"graph", ".profile"},
        {u"report", u"", "report"},
    };
    for (Case const& c : cases) {
        OwnedString name(c.name);
        OwnedString result(FileFilters::withDefaultExtension(name, c.extension));
        EXPECT_EQ(toUtf8(result), c.expected) << toUtf8(c.name);
    }
}

TEST(FileFiltersTest, FieldsPatternsAndMatches)
{
    OwnedString all(u"All Vexadrome Files\t*.vexscr;*.graph"), graph(u"Vexadrome Graph\t*.graph\tgraph"),
        every(u"All Files\t*.*"), bare(u"Nothing but a name");
    NyCore::String const* list[] = {all, graph, every, bare, nullptr};
    FileFilters filters(list);
    ASSERT_EQ(filters.count(), 4);
    EXPECT_EQ(toUtf8(filters.at(0).description), "All Vexadrome Files");
    EXPECT_EQ(filters.at(0).patterns, (std::vector<std::string>{"*.vexscr", "*.graph"}));
    EXPECT_EQ(toUtf8(filters.at(1).defaultExtension), "graph");
    EXPECT_EQ(toUtf8(filters.at(0).defaultExtension), "");
    EXPECT_EQ(toUtf8(FileFilters::extensionOf(graph)), "graph");
    EXPECT_EQ(toUtf8(FileFilters::extensionOf(all)), "");

    struct Case {
        int filter;
        char const* name;
        bool matches;
    } const cases[] = {
        {0, "a.vexscr", true}, {0, "a.graph", true},  {0, "a.txt", false},   {0, "graph", false},
        {1, "a.graph", true},  {1, "A.GRAPH", true},  {1, "a.vexscr", false}, {1, "a.graph.bak", false},
        {2, "README", true},   {2, "a.b", true},      {3, "anything", true},
    };
    for (Case const& c : cases)
        EXPECT_EQ(filters.matches(c.filter, c.name), c.matches) << c.filter << " " << c.name;

    FileFilters none(nullptr);
    EXPECT_EQ(none.count(), 0);
    EXPECT_TRUE(none.matches(0, "x.y"));
}

TEST(FileFiltersTest, AnEntryThatDoesNotFitTheListIsLeftOutAndIndexesFollowTheCallersList)
{
    // Each entry takes description + patterns + two zeros; the list one more zero.
    std::u16string const longDescription(FileFilters::ListCapacity - 20, u'x');
    OwnedString first(u"Graph\t*.graph\tgraph"), tooLong(longDescription + u"\t*.txt"), last(u"Script\t*.vexscr\tvexscr");
    NyCore::String const* list[] = {first, tooLong, last, nullptr};
    FileFilters filters(list);
    ASSERT_EQ(filters.count(), 2);
    EXPECT_EQ(toUtf8(filters.at(1).description), "Script");
    EXPECT_EQ(filters.at(1).source, 2);
    EXPECT_EQ(filters.offeredIndex(2), 1);
    EXPECT_EQ(filters.offeredIndex(1), 0) << "a left-out filter preselects the first";

    // An entry that fills the list exactly still fits.
    int const room = FileFilters::ListCapacity - 1 - 2 - 5;
    OwnedString exact(std::u16string(static_cast<std::size_t>(room), u'y') + u"\t*.txt");
    NyCore::String const* exactList[] = {exact, first, nullptr};
    FileFilters full(exactList);
    EXPECT_EQ(full.count(), 1);
}

}
