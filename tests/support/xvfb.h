// A display for windowed tests: the one named by DISPLAY when it answers,
// otherwise a private Xvfb server started on a free display number and
// stopped when the test program ends. No Xlib header is included here, so
// that drawing tests keep the core's GC name.
#pragma once

#include <gtest/gtest.h>

namespace TestSupport {

// True when a display is available (DISPLAY is then set for this process).
bool ensureDisplay();

class WindowTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(ensureDisplay()) << "no X display and no Xvfb to start"; }
};

}
