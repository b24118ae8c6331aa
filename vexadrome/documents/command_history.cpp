// The calculator's line history.
#include "vexadrome/documents/command_history.h"

#include "nycore/text/string_functions.h"

namespace Vexadrome::Documents {

CommandHistory::~CommandHistory()
{
    for (int i = 0; i < entries.get$count(); ++i)
        string_free(entries.get(i));
}

void CommandHistory::addEntry(NyCore::String const* line)
{
    entries.append(string_copy(line));
    cursor = entries.get$count();
}

NyCore::String const* CommandHistory::getPrevEntry()
{
    if (cursor <= 0)
        return nullptr;
    return entries.get(--cursor);
}

NyCore::String const* CommandHistory::getNextEntry()
{
    if (cursor >= entries.get$count() - 1)
        return nullptr;
    return entries.get(++cursor);
}

}
