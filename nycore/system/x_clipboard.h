// The X side of the clipboard, for the widget layer's event dispatch only.
#pragma once

#include <X11/Xlib.h>

namespace NyCore::System {

// Handles SelectionRequest, SelectionNotify and SelectionClear events.
void clipboard_handle_event(XEvent* event);

}
