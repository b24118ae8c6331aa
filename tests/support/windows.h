// Shared pieces of the windowed tests: mapped top-level windows, window
// properties and XTest input (the fixture is in xvfb.h, read-back in pixels.h).
#pragma once

#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "nycore/system/type.h"
#include "nycore/system/widget.h"
#include "tests/support/pixels.h"
#include "tests/support/xvfb.h"

namespace TestSupport {

Display* display();
void registerOnce(NyCore::TypeData* record);
// The widget's window is mapped and viewable.
bool mapped(NyCore::System::Widget* widget);
// A top-level widget of `className` at (x, y), waited for until it is mapped.
NyCore::System::Widget* topWindow(int w, int h, char16_t const* className = u"NyCore.System.Widget", int x = 40,
                                  int y = 40);
// A bare override-redirect X window filled with `background`, mapped and
// exposed (so it can be drawn on); destroy it with XDestroyWindow.
::Window bareWindow(int w, int h, std::uint32_t background);
// The text of an 8-bit window property, "<none>" when it is not set.
std::string windowProperty(::Window window, char const* name);

// XTest input; the pointer goes to (x, y) of the widget.
void pointerTo(NyCore::System::Widget* widget, int x, int y);
void key(KeySym sym, bool down);
void tap(KeySym sym);
// ASCII text as key strokes, Shift held where a character needs it; '\n' is
// Enter and '\t' Tab. The keys are only sent: an event loop delivers them.
void typeKeys(std::string const& text);
void click(unsigned button = 1);

}
