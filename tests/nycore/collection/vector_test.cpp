// Tests of the three vectors (growth, insertion, removal, moves, name lookup,
// the exceptions raised on misuse), of sort key chains and the stable merge sort.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "nycore/collection/inline_vector.h"
#include "nycore/collection/link_vector.h"
#include "nycore/collection/name_vector.h"
#include "nycore/collection/sort_key.h"
#include "nycore/text/string_functions.h"
#include "tests/support/child_process.h"
#include "tests/support/strings.h"

using namespace NyCore::Collections;
using NyCore::String;

namespace {

int slots[32];

std::vector<int> contents(LinkVector<int> const& v)
{
    std::vector<int> indexes;
    for (int i = 0; i < v.get$count(); ++i)
        indexes.push_back(v.get(i) ? static_cast<int>(v.get(i) - slots) : -1);
    return indexes;
}

std::vector<int> contents(InlineVector<int> const& v)
{
    std::vector<int> values;
    for (int i = 0; i < v.get$count(); ++i)
        values.push_back(v[i]);
    return values;
}

// A vector holding slots[0] ... slots[n - 1].
void fill(LinkVector<int>& v, int n)
{
    for (int i = 0; i < n; ++i)
        v.append(&slots[i]);
}

std::string outOfBounds(int index, int max)
{
    return "Index " + std::to_string(index) + " is not within the range 0 to " + std::to_string(max) + ".";
}


struct Row {
    int group;
    int value;
    int order;  // position before sorting, to see stability
};

int byGroup(Row const* a, Row const* b, SortKeyBase const*)
{
    return a->group - b->group;
}

int byValue(Row const* a, Row const* b, SortKeyBase const*)
{
    return a->value - b->value;
}

// Reads the column to compare from the key's parameter.
int byColumn(void const* a, void const* b, SortKeyBase const* key)
{
    auto const* left = static_cast<Row const*>(a);
    auto const* right = static_cast<Row const*>(b);
    return key->get$parameter() == 0 ? left->group - right->group : left->value - right->value;
}

// Sorts rows made from `values` (group * 10 + value); gives their positions before sorting.
std::vector<int> sortedOrders(std::vector<int> const& values, SortKeyBase const* key)
{
    std::vector<Row> rows;
    for (int i = 0; i < static_cast<int>(values.size()); ++i)
        rows.push_back({values[i] / 10, values[i] % 10, i});
    LinkVector<Row> v;
    for (auto& row : rows)
        v.append(&row);
    v.sort(key);
    std::vector<int> orders;
    for (int i = 0; i < v.get$count(); ++i)
        orders.push_back(v.get(i)->order);
    return orders;
}

}

TEST(VectorTest, GrowingKeepsTheItems)
{
    InlineVector<int> inlineVector(0, 0);
    LinkVector<int> linkVector;
    std::vector<int> capacities;  // after the 8th and 9th append, inline and link
    for (int i = 0; i < 17; ++i) {
        inlineVector.append(i);
        linkVector.append(&slots[i]);
        if (i == 7 || i == 8)
            capacities.insert(capacities.end(), {inlineVector.get$capacity(), linkVector.get$capacity()});
    }
    // 8 at first, then doubling; an inline vector keeps a spare slot.
    EXPECT_EQ(capacities, (std::vector<int>{16, 8, 16, 16}));
    EXPECT_EQ(contents(inlineVector), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}));
    EXPECT_EQ(contents(linkVector), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}));
    // An element appended from the vector's own storage survives the growth.
    InlineVector<int> own(0, 1);
    own.append(42);
    own.append(own[0]);
    EXPECT_EQ(contents(own), (std::vector<int>{42, 42}));
}

