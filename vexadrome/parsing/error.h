// Error: the expression engine's first-wins error record. Every stage reports
// into one record that the caller owns; the first code and the first location
// stick, later reports change neither.
#pragma once

#include <cstdint>

#include "nycore/text/string.h"

namespace Vexadrome::Parsing {

class Scanner;

namespace ErrorCode {
enum Enum : std::int32_t {
    NoError = 0,
    InvalidCommandParams = 1,
    UnknownName = 2,
    CircularReference = 3,
    InvalidElement = 4,
    InvalidDimensions = 5,
    MalformedExpression = 6,
    WrongShape = 7,
    WrongParamCount = 8,
    InvalidAssignment = 9,
    DuplicateParam = 10,
    BadSyntax = 11,
    // Nesting or size beyond what the engine accepts (deep nesting, a
    // definition that expands to too many nodes).
    TooComplex = 12,
};
}

struct Error {
    std::int32_t code = ErrorCode::NoError;
    std::int32_t start = -1;   // offset of the offending text; negative: no location
    std::int32_t length = 0;

    void reset();
    void setCode(int newCode);
    void setLocation(int newStart, int newLength);
    // setCode, then the location of the scanner's last token.
    void setValue(Scanner const* scanner, int newCode);
    bool hasCode() const { return code != ErrorCode::NoError; }
    bool hasLocation() const { return start >= 0; }
};

}

namespace Vexadrome::Res::Strings {

// The messages of the error codes, indexed by code.
extern NyCore::String const* const Errors[];
extern int const ErrorCount;
// The message of a code without a table entry.
extern NyCore::String const* const UnknownError;

// The message for any code.
NyCore::String const* errorMessage(int code);

}
