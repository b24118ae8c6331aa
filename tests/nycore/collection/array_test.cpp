// Tests of the flat array_* family and the typed Array view.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "nycore/collection/array.h"
#include "nycore/system/memory.h"
#include "nycore/system/runtime.h"
#include "tests/support/child_process.h"

using namespace NyCore::Collections;

namespace {

void expectFatal(std::function<void()> const& body, std::string const& code)
{
    auto result = TestSupport::runInChild(body);
    EXPECT_TRUE(result.exited);
    EXPECT_EQ(result.exitCode, NyCore::System::FatalExitCode);
    EXPECT_EQ(result.output.rfind(code + ": collection/array.cpp(", 0), 0u) << result.output;
}

}

TEST(ArrayTest, AllocIsZeroFilledAndIndexed)
{
    ArrayBase* array = array_alloc(4, 5);
    EXPECT_EQ(array->elementSize, 4);
    EXPECT_EQ(array_length(array), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(*static_cast<int*>(array_item(array, i)), 0) << "element " << i;
    *static_cast<int*>(array_item(array, 4)) = 44;
    EXPECT_EQ(static_cast<int*>(array->data())[4], 44);
    EXPECT_EQ(static_cast<char*>(array_item(array, 3)) - static_cast<char*>(array->data()), 12);
    array_delete(array);
    EXPECT_EQ(array_length(nullptr), 0);

    // The sanitizer build's leak check catches an item that freeWithItems misses.
    auto* strings = Array<char*>::alloc(3);
    for (auto& item : *strings)
        item = static_cast<char*>(memory_alloc(16));
    EXPECT_EQ(strings->elementSize, static_cast<int>(sizeof(char*)));
    strings->freeWithItems();
}

TEST(ArrayTest, CopyKeepsCommonPrefixAndZeroFillsTail)
{
    struct Case {
        int length;
        int expectedLength;
        std::vector<int> expected;
    };
    Case const cases[] = {
        {0, 3, {1, 2, 3}},
        {5, 5, {1, 2, 3, 0, 0}},
        {2, 2, {1, 2}},
        {3, 3, {1, 2, 3}},
    };
    auto* source = Array<int>::alloc(3);
    (*source)[0] = 1;
    (*source)[1] = 2;
    (*source)[2] = 3;
    for (auto const& c : cases) {
        SCOPED_TRACE("copy to length " + std::to_string(c.length));
        auto* copy = static_cast<Array<int>*>(array_copy(source, c.length));
        ASSERT_EQ(copy->length, c.expectedLength);
        EXPECT_EQ(copy->elementSize, 4);
        EXPECT_EQ(std::vector<int>(copy->begin(), copy->end()), c.expected);
        copy->free();
    }
    source->free();
}

TEST(ArrayTest, MisuseIsFatal)
{
    expectFatal([] { array_alloc(0, 3); }, "Error.InvalidParamiter");
    expectFatal([] { array_alloc(4, -1); }, "Error.InvalidParamiter");
    expectFatal([] { array_item(array_alloc(4, 3), 3); }, "Error.InvalidIndex");
    expectFatal([] { array_item(array_alloc(4, 3), -1); }, "Error.InvalidIndex");
    expectFatal([] { array_item(array_alloc(4, 0), 0); }, "Error.InvalidIndex");
}