TEST(VectorTest, InsertRemoveMoveReverse)
{
    struct Case {
        char const* name;
        std::function<void(LinkVector<int>&)> change;
        std::vector<int> expected;  // slot indexes, -1 for an empty slot
    } const cases[] = {
        {"insert 2 at 1", [](auto& v) { v.insert(1, 2); }, {0, -1, -1, 1, 2, 3, 4, 5}},
        {"insert at end", [](auto& v) { v.insert(6, 1); }, {0, 1, 2, 3, 4, 5, -1}},
        {"remove 2 at 1", [](auto& v) { v.remove(1, 2); }, {0, 3, 4, 5}},
        {"remove 5 at count-2", [](auto& v) { v.remove(4, 5); }, {0, 1, 2, 3}},
        {"move 2 forward", [](auto& v) { v.move(0, 3, 2); }, {2, 3, 4, 0, 1, 5}},
        {"move 2 back", [](auto& v) { v.move(4, 1, 2); }, {0, 4, 5, 1, 2, 3}},
        {"reverse even", [](auto& v) { v.reverse(); }, {5, 4, 3, 2, 1, 0}},
        {"set", [](auto& v) { v.set(2, &slots[9]); }, {0, 1, 9, 3, 4, 5}},
        {"resize down then up", [](auto& v) { v.resize(2); v.resize(4); }, {0, 1, -1, -1}},
        {"resize past capacity", [](auto& v) { v.resize(10); }, {0, 1, 2, 3, 4, 5, -1, -1, -1, -1}},
        {"reserve lowers count", [](auto& v) { v.reserve(3); }, {0, 1, 2}},
        {"reserve grows only", [](auto& v) { v.reserve(40); }, {0, 1, 2, 3, 4, 5}},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        LinkVector<int> v;
        fill(v, 6);
        c.change(v);
        EXPECT_EQ(contents(v), c.expected);
    }

    InlineVector<int> inlineVector(0, 0);
    for (int i = 0; i < 6; ++i)
        inlineVector.append(i * 10);
    inlineVector.move(4, 0, 2);
    EXPECT_EQ(contents(inlineVector), (std::vector<int>{40, 50, 0, 10, 20, 30}));
    inlineVector.insert(2, 1);
    inlineVector.remove(4, 9);
    EXPECT_EQ(contents(inlineVector), (std::vector<int>{40, 50, 0, 0}));
    inlineVector.reserve(1);
    inlineVector.resize(3);
    EXPECT_EQ(contents(inlineVector), (std::vector<int>{40, 0, 0}));
}

TEST(VectorTest, NameLookup)
{
    String* alpha = TestSupport::makeString(u"alpha");
    NameVector<int> v;
    v.append(alpha, &slots[0]);
    v.append(nullptr, &slots[1]);
    v.append(u"Alpha"_str, &slots[2]);
    v.append(u"alpha"_str, &slots[3]);
    v.insert(1, u"beta"_str);
    v.insert(0);
    string_free(alpha);  // the vector keeps its own copy

    struct Case { char16_t const* name; int index; int* value; } const cases[] = {
        {u"alpha", 1, &slots[0]}, {u"Alpha", 4, &slots[2]}, {u"beta", 2, nullptr}, {u"gamma", -1, nullptr},
        {u"", -1, nullptr},
    };
    for (auto const& c : cases) {
        TestSupport::OwnedString name(c.name);
        EXPECT_EQ(v.getIndex(name), c.index) << name.utf8();
        EXPECT_EQ(v.get(name), c.value) << name.utf8();
    }
    EXPECT_EQ(v.get$count(), 6);
    EXPECT_EQ(v.getName(0), nullptr);
    EXPECT_EQ(TestSupport::toUtf8(v.getName(2)), "beta");

    v.set(u"beta"_str, &slots[7]);
    v.set(u"missing"_str, &slots[8]);
    v.set(0, &slots[9]);
    EXPECT_EQ(v.get(2), &slots[7]);

    v.remove(1);
    EXPECT_EQ(v.getIndex(u"alpha"_str), 4);
    v.resize(2);
    EXPECT_EQ(v.getIndex(u"alpha"_str), -1);
    v.reserve(1);
    EXPECT_EQ(v.get$count(), 1);
    EXPECT_EQ(v.get(0), &slots[9]);
}

