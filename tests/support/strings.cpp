// Test helpers over String; they use the core's own allocation.
#include "tests/support/strings.h"

#include "nycore/system/memory.h"
#include "nycore/text/string_functions.h"

namespace TestSupport {

NyCore::String* makeString(std::u16string const& text)
{
    return NyCore::String::create(text.data(), 0, static_cast<int>(text.size()));
}

std::u16string toU16(NyCore::String const* s)
{
    if (!s)
        return u"<null>";
    return std::u16string(s->units(), static_cast<std::size_t>(s->count));
}

std::string toUtf8(NyCore::String const* s)
{
    if (!s)
        return "<null>";
    int length = 0;
    char* bytes = string_to_utf8(s, &length);
    std::string result(bytes, static_cast<std::size_t>(length));
    memory_free(bytes);
    return result;
}

std::string toUtf8(std::u16string const& s)
{
    return OwnedString(s).utf8();
}

OwnedString::~OwnedString()
{
    if (string)
        string_free(string);
}

OwnedString& OwnedString::operator=(OwnedString&& other) noexcept
{
    if (this != &other) {
        if (string)
            string_free(string);
        string = other.release();
    }
    return *this;
}

NyCore::String* OwnedString::release()
{
    NyCore::String* owned = string;
    string = nullptr;
    return owned;
}

}
