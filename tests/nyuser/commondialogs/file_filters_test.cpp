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
        {u"/home/me.v2/report", u"graph", "/home/me.v2/report.graph"},
        {u"C:\\work.old\\report", u"vexscr", "C:\\work.old\\report.vexscr"},
        {u".profile", u"graph", ".profile"},
        {u"report", u"", "report"},
    };
    for (Case const& c : cases)
        EXPECT_EQ(OwnedString(FileFilters::withDefaultExtension(OwnedString(c.name), c.extension)).utf8(), c.expected)
            << toUtf8(c.name);
}

TEST(FileFiltersTest, FieldsPatternsMatchesAndTheRoomOfTheList)
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
    struct Case {
        int filter;
        char const* name;
        bool matches;
    } const cases[] = {
        {0, "a.vexscr", true}, {0, "a.graph", true},  {0, "a.txt", false},   {0, "graph", false},
        {1, "A.GRAPH", true},  {1, "a.vexscr", false}, {1, "a.graph.bak", false},
        {2, "README", true},   {3, "anything", true},
    };
    for (Case const& c : cases)
        EXPECT_EQ(filters.matches(c.filter, c.name), c.matches) << c.filter << " " << c.name;
    EXPECT_TRUE(FileFilters(nullptr).matches(0, "x.y")) << "no filters match every name";

    // Each entry takes description + patterns + two zeros, the list one more zero: one
    // that does not fit is left out, and indexes follow the caller's list.
    OwnedString last(u"Script\t*.vexscr\tvexscr"),
        tooLong(std::u16string(FileFilters::ListCapacity - 20, u'x') + u"\t*.txt"),
        exact(std::u16string(FileFilters::ListCapacity - 1 - 2 - 5, u'y') + u"\t*.txt");
    NyCore::String const* longList[] = {graph, tooLong, last, nullptr};
    FileFilters shorter(longList);
    ASSERT_EQ(shorter.count(), 2);
    EXPECT_EQ(shorter.at(1).source, 2);
    EXPECT_EQ(shorter.offeredIndex(2), 1);
    EXPECT_EQ(shorter.offeredIndex(1), 0) << "a left-out filter preselects the first";
    NyCore::String const* exactList[] = {exact, graph, nullptr};
    EXPECT_EQ(FileFilters(exactList).count(), 1) << "an entry that fills the list exactly still fits";
}

}
