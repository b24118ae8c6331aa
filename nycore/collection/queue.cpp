// The queue_* family: cells are taken from the runtime heap one per element
// and freed as the elements leave.
#include "nycore/collection/queue.h"

#include <cstddef>
#include <cstring>

#include "nycore/system/error.h"
#include "nycore/system/memory.h"

using NyCore::Collections::Queue;
using NyCore::Collections::QueueCell;

namespace {

char const* const SourceFile = "collection/queue.cpp";

// The element follows the link, aligned for any type.
constexpr std::size_t ElementOffset = alignof(std::max_align_t) > sizeof(QueueCell) ? alignof(std::max_align_t) : sizeof(QueueCell);

void* elementOf(QueueCell* cell)
{
    return reinterpret_cast<unsigned char*>(cell) + ElementOffset;
}

QueueCell* makeCell(Queue const* queue, void const* element)
{
    auto* cell = static_cast<QueueCell*>(memory_alloc(ElementOffset + static_cast<std::size_t>(queue->elementSize)));
    std::memcpy(elementOf(cell), element, static_cast<std::size_t>(queue->elementSize));
    return cell;
}

}

void queue_construct(Queue* queue, int elementSize)
{
    if (elementSize <= 0)
        ERROR_THROW(ERROR_BADPARA, SourceFile);
    queue->elementSize = elementSize;
    queue->head = nullptr;
    queue->tail = nullptr;
}

void queue_push_back(Queue* queue, void const* element)
{
    QueueCell* cell = makeCell(queue, element);
    if (queue->tail)
        queue->tail->next = cell;
    else
        queue->head = cell;
    queue->tail = cell;
}

void queue_push_front(Queue* queue, void const* element)
{
    QueueCell* cell = makeCell(queue, element);
    cell->next = queue->head;
    queue->head = cell;
    if (!queue->tail)
        queue->tail = cell;
}

void* queue_front(Queue* queue)
{
    return queue->head ? elementOf(queue->head) : nullptr;
}

void queue_pop_front(Queue* queue)
{
    QueueCell* cell = queue->head;
    if (!cell)
        ERROR_THROW(ERROR_QUEUE_EMPTY, SourceFile);
    queue->head = cell->next;
    if (!queue->head)
        queue->tail = nullptr;
    memory_free(cell);
}

bool queue_is_empty(Queue const* queue)
{
    return queue->head == nullptr;
}

void queue_destroy(Queue* queue)
{
    while (queue->head) {
        QueueCell* next = queue->head->next;
        memory_free(queue->head);
        queue->head = next;
    }
    queue->tail = nullptr;
}
