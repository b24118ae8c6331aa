// Tests of the flat array_* family, the typed Array view and the flat queue_* family.
#include <gtest/gtest.h>

#include <malloc.h>

#include <string>
#include <vector>

#include "nycore/collection/array.h"
#include "nycore/collection/queue.h"
#include "nycore/system/memory.h"
#include "tests/support/child_process.h"

using namespace NyCore::Collections;
using TestSupport::expectFatal;

namespace {

// Bytes the C heap has handed out and not taken back.
std::size_t heapInUse()
{
    struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

std::vector<double> drain(Queue* queue)
{
    std::vector<double> values;
    while (!queue_is_empty(queue)) {
        values.push_back(*static_cast<double*>(queue_front(queue)));
        queue_pop_front(queue);
    }
    return values;
}

}

TEST(ArrayTest, AllocIsZeroFilledAndIndexed)
{
    ArrayBase* array = array_alloc(4, 5);
    EXPECT_EQ(array_length(array), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(*static_cast<int*>(array_item(array, i)), 0) << "element " << i;
    EXPECT_EQ(static_cast<char*>(array_item(array, 3)) - static_cast<char*>(array->data()), 12);
    array_delete(array);
    EXPECT_EQ(array_length(nullptr), 0);
}

TEST(ArrayTest, FreeWithItemsFreesEveryItem)
{
    std::size_t before = heapInUse();
    // The array and its items are past the thread cache, whose blocks count as in use
    // even when free, so a free shows at once whatever ran before.
    auto* blocks = Array<char*>::alloc(200);
    for (auto& item : *blocks)
        item = static_cast<char*>(memory_alloc(4000));
    std::size_t holding = heapInUse();
    blocks->freeWithItems();
#ifndef __SANITIZE_ADDRESS__
    // The sanitizers' heap is not the C library's; there the leak check sees a missed item.
    EXPECT_GE(holding, before + 200 * 4000);
    EXPECT_EQ(heapInUse(), before) << "an item or the array was not freed";
#else
    (void)holding;
#endif
}

TEST(ArrayTest, CopyKeepsCommonPrefixAndZeroFillsTail)
{
    struct Case {
        int length;
        std::vector<int> expected;
    } const cases[] = {{0, {1, 2, 3}}, {5, {1, 2, 3, 0, 0}}, {2, {1, 2}}};
    auto* source = Array<int>::alloc(3);
    (*source)[0] = 1, (*source)[1] = 2, (*source)[2] = 3;
    for (auto const& c : cases) {
        SCOPED_TRACE("copy to length " + std::to_string(c.length));
        auto* copy = static_cast<Array<int>*>(array_copy(source, c.length));
        EXPECT_EQ(copy->elementSize, 4);
        EXPECT_EQ(std::vector<int>(copy->begin(), copy->end()), c.expected);
        copy->free();
    }
    source->free();
}

TEST(ArrayTest, MisuseIsFatal)
{
    std::string const at = ": collection/array.cpp(";
    expectFatal([] { array_alloc(0, 3); }, "Error.InvalidParamiter" + at);
    expectFatal([] { array_item(array_alloc(4, 3), 3); }, "Error.InvalidIndex" + at);
}

TEST(QueueTest, PushesAndPops)
{
    Queue queue;
    queue_construct(&queue, sizeof(double));
    EXPECT_EQ(queue_front(&queue), nullptr);
    double values[] = {1.5, 2.5, 3.5, 0.5};
    queue_push_back(&queue, &values[0]);
    queue_push_back(&queue, &values[1]);
    queue_push_front(&queue, &values[3]);
    queue_push_back(&queue, &values[2]);
    values[0] = 99;  // the queue holds copies
    EXPECT_EQ(drain(&queue), (std::vector<double>{0.5, 1.5, 2.5, 3.5}));
    // Emptied, it takes new items at the front again.
    queue_push_front(&queue, &values[1]);
    queue_push_back(&queue, &values[2]);
    EXPECT_EQ(drain(&queue), (std::vector<double>{2.5, 3.5}));
    queue_push_back(&queue, &values[1]);
    queue_destroy(&queue);
    EXPECT_TRUE(queue_is_empty(&queue));
}

TEST(QueueTest, MisuseIsFatal)
{
    expectFatal([] { Queue q; queue_construct(&q, 0); }, "Error.InvalidParamiter: collection/queue.cpp(");
    expectFatal([] { Queue q; queue_construct(&q, 4); queue_pop_front(&q); }, "Error.Queue.IsEmpty: collection/queue.cpp(");
}
