// EventLog: a listener that records the events linked to it, for tests of
// widgets that send events. Link it in code with listen(sender, "click") or
// from a form file to its method "note"; each call keeps its first two
// argument words.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "nycore/system/linkable_object.h"

namespace TestSupport {

class EventLog : public NyCore::Extenders::LinkableObject {
    NY_REFLECTIVE(EventLog)
public:
    using Call = std::array<std::intptr_t, 2>;

    // Registers the record on first use.
    EventLog();
    // Links sender's event to this log; false when the sender has no such event.
    bool listen(NyCore::Object* sender, char16_t const* event);

    int count() const { return static_cast<int>(calls.size()); }
    // The first argument of every call, in order ("2 0 5").
    std::string firstArguments() const;
    Call last() const { return calls.empty() ? Call{-99, -99} : calls.back(); }
    void clear() { calls.clear(); }

    std::vector<Call> calls;
};

}
