// The String members: creation from units, null-tolerant access and the
// sub-string comparison used by the matchers, and the shared empty constant.
#include "nycore/text/string.h"

#include <cstring>

#include "nycore/text/string_functions.h"

namespace {

// get$length and get are called on null Strings by design. The compiler may
// assume `this` is never null, so the pointer passes through an empty asm
// before it is tested.
NyCore::String const* visibleSelf(NyCore::String const* self)
{
    asm("" : "+r"(self));
    return self;
}

}

namespace NyCore {

namespace Text {

String const* const EmptyString = u""_str;

}

String* String::create(char16_t const* units, int start, int length)
{
    if (length < 0)
        length = 0;
    String* s = string_alloc(length);
    if (length > 0)
        std::memcpy(s->units(), units + start, static_cast<std::size_t>(length) * sizeof(char16_t));
    s->units()[length] = 0;
    return s;
}

String* String::create(String const* s)
{
    return string_copy(s);
}

int String::get$length() const
{
    String const* self = visibleSelf(this);
    return self ? self->count : 0;
}

char16_t String::get(int index) const
{
    String const* self = visibleSelf(this);
    if (!self || index < 0 || index >= self->count)
        return 0;
    return self->units()[index];
}

int String::subStringMatch(String const* a, String const* b, int start, bool ignoreCase)
{
    if (!a || !b || start < 0 || start >= a->count)
        return 0;
    for (int i = 0;; ++i) {
        bool aEnded = start + i >= a->count;
        bool bEnded = i >= b->count;
        if (aEnded && bEnded)
            return -1;
        if (aEnded || bEnded)
            return i;
        char16_t x = a->units()[start + i];
        char16_t y = b->units()[i];
        if (ignoreCase) {
            if (x >= u'a' && x <= u'z')
                x = static_cast<char16_t>(x - u'a' + u'A');
            if (y >= u'a' && y <= u'z')
                y = static_cast<char16_t>(y - u'a' + u'A');
        }
        if (x != y)
            return i;
    }
}

}
