// Other programs on the clipboard: a reader over a second X connection of
// this process, and an owner in a forked process with its own connection.
#pragma once

#include <X11/Xlib.h>
#include <sys/types.h>

#include <string>

namespace TestSupport {

// Reads the CLIPBOARD selection as another program would; the core's event
// loop runs (and answers) while it waits for the reply.
class ClipboardReader {
public:
    ClipboardReader();
    ~ClipboardReader();
    ClipboardReader(ClipboardReader const&) = delete;
    ClipboardReader& operator=(ClipboardReader const&) = delete;

    // The converted bytes (atom names each followed by a space for 32-bit
    // data), "<refused>" when the owner declined the target.
    std::string read(char const* targetName, Atom* type);
    // The same, for a caller that asks again while the owner may still be
    // busy: an owner that does not answer is no failure, and *answered says so.
    std::string tryRead(char const* targetName, Atom* type, bool* answered);

    Display* display;

private:
    ::Window window;
    Atom clipboard;
    Atom property;
};

enum class Offer { Utf8, Latin1Only, Nothing, InPieces };

// Owns the clipboard with `text` in a child process until destroyed.
class ClipboardOwner {
public:
    ClipboardOwner(std::string const& text, Offer offer);
    ~ClipboardOwner();
    ClipboardOwner(ClipboardOwner const&) = delete;
    ClipboardOwner& operator=(ClipboardOwner const&) = delete;

    bool owning = false;  // the child owns the selection

private:
    pid_t child = 0;
    int quit = -1;
};

}
