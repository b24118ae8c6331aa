// Stream2: the buffered stream of the object layer. A CharWriter that collects
// UTF-16 units or bytes in a buffer its subclass supplies and hands each full
// block to the subclass's putblock (reading: asks getblock for the next one).
#pragma once

#include <cstdint>
#include <type_traits>

#include "nycore/collection/array.h"
#include "nycore/io/text_encoding.h"
#include "nycore/system/object.h"
#include "nycore/text/char_writer.h"
#include "nycore/text/parameter_list_formatter.h"

namespace NyCore::IO {

struct StreamMode {
    enum Enum { ReadText = 0, WriteText = 1, ReadBinary = 2, WriteBinary = 3 };
};

class Stream2 : public Text::CharWriter {
public:
    // The typed operations of one direction in one encoding. Text variants use
    // decimal text: numbers as digits (reads skip white space first), a bool as
    // 1 or 0, a character as itself, a string as its length, a space and its
    // units, a byte array as its length and each byte behind a space. Binary
    // variants use little-endian bytes: 4 for numbers, 1 for bools and bytes,
    // 2 for characters, and a 4-byte count before the units or bytes.
    struct ReadOperations {
        int (Stream2::*readInt)();
        unsigned (Stream2::*readUint)();
        bool (Stream2::*readBool)();
        int (Stream2::*readByte)();
        char16_t (Stream2::*readChar)();
        String* (Stream2::*readString)();
        Collections::ArrayBase* (Stream2::*readArray)();
    };
    struct WriteOperations {
        void (Stream2::*writeInt)(int value);
        void (Stream2::*writeUint)(unsigned value);
        void (Stream2::*writeBool)(bool value);
        void (Stream2::*writeByte)(int value);
        void (Stream2::*writeChar)(char16_t value);
        void (Stream2::*writeString)(String const* value);
        void (Stream2::*writeArray)(Collections::ArrayBase const* value);
    };

    Stream2();
    ~Stream2() override = default;
    Stream2(Stream2 const&) = delete;
    Stream2& operator=(Stream2 const&) = delete;

    // The buffer is size bytes from base + offset; position and block start go to its start.
    void setBuffer(void* base, int offset, int size);

    StreamMode::Enum get$mode() const { return mode; }
    // chmode, then the mode and its typed tables; a value outside 0 to 3 is a fatal InvalidParameterException.
    void set$mode(int newMode);

    void putbyte(int b);
    void putchar(char16_t unit);
    void putchar(char16_t unit, int n);
    void append(char16_t unit) override;
    void append(String const* text) override;
    // The next byte, or -1 at the end of input.
    int getbyte();
    // The next unit sign-extended, or -1 at the end of input.
    int getchar();

    // format with its "{0}"-style fields filled from the arguments.
    template <typename... Args>
        requires(std::is_base_of_v<Object, Args> && ...)
    void put(String const* format, Args*... args)
    {
        Object* list[] = {static_cast<Object*>(args)..., nullptr};
        put(format, static_cast<Text::ParameterListFormatter::ParameterList>(list));
    }
    void put(String const* format, Text::ParameterListFormatter::ParameterList parameters);
    // put, then the line feed (unit 10).
    template <typename... Args>
        requires(std::is_base_of_v<Object, Args> && ...)
    void putline(String const* format, Args*... args)
    {
        put(format, args...);
        putchar(u'\n');
    }
    void putline(String const* format, Text::ParameterListFormatter::ParameterList parameters);

    // Counts the block, moves the position back to the block start and calls putblock.
    void wrblock();
    // Counts what was consumed and asks getblock for more.
    bool rdblock();

