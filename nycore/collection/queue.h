// Queue: a first-in first-out list of fixed-size elements, each copied into
// its own cell of a singly linked list. Only the flat queue_* functions work on it.
#pragma once

#include <cstdint>

namespace NyCore::Collections {

struct QueueCell {
    QueueCell* next;
};

struct Queue {
    std::int32_t elementSize;
    QueueCell* head;
    QueueCell* tail;
};

}

// An empty queue of elements of elementSize bytes; 0 is fatal (Error.InvalidParamiter).
void queue_construct(NyCore::Collections::Queue* queue, int elementSize);
void queue_push_back(NyCore::Collections::Queue* queue, void const* element);
void queue_push_front(NyCore::Collections::Queue* queue, void const* element);
// The address of the first element, or null when the queue is empty.
void* queue_front(NyCore::Collections::Queue* queue);
// Drops the first element; an empty queue is fatal (Error.Queue.IsEmpty).
void queue_pop_front(NyCore::Collections::Queue* queue);
bool queue_is_empty(NyCore::Collections::Queue const* queue);
// Frees every cell and leaves the queue empty.
void queue_destroy(NyCore::Collections::Queue* queue);
