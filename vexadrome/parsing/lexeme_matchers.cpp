// The three lexeme matchers of the scanner.
#include "vexadrome/parsing/lexeme_matchers.h"

namespace Vexadrome::Parsing {

int WSMatcher::addchar(char16_t ch)
{
    return canStart(ch) ? 1 : 0;
}

int NumberMatcher::addchar(char16_t ch)
{
    if (ch >= u'0' && ch <= u'9')
        return 1;
    if (ch == u'.' && !seenPoint) {
        seenPoint = true;
        return 1;
    }
    return 0;
}

int VariableMatcher::addchar(char16_t ch)
{
    bool wasFirst = first;
    first = false;
    if (canStart(ch))
        return 1;
    return ch >= u'0' && ch <= u'9' && !wasFirst ? 1 : 0;
}

}
