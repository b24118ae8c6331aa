// A display for windowed tests: the one named by DISPLAY when it answers,
// otherwise a private Xvfb server started on a free display number and
// stopped when the test program ends.
#pragma once

namespace TestSupport {

// True when a display is available (DISPLAY is then set for this process).
bool ensureDisplay();

}
