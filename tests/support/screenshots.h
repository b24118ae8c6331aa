// Pictures for the documentation taken by the windowed tests: when the
// environment names a folder in VEXADROME_SCREENSHOTS, each call writes
// FOLDER/NAME.png; otherwise it does nothing. The pictures in docs/ are made
// with  VEXADROME_SCREENSHOTS=docs build/bin/test_...
#pragma once

#include "nycore/system/widget.h"

namespace TestSupport {

// The screen from the widget's top-left corner, as large as the widget plus
// `extraWidth` and `extraHeight` (room for pop-ups that hang out of it), after
// the event loop has served what was pending. True when nothing was asked or
// the file was written.
bool saveScreenshot(NyCore::System::Widget* widget, char const* name, int extraWidth = 0, int extraHeight = 0);
// Any top-level X window, another program's too, as it is on the screen.
bool saveScreenshot(unsigned long window, char const* name);

}
