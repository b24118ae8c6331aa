// Evaluation of a chain of sort keys.
#include "nycore/collection/sort_key.h"

#include <climits>

namespace NyCore::Collections {

SortKeyBase::SortKeyBase(Comparison comparison, bool ascending, int parameter)
    : comparison(comparison), parameter(parameter), ascending(ascending)
{
}

int SortKeyBase::compare(void const* a, void const* b) const
{
    for (SortKeyBase const* key = this; key; key = key->next) {
        int result = key->comparison ? key->comparison(a, b, key) : 0;
        if (!key->ascending)
            result = result == INT_MIN ? INT_MAX : -result;
        if (result != 0)
            return result;
    }
    return 0;
}

}
