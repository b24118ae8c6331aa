// ExprIdTable: the value id the compiler gave each constant or instruction,
// found by its key in one open-addressed array, so that the lookup made for
// every operation allocates nothing once the array has its size (it doubles
// when half full).
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace Vexadrome::Actions {

template <class Key, class Hash>
class ExprIdTable {
public:
    // The id stored for key and false, or a new entry for key and true (the
    // caller then sets its id).
    std::pair<int*, bool> find(Key const& key)
    {
        if (entries.empty())
            entries.resize(InitialSize);
        else if (2 * (count + 1) > entries.size())
            grow();
        Entry* entry = place(key);
        if (entry->used)
            return {&entry->id, false};
        *entry = {key, 0, true};
        ++count;
        return {&entry->id, true};
    }

private:
    struct Entry {
        Key key{};
        int id = 0;
        bool used = false;
    };

    static constexpr std::size_t InitialSize = 32;

    // The entry holding key, or the free one where it belongs.
    Entry* place(Key const& key)
    {
        std::size_t mask = entries.size() - 1;
        for (std::size_t i = Hash{}(key) & mask;; i = (i + 1) & mask) {
            if (!entries[i].used || entries[i].key == key)
                return &entries[i];
        }
    }

    void grow()
    {
        std::vector<Entry> old(entries.size() * 2);
        old.swap(entries);
        for (Entry const& entry : old) {
            if (entry.used)
                *place(entry.key) = entry;
        }
    }

    std::vector<Entry> entries;
    std::size_t count = 0;
};

}
