// Tests of the flat queue_* family.
#include <gtest/gtest.h>

#include <vector>

#include "nycore/collection/queue.h"
#include "tests/support/child_process.h"

using namespace NyCore::Collections;

namespace {

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

TEST(QueueTest, PushesAndPops)
{
    Queue queue;
    queue_construct(&queue, sizeof(double));
    EXPECT_TRUE(queue_is_empty(&queue));
    EXPECT_EQ(queue_front(&queue), nullptr);
    double values[] = {1.5, 2.5, 3.5, 0.5};
    queue_push_back(&queue, &values[0]);
    queue_push_back(&queue, &values[1]);
    queue_push_front(&queue, &values[3]);
    queue_push_back(&queue, &values[2]);
    values[0] = 99;  // the queue holds copies
    EXPECT_EQ(drain(&queue), (std::vector<double>{0.5, 1.5, 2.5, 3.5}));
    // Emptied, it takes new items at both ends again.
    queue_push_front(&queue, &values[1]);
    queue_push_back(&queue, &values[2]);
    EXPECT_EQ(drain(&queue), (std::vector<double>{2.5, 3.5}));
    queue_push_back(&queue, &values[1]);
    queue_destroy(&queue);
    EXPECT_TRUE(queue_is_empty(&queue));
}

TEST(QueueTest, MisuseIsFatal)
{
    TestSupport::expectFatal([] { Queue q; queue_construct(&q, 0); }, "Error.InvalidParamiter: collection/queue.cpp(");
    TestSupport::expectFatal([] { Queue q; queue_construct(&q, 4); queue_pop_front(&q); },
                             "Error.Queue.IsEmpty: collection/queue.cpp(");
}
