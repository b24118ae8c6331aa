// The error record and the message table of its codes.
#include "vexadrome/parsing/error.h"

#include "vexadrome/parsing/scanner.h"

namespace Vexadrome::Parsing {

void Error::reset()
{
    code = ErrorCode::NoError;
    start = -1;
    length = 0;
}

void Error::setCode(int newCode)
{
    if (code == ErrorCode::NoError)
        code = newCode;
}

void Error::setLocation(int newStart, int newLength)
{
    if (start < 0) {
        start = newStart;
        length = newLength;
    }
}

void Error::setValue(Scanner const* scanner, int newCode)
{
    setCode(newCode);
    setLocation(scanner->token.start, scanner->token.length);
}

}

namespace Vexadrome::Res::Strings {

NyCore::String const* const Errors[] = {
    u"no error"_str,
    u"invalid command parameters"_str,
    u"unknown variable or function"_str,
    u"circular reference found"_str,
    u"invalid element"_str,
    u"invalid dimesions"_str,
    u"malformed expression"_str,
    u"wrong shape"_str,
    u"wrong parameter count"_str,
    u"invalid assignment command"_str,
    u"duplicate parameter name"_str,
    u"bad syntax"_str,
    u"expression too complex"_str,
};

int const ErrorCount = sizeof Errors / sizeof Errors[0];

NyCore::String const* const UnknownError = u"unknown command error"_str;

NyCore::String const* errorMessage(int code)
{
    return code >= 0 && code < ErrorCount ? Errors[code] : UnknownError;
}

}
