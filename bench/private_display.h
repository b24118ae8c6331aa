// The benchmarks' display: the one DISPLAY names when it answers, otherwise
// a private Xvfb that this process starts and stops.
#pragma once

namespace Bench {

// True when a display answers (DISPLAY is then set for this process).
bool ensureDisplay();
// Stops the private server, when one was started.
void stopDisplay();

}
