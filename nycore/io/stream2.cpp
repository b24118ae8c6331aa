// Stream2: block handling, unit and byte access, formatted output and the
// three variants of the typed operations that the mode chooses between.
#include "nycore/io/stream2.h"

#include <climits>
#include <cstring>

#include "nycore/system/exceptions.h"
#include "nycore/text/string_functions.h"
#include "nycore/text/text_buffer.h"

namespace NyCore::IO {

namespace {

Stream2::ReadOperations const readText = {&Stream2::readIntTxt, &Stream2::readUintTxt, &Stream2::readBoolTxt, &Stream2::readByteTxt,
    &Stream2::readCharTxt, &Stream2::readStringTxt, &Stream2::readArrayTxt};
Stream2::ReadOperations const readBinary = {&Stream2::readIntBin, &Stream2::readUintBin, &Stream2::readBoolBin, &Stream2::readByteBin,
    &Stream2::readCharBin, &Stream2::readStringBin, &Stream2::readArrayBin};
Stream2::ReadOperations const readInvalid = {&Stream2::readIntInv, &Stream2::readUintInv, &Stream2::readBoolInv, &Stream2::readByteInv,
    &Stream2::readCharInv, &Stream2::readStringInv, &Stream2::readArrayInv};
Stream2::WriteOperations const writeText = {&Stream2::writeIntTxt, &Stream2::writeUintTxt, &Stream2::writeBoolTxt, &Stream2::writeByteTxt,
    &Stream2::writeCharTxt, &Stream2::writeStringTxt, &Stream2::writeArrayTxt};
Stream2::WriteOperations const writeBinary = {&Stream2::writeIntBin, &Stream2::writeUintBin, &Stream2::writeBoolBin, &Stream2::writeByteBin,
    &Stream2::writeCharBin, &Stream2::writeStringBin, &Stream2::writeArrayBin};
Stream2::WriteOperations const writeInvalid = {&Stream2::writeIntInv, &Stream2::writeUintInv, &Stream2::writeBoolInv, &Stream2::writeByteInv,
    &Stream2::writeCharInv, &Stream2::writeStringInv, &Stream2::writeArrayInv};

bool isWhiteSpace(int unit)
{
    return unit == u' ' || unit == u'\t' || unit == u'\r' || unit == u'\n';
}

// Lengths read from a stream are trusted only this far.
constexpr std::int64_t LengthLimit = INT_MAX / 2;

}

Stream2::Stream2()
    : mode(StreamMode::WriteText), readOperations(&readInvalid), writeOperations(&writeText), base(nullptr), position(nullptr),
      blockStart(nullptr), end(nullptr), count(0)
{
}

void Stream2::setBuffer(void* newBase, int offset, int size)
{
    base = static_cast<unsigned char*>(newBase);
    position = blockStart = base + offset;
    end = position + size;
}

void Stream2::set$mode(int newMode)
{
    if (newMode < StreamMode::ReadText || newMode > StreamMode::WriteBinary)
        NY_THROW(InvalidParameterException());
    chmode(newMode);
    mode = static_cast<StreamMode::Enum>(newMode);
    bool writing = mode == StreamMode::WriteText || mode == StreamMode::WriteBinary;
    bool text = mode == StreamMode::ReadText || mode == StreamMode::WriteText;
    readOperations = writing ? &readInvalid : text ? &readText : &readBinary;
    writeOperations = !writing ? &writeInvalid : text ? &writeText : &writeBinary;
}

void Stream2::putbyte(int b)
{
    if (position >= end)
        wrblock();
    // A subclass that gives no room loses nothing silently.
    if (position >= end)
        NY_THROW(OutOfBoundsException());
    *position++ = static_cast<unsigned char>(b);
}

void Stream2::putchar(char16_t unit)
{
    if (end - position < 2)
        wrblock();
    if (end - position < 2)
        NY_THROW(OutOfBoundsException());
    std::memcpy(position, &unit, sizeof unit);
    position += sizeof unit;
}

void Stream2::putchar(char16_t unit, int n)
{
    for (int i = 0; i < n; ++i)
        putchar(unit);
}

void Stream2::append(char16_t unit)
{
    putchar(unit);
}

void Stream2::append(String const* text)
{
    for (int i = 0; text && i < text->count; ++i)
        putchar(text->units()[i]);
}

int Stream2::getbyte()
{
    if (position >= end && (!rdblock() || position >= end))
        return -1;
    return *position++;
}

int Stream2::getchar()
{
    if (end - position < 2 && (!rdblock() || end - position < 2))
        return -1;
    char16_t unit;
    std::memcpy(&unit, position, sizeof unit);
    position += sizeof unit;
    return static_cast<std::int16_t>(unit);
}

int Stream2::peekchar()
{
    if (end - position < 2 && (!rdblock() || end - position < 2))
        return -1;
    char16_t unit;
    std::memcpy(&unit, position, sizeof unit);
    return unit;
}

void Stream2::put(String const* format, Text::ParameterListFormatter::ParameterList parameters)
{
    Text::ParameterListFormatter::applyFormat(this, parameters, format);
}

void Stream2::putline(String const* format, Text::ParameterListFormatter::ParameterList parameters)
{
    put(format, parameters);
    putchar(u'\n');
}

void Stream2::wrblock()
{
    count += position - blockStart;
    position = blockStart;
    putblock();
}

bool Stream2::rdblock()
{
    count += position - blockStart;
    // Counted once: a further call before the next block adds nothing.
    blockStart = position;
    return getblock();
}

std::int64_t Stream2::readDecimal(bool allowSign)
{
    while (isWhiteSpace(peekchar()))
        getchar();
    bool negative = false;
    if (allowSign && (peekchar() == u'-' || peekchar() == u'+'))
        negative = getchar() == u'-';
    std::int64_t value = 0;
    for (int unit = peekchar(); unit >= u'0' && unit <= u'9'; unit = peekchar()) {
        getchar();
        if (value <= UINT_MAX)
            value = value * 10 + (unit - u'0');
    }
    return negative ? -value : value;
}

void Stream2::writeDecimal(std::int64_t value)
{
    char16_t digits[24];
    int n = 0;
    std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    do {
        digits[n++] = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude > 0);
    if (value < 0)
        putchar(u'-');
    while (n > 0)
        putchar(digits[--n]);
}

void Stream2::putBytes(std::uint32_t value, int n)
{
    for (int i = 0; i < n; ++i)
        putbyte(static_cast<int>(value >> (8 * i) & 0xFF));
}

std::uint32_t Stream2::getBytes(int n)
{
    std::uint32_t value = 0;
    for (int i = 0; i < n; ++i) {
        int b = getbyte();
        if (b < 0)
            break;
        value |= static_cast<std::uint32_t>(b) << (8 * i);
    }
    return value;
}

int Stream2::readIntTxt()
{
    std::int64_t value = readDecimal(true);
    return static_cast<int>(value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : value);
}

unsigned Stream2::readUintTxt()
{
    std::int64_t value = readDecimal(false);
    return static_cast<unsigned>(value > UINT_MAX ? UINT_MAX : value);
}

bool Stream2::readBoolTxt()
{
    return readDecimal(false) != 0;
}

int Stream2::readByteTxt()
{
    return static_cast<int>(readDecimal(false) & 0xFF);
}

char16_t Stream2::readCharTxt()
{
    int unit = peekchar();
    if (unit < 0)
        return 0;
    getchar();
    return static_cast<char16_t>(unit);
}

String* Stream2::readStringTxt()
{
    std::int64_t length = readDecimal(false);
    if (peekchar() == u' ')
        getchar();
    Text::TextBuffer text;
    for (std::int64_t i = 0; i < length && i < LengthLimit && peekchar() >= 0; ++i)
        text.append(static_cast<char16_t>(getchar()));
    return text.abandonString();
}

Collections::ArrayBase* Stream2::readArrayTxt()
{
    std::int64_t length = readDecimal(false);
    if (length > LengthLimit)
        length = 0;
    Collections::ArrayBase* array = array_alloc(1, static_cast<int>(length));
    auto* bytes = static_cast<unsigned char*>(array->data());
    for (std::int64_t i = 0; i < length; ++i)
        bytes[i] = static_cast<unsigned char>(readDecimal(false));
    return array;
}

int Stream2::readIntBin()
{
    return static_cast<int>(getBytes(4));
}

unsigned Stream2::readUintBin()
{
    return getBytes(4);
}

bool Stream2::readBoolBin()
{
    return getBytes(1) != 0;
}

int Stream2::readByteBin()
{
    return static_cast<int>(getBytes(1));
}

char16_t Stream2::readCharBin()
{
    return static_cast<char16_t>(getBytes(2));
}

String* Stream2::readStringBin()
{
    std::uint32_t length = getBytes(4);
    Text::TextBuffer text;
    for (std::uint32_t i = 0; i < length && i < LengthLimit; ++i) {
        int low = getbyte(), high = getbyte();
        if (high < 0)
            break;
        text.append(static_cast<char16_t>(low | high << 8));
    }
    return text.abandonString();
}

Collections::ArrayBase* Stream2::readArrayBin()
{
    std::uint32_t length = getBytes(4);
    if (length > LengthLimit)
        length = 0;
    Collections::ArrayBase* array = array_alloc(1, static_cast<int>(length));
    auto* bytes = static_cast<unsigned char*>(array->data());
    for (std::uint32_t i = 0; i < length; ++i) {
        int b = getbyte();
        bytes[i] = static_cast<unsigned char>(b < 0 ? 0 : b);
    }
    return array;
}

int Stream2::readIntInv()
{
    NY_THROW(IO::CannotReadInWriteModeException());
}

unsigned Stream2::readUintInv()
{
    NY_THROW(IO::CannotReadInWriteModeException());
}

bool Stream2::readBoolInv()
{
    NY_THROW(IO::CannotReadInWriteModeException());
}

int Stream2::readByteInv()
{
    NY_THROW(IO::CannotReadInWriteModeException());
}

char16_t Stream2::readCharInv()
{
    NY_THROW(IO::CannotReadInWriteModeException());
}

String* Stream2::readStringInv()
{
    NY_THROW(IO::CannotReadInWriteModeException());
}

Collections::ArrayBase* Stream2::readArrayInv()
{
    NY_THROW(IO::CannotReadInWriteModeException());
}

void Stream2::writeIntTxt(int value)
{
    writeDecimal(value);
}

void Stream2::writeUintTxt(unsigned value)
{
    writeDecimal(value);
}

void Stream2::writeBoolTxt(bool value)
{
    putchar(value ? u'1' : u'0');
}

void Stream2::writeByteTxt(int value)
{
    writeDecimal(value & 0xFF);
}

void Stream2::writeCharTxt(char16_t value)
{
    putchar(value);
}

void Stream2::writeStringTxt(String const* value)
{
    writeDecimal(value ? value->count : 0);
    putchar(u' ');
    append(value);
}

void Stream2::writeArrayTxt(Collections::ArrayBase const* value)
{
    int length = value ? value->length * value->elementSize : 0;
    writeDecimal(length);
    for (int i = 0; i < length; ++i) {
        putchar(u' ');
        writeDecimal(static_cast<unsigned char const*>(value->data())[i]);
    }
}

void Stream2::writeIntBin(int value)
{
    putBytes(static_cast<std::uint32_t>(value), 4);
}

void Stream2::writeUintBin(unsigned value)
{
    putBytes(value, 4);
}

void Stream2::writeBoolBin(bool value)
{
    putbyte(value ? 1 : 0);
}

void Stream2::writeByteBin(int value)
{
    putbyte(value & 0xFF);
}

void Stream2::writeCharBin(char16_t value)
{
    putBytes(value, 2);
}

void Stream2::writeStringBin(String const* value)
{
    int length = value ? value->count : 0;
    putBytes(static_cast<std::uint32_t>(length), 4);
    for (int i = 0; i < length; ++i)
        putBytes(value->units()[i], 2);
}

void Stream2::writeArrayBin(Collections::ArrayBase const* value)
{
    int length = value ? value->length * value->elementSize : 0;
    putBytes(static_cast<std::uint32_t>(length), 4);
    for (int i = 0; i < length; ++i)
        putbyte(static_cast<unsigned char const*>(value->data())[i]);
}

void Stream2::writeIntInv(int)
{
    NY_THROW(IO::CannotWriteInReadModeException());
}

void Stream2::writeUintInv(unsigned)
{
    NY_THROW(IO::CannotWriteInReadModeException());
}

void Stream2::writeBoolInv(bool)
{
    NY_THROW(IO::CannotWriteInReadModeException());
}

void Stream2::writeByteInv(int)
{
    NY_THROW(IO::CannotWriteInReadModeException());
}

void Stream2::writeCharInv(char16_t)
{
    NY_THROW(IO::CannotWriteInReadModeException());
}

void Stream2::writeStringInv(String const*)
{
    NY_THROW(IO::CannotWriteInReadModeException());
}

void Stream2::writeArrayInv(Collections::ArrayBase const*)
{
    NY_THROW(IO::CannotWriteInReadModeException());
}

void Stream2::close() {}

void Stream2::flush() {}

void Stream2::chmode(int) {}

void Stream2::setEOF() {}

void Stream2::putblock() {}

bool Stream2::getblock()
{
    return false;
}

std::int64_t Stream2::seek(std::int64_t, int)
{
    NY_THROW(IO::SeekNotSupportedException());
}

std::int64_t Stream2::get$length()
{
    return count + (position - blockStart);
}

void Stream2::set$length(std::int64_t) {}

Text::TextEncoding::Enum Stream2::get$encoding()
{
    return Text::TextEncoding::Native;
}

void Stream2::set$encoding(Text::TextEncoding::Enum) {}

bool Stream2::get$readable()
{
    return mode == StreamMode::ReadText || mode == StreamMode::ReadBinary;
}

bool Stream2::get$writeable()
{
    return mode == StreamMode::WriteText || mode == StreamMode::WriteBinary;
}

bool Stream2::get$seekable()
{
    return false;
}

}
