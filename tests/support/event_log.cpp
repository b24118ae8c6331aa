// The recording listener of the widget tests.
#include "tests/support/event_log.h"

#include "tests/support/windows.h"

namespace TestSupport {

namespace {

int note(NyCore::Object* receiver, std::intptr_t a, std::intptr_t b, std::intptr_t, std::intptr_t, std::intptr_t)
{
    static_cast<EventLog*>(receiver)->calls.push_back({a, b});
    return 0;
}

NyCore::MethodEntry const EventLogMethods[] = {{u"note", &note}, {nullptr, nullptr}};

}

NyCore::TypeData EventLog::MetaData = {&NyCore::Extenders::LinkableObject::MetaData, nullptr,
                                       u"Tests.EventLog"_str, EventLogMethods, NyCore::NoEvents, nullptr,
                                       sizeof(EventLog), 0, nullptr};

EventLog::EventLog()
{
    registerOnce(&MetaData);
}

bool EventLog::listen(NyCore::Object* sender, char16_t const* event)
{
    return NyCore::Object::link(sender, this, event, &note);
}

std::string EventLog::firstArguments() const
{
    std::string text;
    for (Call const& call : calls)
        text += (text.empty() ? "" : " ") + std::to_string(call[0]);
    return text;
}

}
