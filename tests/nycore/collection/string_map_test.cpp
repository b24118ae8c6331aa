// Tests of the string-keyed tree map: lookups, key order, the shape left by
// removals, and the fatal reports of misuse.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "nycore/collection/string_map.h"
#include "nycore/text/string_functions.h"
#include "tests/support/child_process.h"
#include "tests/support/strings.h"

using namespace NyCore::Collections;

namespace {

// The node that holds the value of `key`: values follow the two child links.
StringMapNode* nodeOf(StringMapBase* map, char16_t const* key)
{
    return static_cast<StringMapNode*>(strmap_item(map, key)) - 1;
}

std::vector<std::string> keysInOrder(StringMap<int>& map)
{
    std::vector<std::string> keys;
    map.visit([&](char16_t const* key, int&) { keys.push_back(TestSupport::toUtf8(std::u16string(key))); });
    return keys;
}

void add(StringMapBase* map, std::vector<char16_t const*> const& keys)
{
    for (auto* key : keys) {
        int value = key[0];
        strmap_add(map, key, &value);
    }
}

}

TEST(StringMapTest, AddLookUpRemove)
{
    StringMap<int> map;
    NyCore::String* apple = TestSupport::makeString(u"apple");
    map.add(apple, 1);
    map.add(u"Apple"_str, 2);
    map.add(u"apples"_str, 3);
    map.add(u""_str, 4);
    map.add(u"b\u00e9ta"_str, 5);

    struct Case { char16_t const* key; bool exists; int value; } const cases[] = {
        {u"apple", true, 1}, {u"Apple", true, 2}, {u"apples", true, 3}, {u"", true, 4},
        {u"b\u00e9ta", true, 5}, {u"APPLE", false, 0}, {u"appl", false, 0}, {u"beta", false, 0},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(TestSupport::toUtf8(std::u16string(c.key)));
        EXPECT_EQ(strmap_exists(&map, c.key), c.exists);
        if (c.exists) {
            EXPECT_EQ(*static_cast<int*>(strmap_item(&map, c.key)), c.value);
        }
    }
    EXPECT_EQ(map.item(apple), 1);
    EXPECT_TRUE(map.exists(nullptr)) << "a null key is the empty key";
    EXPECT_EQ(keysInOrder(map), (std::vector<std::string>{"", "Apple", "apple", "apples", "b\u00e9ta"}));

    map.remove(apple);
    map.remove(u"missing"_str);
    EXPECT_FALSE(map.exists(apple));
    EXPECT_EQ(keysInOrder(map), (std::vector<std::string>{"", "Apple", "apples", "b\u00e9ta"}));
    string_free(apple);
}

TEST(StringMapTest, RemovalKeepsTheTreeRule)
{
    StringMap<int> map;
    add(&map, {u"d", u"b", u"f", u"a", u"c", u"bz", u"e"});
    // d is replaced by c, the rightmost of its left subtree; c's left child bz
    // moves up to c's former parent b.
    strmap_remove(&map, u"d");
    EXPECT_EQ(map.root, nodeOf(&map, u"c"));
    EXPECT_EQ(map.root->left, nodeOf(&map, u"b"));
    EXPECT_EQ(map.root->right, nodeOf(&map, u"f"));
    EXPECT_EQ(map.root->left->right, nodeOf(&map, u"bz"));

    // A node without a left subtree gives way to its right subtree.
    strmap_remove(&map, u"bz");
    strmap_remove(&map, u"b");
    EXPECT_EQ(map.root->left, nodeOf(&map, u"a"));
    strmap_remove(&map, u"f");
    EXPECT_EQ(map.root->right, nodeOf(&map, u"e"));
    // The left child itself is the rightmost node of the left subtree.
    strmap_remove(&map, u"c");
    EXPECT_EQ(map.root, nodeOf(&map, u"a"));
    EXPECT_EQ(map.root->right, nodeOf(&map, u"e"));
    strmap_remove(&map, u"a");
    strmap_remove(&map, u"e");
    EXPECT_EQ(map.root, nullptr);
}

TEST(StringMapTest, DeepTreesAreVisitedAndFreed)
{
    StringMap<int> map;
    for (int i = 999; i >= 0; --i) {
        char16_t key[5] = {char16_t(u'0' + i / 100), char16_t(u'0' + i / 10 % 10), char16_t(u'0' + i % 10), 0};
        strmap_add(&map, key, &i);
    }
    int expected = 0;
    map.visit([&](char16_t const*, int& value) { EXPECT_EQ(value, expected++); });
    EXPECT_EQ(expected, 1000);
    strmap_destroy(&map);
    EXPECT_EQ(map.root, nullptr);
}

TEST(StringMapTest, MisuseIsFatal)
{
    std::string const at = ": collection/string_map.cpp(";
    TestSupport::expectFatal([] { StringMapBase map; strmap_construct(&map, 0); }, "Error.InvalidParamiter" + at);
    TestSupport::expectFatal([] { StringMap<int> map; map.add(u"x"_str, 1); map.add(u"x"_str, 2); },
                             "Error.StringMap.AlreadyExists" + at);
    TestSupport::expectFatal([] { StringMap<int> map; map.add(u"x"_str, 1); map.item(u"X"_str); }, "Error.InvalidIndex" + at);
}