TEST(VectorTest, MisuseRaisesExceptions)
{
    std::string const bounds = "NyCore.OutOfBoundsException", dimension = "NyCore.InvalidDimensionException";
    std::string const parameter = "NyCore.InvalidParameterException", invalid = "Invalid paramiter.";
    struct Case {
        void (*misuse)();
        std::string const& type;
        std::string message;
    } const cases[] = {
        {[] { LinkVector<int> v; fill(v, 3); v.get(3); }, bounds, outOfBounds(3, 2)},
        {[] { LinkVector<int> v; fill(v, 3); v.insert(4, 1); }, bounds, outOfBounds(4, 3)},
        {[] { LinkVector<int> v; v.remove(0); }, bounds, outOfBounds(0, -1)},
        {[] { LinkVector<int> v; fill(v, 3); v.move(1, 2, 2); }, bounds, outOfBounds(2, 1)},
        {[] { LinkVector<int> v(0); }, dimension, "0 is an invalid dimension size."},
        {[] { InlineVector<int> v(2, 0); v.getReference(2); }, bounds, outOfBounds(2, 1)},
        {[] { InlineVector<int> v(2, 0); v.insert(0, -1); }, parameter, invalid},
        {[] { InlineVector<int> v(2, 0); v.move(0, 1, 0); }, parameter, invalid},
        {[] { InlineVector<int> v(2, 0); v.move(-1, 0, 1); }, bounds, outOfBounds(-1, 1)},
        {[] { InlineVector<int> v(0, -1); }, dimension, "-1 is an invalid dimension size."},
        {[] { NameVectorBase v(-3); }, dimension, "-3 is an invalid dimension size."},
        {[] { NameVectorBase v; v.getName(0); }, bounds, outOfBounds(0, -1)},
        {[] { NameVectorBase v; v.insert(1); }, bounds, outOfBounds(1, 0)},
    };
    for (auto const& c : cases)
        TestSupport::expectException(c.misuse, c.type, c.message);
}

TEST(SortKeyTest, CompareWalksTheChain)
{
    SortKey<Row> group(&byGroup);
    SortKey<Row> valueDown(&byValue, false);
    group.set$next(&valueDown);
    Row const a{1, 5, 0}, b{1, 7, 0}, c{2, 0, 0};
    EXPECT_LT(group.compare(&a, &c), 0);
    EXPECT_GT(group.compare(&a, &b), 0) << "the second key decides, reversed";
    EXPECT_EQ(group.compare(&a, &a), 0);
    EXPECT_EQ(valueDown.compare(&b, &a), -2);

    SortKeyBase column(&byColumn, true, 1);
    EXPECT_EQ(column.compare(&a, &b), -2);
}

TEST(SortKeyTest, MergeSortIsStable)
{
    SortKey<Row> group(&byGroup);
    struct Case {
        std::vector<int> values;  // group * 10 + value
        std::vector<int> expected;  // positions before sorting
    } const cases[] = {
        {{}, {}}, {{7}, {0}}, {{20, 10}, {1, 0}}, {{31, 20, 12}, {2, 1, 0}}, {{50, 41, 32, 23, 14}, {4, 3, 2, 1, 0}},
        {{11, 12, 13, 14, 15, 16}, {0, 1, 2, 3, 4, 5}}, {{21, 11, 22, 12, 23, 13}, {1, 3, 5, 0, 2, 4}},
        {{30, 11, 20, 12, 40, 13, 0, 14, 21}, {6, 1, 3, 5, 7, 2, 8, 0, 4}},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE("count " + std::to_string(c.values.size()));
        EXPECT_EQ(sortedOrders(c.values, &group), c.expected);
    }
    EXPECT_EQ(sortedOrders({21, 11, 22}, nullptr), (std::vector<int>{0, 1, 2})) << "no key keeps the order";
}
