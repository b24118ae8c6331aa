// TextBuffer: the growable text builder behind all formatting. It owns one
// String block that it grows by doubling; abandonString hands that block to
// the caller and leaves the buffer empty again.
#pragma once

#include "nycore/text/char_writer.h"

namespace NyCore::Text {

class TextBuffer : public CharWriter {
public:
    TextBuffer();
    explicit TextBuffer(String const* s);
    explicit TextBuffer(int capacity);
    TextBuffer(TextBuffer const&) = delete;
    TextBuffer& operator=(TextBuffer const&) = delete;
    ~TextBuffer() override;

    void append(char16_t unit) override;
    void append(String const* s) override;
    void append(String const* s, int start, int n);
    // The number in that radix, zero-padded to minDigits units (after any '-').
    void append(int value, int radix, int minDigits);

    void insert(int pos, char16_t unit);
    void insert(int pos, String const* s);
    void remove(int pos, int n);
    void reverse();
    void reverse(int start, int n);
    // Below the length cuts the text; above it only reserves room.
    void resize(int n);
    void set(String const* s);
    void clear();
    // Length 0, room kept.
    void reset();

    // The text as a new String owned by the caller; the buffer is empty afterwards.
    String* abandonString();

    int get$length() const { return text->count; }
    // Room in units, the terminator included; 0 while the buffer holds no text of its own.
    int get$capacity() const { return capacity; }
    String const* get$text() const { return text; }
    char16_t const* units() const { return text->units(); }

protected:
    // Makes room for n more units (and the terminator) by the doubling rule.
    void grow(int n);
    // Replaces the block by one of newCapacity units, keeping the text.
    void reallocate(int newCapacity);
    void insertUnits(int pos, char16_t const* source, int n);

    int capacity;
    // EmptyString (never written or freed) or a block of `capacity` units owned by the buffer.
    String* text;
};

}
