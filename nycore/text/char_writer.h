// CharWriter: the abstract sink of code units behind all text formatting.
#pragma once

#include "nycore/text/string.h"

namespace NyCore::Text {

class CharWriter {
public:
    virtual ~CharWriter() = default;
    virtual void append(char16_t unit) = 0;
    virtual void append(String const* text) = 0;
};

}
