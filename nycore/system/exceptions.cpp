// The exception classes: each has its own record (none is registered) and
// builds its message in its constructor.
#include "nycore/system/exceptions.h"

#include "nycore/system/boxed_values.h"
#include "nycore/text/string_functions.h"
#include "nycore/text/text_buffer.h"

namespace NyCore {

namespace {

String* nameWithSuffix(String const* name, String const* suffix)
{
    Text::TextBuffer buffer;
    if (name)
        buffer.append(name);
    buffer.append(suffix);
    return buffer.abandonString();
}

String* formatNumbers(String const* text, int first, int second)
{
    Integer32 a(first), b(second);
    return String::format(text, &a, &b);
}

}

#define NY_EXCEPTION_RECORD(Class, Name) \
    TypeData Class::MetaData = {&Exception::MetaData, nullptr, Name, NoMethods, NoEvents, nullptr, sizeof(Class), 0, nullptr}

TypeData Exception::MetaData = {&Object::MetaData, nullptr, u"NyCore.Exception"_str, NoMethods, NoEvents, nullptr, sizeof(Exception), 0, nullptr};
NY_EXCEPTION_RECORD(NullReferenceException, u"NyCore.NullReferenceException"_str);
NY_EXCEPTION_RECORD(DivideByZeroException, u"NyCore.DivideByZeroException"_str);
NY_EXCEPTION_RECORD(InvalidParameterException, u"NyCore.InvalidParameterException"_str);
NY_EXCEPTION_RECORD(OutOfBoundsException, u"NyCore.OutOfBoundsException"_str);
NY_EXCEPTION_RECORD(InvalidIndexException, u"NyCore.InvalidIndexException"_str);
NY_EXCEPTION_RECORD(IndexAlreadyExistsException, u"NyCore.IndexAlreadyExistsException"_str);
NY_EXCEPTION_RECORD(ClassDoesNotExistException, u"NyCore.ClassDoesNotExistException"_str);
NY_EXCEPTION_RECORD(DimensionSizeException, u"NyCore.InvalidDimensionException"_str);
NY_EXCEPTION_RECORD(UnknownSystemException, u"NyCore.UnknownSystemException"_str);
NY_EXCEPTION_RECORD(UnknownMethodException, u"NyCore.UnknownMethodException"_str);
NY_EXCEPTION_RECORD(IO::CannotReadInWriteModeException, u"NyCore.IO.CannotReadInWriteModeException"_str);
NY_EXCEPTION_RECORD(IO::CannotWriteInReadModeException, u"NyCore.IO.CannotWriteInReadModeException"_str);
NY_EXCEPTION_RECORD(IO::SeekNotSupportedException, u"NyCore.IO.SeekNotSupportedException"_str);
NY_EXCEPTION_RECORD(Text::NestingNotAloudException, u"NyCore.Text.DoubleFormatter.NestingNotAloudException"_str);
NY_EXCEPTION_RECORD(Text::NoDigitsInLoopException, u"NyCore.Text.DoubleFormatter.NoDigitsInLoopException"_str);
NY_EXCEPTION_RECORD(Text::UnterminatedLoopException, u"NyCore.Text.DoubleFormatter.UnterminatedLoopException"_str);
NY_EXCEPTION_RECORD(System::TooManyEventLoopsException, u"NyCore.System.TooManyEventLoopsException"_str);

Exception::Exception(String const* text) : message(string_copy(text)) {}

Exception::~Exception()
{
    string_free(message);
}

void Exception::adoptMessage(String* text)
{
    string_free(message);
    message = text;
}

NullReferenceException::NullReferenceException() : Exception(u"Null reference."_str) {}

NullReferenceException::NullReferenceException(bool write)
    : Exception(write ? u"Cannot write to a null reference."_str : u"Cannot read from a null reference."_str)
{
}

DivideByZeroException::DivideByZeroException() : Exception(u"Divide by zero."_str) {}

InvalidParameterException::InvalidParameterException() : Exception(u"Invalid paramiter."_str) {}

OutOfBoundsException::OutOfBoundsException() : Exception(u"Operation would result in out-of-bounds error."_str) {}

OutOfBoundsException::OutOfBoundsException(int index, int max)
{
    adoptMessage(formatNumbers(u"Index {0} is not within the range 0 to {1}."_str, index, max));
}

InvalidIndexException::InvalidIndexException(String const* name)
{
    adoptMessage(nameWithSuffix(name, u" is an invalid index."_str));
}

IndexAlreadyExistsException::IndexAlreadyExistsException(String const* name)
{
    adoptMessage(nameWithSuffix(name, u" already exists."_str));
}

ClassDoesNotExistException::ClassDoesNotExistException(String const* name)
{
    adoptMessage(nameWithSuffix(name, u" is not a valid class name."_str));
}

DimensionSizeException::DimensionSizeException(int size)
{
    adoptMessage(formatNumbers(u"{0} is an invalid dimension size."_str, size, 0));
}

UnknownSystemException::UnknownSystemException(unsigned code)
{
    adoptMessage(formatNumbers(u"Unhandled system exception {0}."_str, static_cast<int>(code), 0));
}

UnknownMethodException::UnknownMethodException(String const*) : Exception(u"Unknown method specified"_str) {}

namespace IO {

CannotReadInWriteModeException::CannotReadInWriteModeException()
    : Exception(u"Cannot read from a stream when in write mode."_str)
{
}

CannotWriteInReadModeException::CannotWriteInReadModeException()
    : Exception(u"Cannot write to a stream when in read mode."_str)
{
}

SeekNotSupportedException::SeekNotSupportedException() : Exception(u"Seeking is not supported by this stream."_str) {}

}

namespace Text {

NestingNotAloudException::NestingNotAloudException()
    : Exception(u"Nesting is not alouad in NyCore.Double formatting loops."_str)
{
}

NoDigitsInLoopException::NoDigitsInLoopException()
    : Exception(u"No digits were found in the NyCore.Double formatting loop."_str)
{
}

UnterminatedLoopException::UnterminatedLoopException() : Exception(u"Unterminated NyCore.Double formatting loop."_str) {}

}

namespace System {

TooManyEventLoopsException::TooManyEventLoopsException() : Exception(u"Maximum number of event loops reached"_str) {}

}

}