    int readInt() { return (this->*readOperations->readInt)(); }
    unsigned readUint() { return (this->*readOperations->readUint)(); }
    bool readBool() { return (this->*readOperations->readBool)(); }
    int readByte() { return (this->*readOperations->readByte)(); }
    char16_t readChar() { return (this->*readOperations->readChar)(); }
    String* readString() { return (this->*readOperations->readString)(); }
    Collections::ArrayBase* readArray() { return (this->*readOperations->readArray)(); }
    void writeInt(int value) { (this->*writeOperations->writeInt)(value); }
    void writeUint(unsigned value) { (this->*writeOperations->writeUint)(value); }
    void writeBool(bool value) { (this->*writeOperations->writeBool)(value); }
    void writeByte(int value) { (this->*writeOperations->writeByte)(value); }
    void writeChar(char16_t value) { (this->*writeOperations->writeChar)(value); }
    void writeString(String const* value) { (this->*writeOperations->writeString)(value); }
    void writeArray(Collections::ArrayBase const* value) { (this->*writeOperations->writeArray)(value); }

    int readIntTxt();
    unsigned readUintTxt();
    bool readBoolTxt();
    int readByteTxt();
    char16_t readCharTxt();
    String* readStringTxt();
    Collections::ArrayBase* readArrayTxt();
    int readIntBin();
    unsigned readUintBin();
    bool readBoolBin();
    int readByteBin();
    char16_t readCharBin();
    String* readStringBin();
    Collections::ArrayBase* readArrayBin();
    [[noreturn]] int readIntInv();
    [[noreturn]] unsigned readUintInv();
    [[noreturn]] bool readBoolInv();
    [[noreturn]] int readByteInv();
    [[noreturn]] char16_t readCharInv();
    [[noreturn]] String* readStringInv();
    [[noreturn]] Collections::ArrayBase* readArrayInv();

    void writeIntTxt(int value);
    void writeUintTxt(unsigned value);
    void writeBoolTxt(bool value);
    void writeByteTxt(int value);
    void writeCharTxt(char16_t value);
    void writeStringTxt(String const* value);
    void writeArrayTxt(Collections::ArrayBase const* value);
    void writeIntBin(int value);
    void writeUintBin(unsigned value);
    void writeBoolBin(bool value);
    void writeByteBin(int value);
    void writeCharBin(char16_t value);
    void writeStringBin(String const* value);
    void writeArrayBin(Collections::ArrayBase const* value);
    [[noreturn]] void writeIntInv(int value);
    [[noreturn]] void writeUintInv(unsigned value);
    [[noreturn]] void writeBoolInv(bool value);
    [[noreturn]] void writeByteInv(int value);
    [[noreturn]] void writeCharInv(char16_t value);
    [[noreturn]] void writeStringInv(String const* value);
    [[noreturn]] void writeArrayInv(Collections::ArrayBase const* value);

    virtual void close();
    virtual void flush();
    virtual void chmode(int newMode);
    virtual void setEOF();
    virtual void putblock();
    virtual bool getblock();
    // A fatal SeekNotSupportedException unless a subclass can seek.
    virtual std::int64_t seek(std::int64_t offset, int origin);
    // Bytes written or read so far.
    virtual std::int64_t get$length();
    virtual void set$length(std::int64_t length);
    virtual Text::TextEncoding::Enum get$encoding();
    virtual void set$encoding(Text::TextEncoding::Enum encoding);
    virtual bool get$readable();
    virtual bool get$writeable();
    virtual bool get$seekable();

protected:
    StreamMode::Enum mode;
    ReadOperations const* readOperations;
    WriteOperations const* writeOperations;
    unsigned char* base;
    unsigned char* position;
    unsigned char* blockStart;
    unsigned char* end;
    // The bytes that earlier blocks held: the stream position of the block start.
    std::int64_t count;

private:
    // The next unit without taking it, or -1 at the end of input.
    int peekchar();
    // Digits of an unsigned number behind optional white space (and sign).
    std::int64_t readDecimal(bool allowSign);
    void writeDecimal(std::int64_t value);
    void putBytes(std::uint32_t value, int n);
    std::uint32_t getBytes(int n);
};

}
