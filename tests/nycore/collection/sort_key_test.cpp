// Tests of sort key chains and of the stable merge sort of LinkVectorBase.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "nycore/collection/link_vector.h"
#include "nycore/collection/sort_key.h"

using namespace NyCore::Collections;

namespace {

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

std::vector<int> sortedOrders(std::vector<Row>& rows, SortKeyBase const* key)
{
    LinkVector<Row> v;
    for (auto& row : rows)
        v.append(&row);
    v.sort(key);
    std::vector<int> orders;
    for (int i = 0; i < v.get$count(); ++i)
        orders.push_back(v.get(i)->order);
    return orders;
}

std::vector<Row> rowsOf(std::vector<int> const& values)
{
    std::vector<Row> rows;
    for (int i = 0; i < static_cast<int>(values.size()); ++i)
        rows.push_back({values[i] / 10, values[i] % 10, i});
    return rows;
}

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
        {{90, 81, 72, 63, 54, 45, 36, 27, 18, 9, 99}, {9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 10}},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE("count " + std::to_string(c.values.size()));
        auto rows = rowsOf(c.values);
        EXPECT_EQ(sortedOrders(rows, &group), c.expected);
    }

    auto rows = rowsOf({21, 11, 22});
    EXPECT_EQ(sortedOrders(rows, nullptr), (std::vector<int>{0, 1, 2})) << "no key keeps the order";
}
