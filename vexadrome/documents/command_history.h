// CommandHistory: the lines entered in one calculator, oldest first, with a
// cursor for recalling them with the arrow keys.
#pragma once

#include "nycore/collection/link_vector.h"
#include "nycore/text/string.h"

namespace Vexadrome::Documents {

class CommandHistory {
public:
    CommandHistory() = default;
    ~CommandHistory();
    CommandHistory(CommandHistory const&) = delete;
    CommandHistory& operator=(CommandHistory const&) = delete;

    // Appends a copy of the line; the cursor moves one past the last entry.
    void addEntry(NyCore::String const* line);
    // The entry before the cursor (moving to it), or null at the first entry.
    NyCore::String const* getPrevEntry();
    // The entry after the cursor (moving to it), or null at the last entry.
    NyCore::String const* getNextEntry();

    int get$count() const { return entries.get$count(); }
    NyCore::String const* get(int index) const { return entries.get(index); }
    int get$cursor() const { return cursor; }

private:
    NyCore::Collections::LinkVector<NyCore::String> entries;
    int cursor = 0;
};

}
