// The runtime's exceptions: objects that carry a message. Raising one through
// Runtime::throwException reports its type name and message and ends the
// process; nothing catches them. They stand for programming errors only.
#pragma once

#include "nycore/system/object.h"

namespace NyCore {

class Exception : public Object {
    NY_REFLECTIVE(Exception)
public:
    Exception() = default;
    explicit Exception(String const* message);
    ~Exception() override;

    String const* get$message() const { return message; }

protected:
    // Takes ownership of a message built by a subclass.
    void adoptMessage(String* text);

private:
    String* message = nullptr;
};

class NullReferenceException : public Exception {
    NY_REFLECTIVE(NullReferenceException)
public:
    NullReferenceException();
    explicit NullReferenceException(bool write);
};

class DivideByZeroException : public Exception {
    NY_REFLECTIVE(DivideByZeroException)
public:
    DivideByZeroException();
};

class InvalidParameterException : public Exception {
    NY_REFLECTIVE(InvalidParameterException)
public:
    InvalidParameterException();
};

class OutOfBoundsException : public Exception {
    NY_REFLECTIVE(OutOfBoundsException)
public:
    OutOfBoundsException();
    OutOfBoundsException(int index, int max);
};

class InvalidIndexException : public Exception {
    NY_REFLECTIVE(InvalidIndexException)
public:
    explicit InvalidIndexException(String const* name);
};

class IndexAlreadyExistsException : public Exception {
    NY_REFLECTIVE(IndexAlreadyExistsException)
public:
    explicit IndexAlreadyExistsException(String const* name);
};

class ClassDoesNotExistException : public Exception {
    NY_REFLECTIVE(ClassDoesNotExistException)
public:
    explicit ClassDoesNotExistException(String const* name);
};

class DimensionSizeException : public Exception {
    NY_REFLECTIVE(DimensionSizeException)
public:
    explicit DimensionSizeException(int size);
};

class UnknownSystemException : public Exception {
    NY_REFLECTIVE(UnknownSystemException)
public:
    explicit UnknownSystemException(unsigned code);
};

class UnknownMethodException : public Exception {
    NY_REFLECTIVE(UnknownMethodException)
public:
    explicit UnknownMethodException(String const* name);
};

namespace IO {

class CannotReadInWriteModeException : public Exception {
    NY_REFLECTIVE(CannotReadInWriteModeException)
public:
    CannotReadInWriteModeException();
};

class CannotWriteInReadModeException : public Exception {
    NY_REFLECTIVE(CannotWriteInReadModeException)
public:
    CannotWriteInReadModeException();
};

class SeekNotSupportedException : public Exception {
    NY_REFLECTIVE(SeekNotSupportedException)
public:
    SeekNotSupportedException();
};

}

namespace Text {

class NestingNotAloudException : public Exception {
    NY_REFLECTIVE(NestingNotAloudException)
public:
    NestingNotAloudException();
};

class NoDigitsInLoopException : public Exception {
    NY_REFLECTIVE(NoDigitsInLoopException)
public:
    NoDigitsInLoopException();
};

class UnterminatedLoopException : public Exception {
    NY_REFLECTIVE(UnterminatedLoopException)
public:
    UnterminatedLoopException();
};

}

namespace System {

class TooManyEventLoopsException : public Exception {
    NY_REFLECTIVE(TooManyEventLoopsException)
public:
    TooManyEventLoopsException();
};

}

namespace System {
// Runtime::throwException for code that does not include the runtime.
[[noreturn]] void raiseException(Exception* e);
}

// Raises an exception built in place: NY_THROW(OutOfBoundsException(i, n)).
#define NY_THROW(construction) ::NyCore::System::raiseException(new ::NyCore::construction)

}
