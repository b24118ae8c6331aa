// The desktop clipboard for text: the X CLIPBOARD selection, owned by one of
// the process's widgets or read from whichever program owns it. Text editors
// copy and paste through these two functions.
#pragma once

#include "nycore/text/string.h"

namespace NyCore::System {

class Widget;

// Makes the process own the clipboard with a copy of `text` (null counts as
// empty), answered through `owner`'s window; false when the X server gave the
// ownership to someone else at once. An owner without a window is a fatal
// ERROR_CLIPBOARD_WRITE.
bool clipboard_set_text(Widget* owner, String const* text);
// A new String with the clipboard's text, or null when the clipboard is empty,
// its owner does not answer in time, or offers no text (texts that come in
// increments, for very large selections, are refused). A requester without a
// window is a fatal ERROR_CLIPBOARD_READ.
String* clipboard_get_text(Widget* requester);

}
