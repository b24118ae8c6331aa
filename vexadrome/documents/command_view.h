// CommandView: what a command document needs of the view that shows it: the
// live script text, the selection, and message boxes. The windowed program
// implements it over the command text view; batch runs and tests implement it
// without any window.
#pragma once

#include "nycore/text/string.h"

namespace Vexadrome::Documents {

class CommandView {
public:
    // What a message box tells, so that a view without boxes can route it.
    enum class MessageKind {
        Value,    // the value of an evaluated expression
        Failure,  // the message of a failing command
        Completed,  // the whole script ran
    };

    virtual ~CommandView() = default;

    // The script as the view holds it now; borrowed, valid until the text changes.
    virtual NyCore::String const* get$text() const = 0;
    virtual void set$text(NyCore::String const* text) = 0;
    // Selects `length` characters from `start`, counted in the whole script.
    virtual void setSelection(int start, int length) = 0;
    // A message box over the view with one "OK" button; returns when it is closed.
    virtual void showMessage(NyCore::String const* caption, NyCore::String const* text, MessageKind kind) = 0;
};

}
