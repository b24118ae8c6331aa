// TextBuffer: the growable text builder. The text is kept terminated at all
// times, so get$text() is a valid String whenever it is looked at.
#include "nycore/text/text_buffer.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "nycore/system/exceptions.h"
#include "nycore/system/memory.h"
#include "nycore/system/runtime.h"
#include "nycore/text/integer_formatter.h"
#include "nycore/text/string_functions.h"

namespace NyCore::Text {

namespace {

String* emptyText() { return const_cast<String*>(EmptyString); }

String* allocateBlock(int capacity)
{
    auto* block = static_cast<String*>(memory_alloc(sizeof(String) + sizeof(char16_t) * capacity));
    block->count = 0;
    block->units()[0] = 0;
    return block;
}

}

TextBuffer::TextBuffer() : capacity(0), text(emptyText()) {}

TextBuffer::TextBuffer(String const* s) : capacity(0), text(emptyText())
{
    if (!s)
        return;
    reallocate(s->count + 1);
    append(s);
}

TextBuffer::TextBuffer(int capacity) : capacity(0), text(emptyText())
{
    if (capacity < 0)
        NY_THROW(DimensionSizeException(capacity));
    reallocate(std::max(capacity, 1));
}

TextBuffer::~TextBuffer()
{
    if (text != EmptyString)
        memory_free(text);
}

void TextBuffer::reallocate(int newCapacity)
{
    String* block = allocateBlock(newCapacity);
    int length = std::min(text->count, newCapacity - 1);
    std::memcpy(block->units(), text->units(), sizeof(char16_t) * length);
    block->count = length;
    block->units()[length] = 0;
    if (text != EmptyString)
        memory_free(text);
    text = block;
    capacity = newCapacity;
}

void TextBuffer::grow(int n)
{
    int needed = text->count + n + 1;
    if (capacity >= needed)
        return;
    int newCapacity = capacity < 1 ? 16 : capacity;
    while (newCapacity < needed)
        newCapacity *= 2;
    reallocate(newCapacity);
}

void TextBuffer::insertUnits(int pos, char16_t const* source, int n)
{
    if (n <= 0)
        return;
    // The source may lie inside our own block, which growing frees.
    std::vector<char16_t> own;
    if (source >= text->units() && source < text->units() + capacity) {
        own.assign(source, source + n);
        source = own.data();
    }
    grow(n);
    char16_t* units = text->units();
    std::memmove(units + pos + n, units + pos, sizeof(char16_t) * (text->count - pos));
    std::memcpy(units + pos, source, sizeof(char16_t) * n);
    text->count += n;
    units[text->count] = 0;
}

void TextBuffer::append(char16_t unit)
{
    insertUnits(text->count, &unit, 1);
}

void TextBuffer::append(String const* s)
{
    if (s)
        insertUnits(text->count, s->units(), s->count);
}

void TextBuffer::append(String const* s, int start, int n)
{
    int length = s ? s->count : 0;
    if (n < 0)
        NY_THROW(InvalidParameterException());
    if (start < 0)
        NY_THROW(OutOfBoundsException(start, length));
    if (start + n > length)
        NY_THROW(OutOfBoundsException(start + n, length));
    if (n > 0)
        insertUnits(text->count, s->units() + start, n);
}

void TextBuffer::append(int value, int radix, int minDigits)
{
    IntegerFormatter::applyFormat(this, value, radix, minDigits);
}

void TextBuffer::insert(int pos, char16_t unit)
{
    if (pos < 0 || pos > text->count)
        NY_THROW(OutOfBoundsException(pos, text->count));
    insertUnits(pos, &unit, 1);
}

void TextBuffer::insert(int pos, String const* s)
{
    if (pos < 0 || pos > text->count)
        NY_THROW(OutOfBoundsException(pos, text->count));
    if (s)
        insertUnits(pos, s->units(), s->count);
}

void TextBuffer::remove(int pos, int n)
{
    int length = text->count;
    if (pos < 0 || pos >= length)
        NY_THROW(OutOfBoundsException(pos, length - 1));
    if (n < 0)
        NY_THROW(InvalidParameterException());
    n = std::min(n, length - pos);
    char16_t* units = text->units();
    std::memmove(units + pos, units + pos + n, sizeof(char16_t) * (length - pos - n));
    text->count = length - n;
    units[text->count] = 0;
}

void TextBuffer::reverse()
{
    if (text->count > 0)
        std::reverse(text->units(), text->units() + text->count);
}

void TextBuffer::reverse(int start, int n)
{
    if (n < 0)
        NY_THROW(InvalidParameterException());
    if (start < 0 || start > text->count)
        NY_THROW(OutOfBoundsException(start, text->count - 1));
    n = std::min(n, text->count - start);
    if (n > 0)
        std::reverse(text->units() + start, text->units() + start + n);
}

void TextBuffer::resize(int n)
{
    if (n < 0)
        NY_THROW(DimensionSizeException(n));
    if (n < text->count) {
        text->count = n;
        text->units()[n] = 0;
    } else if (capacity < n + 1) {
        reallocate(n + 1);
    }
}

void TextBuffer::set(String const* s)
{
    // Our own text is already what it should become; resetting first would lose it.
    if (s == text)
        return;
    reset();
    append(s);
}

void TextBuffer::clear()
{
    set(EmptyString);
}

void TextBuffer::reset()
{
    if (capacity > 0) {
        text->count = 0;
        text->units()[0] = 0;
    }
}

String* TextBuffer::abandonString()
{
    String* result = text;
    if (result == EmptyString) {
        result = string_alloc(0);
        result->units()[0] = 0;
    }
    text = emptyText();
    capacity = 0;
    return result;
}

}
