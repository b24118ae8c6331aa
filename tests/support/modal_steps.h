// Driving modal windows in windowed tests: the code under test opens its
// dialog (whose own loop runs inside the test's), and the steps, each waiting
// for the state the one before leads to, give the real input from inside it.
// Past a time limit the test's give-up action ends what is open, so that a
// failure never hangs the program.
#pragma once

#include <X11/Xlib.h>

#include <functional>
#include <vector>

#include "nycore/system/time.h"
#include "tests/support/run_until.h"
#include "tests/support/windows.h"

namespace TestSupport {

struct ModalStep {
    std::function<bool()> ready;
    std::function<void()> act;
};

// Calls `open` from the event loop and plays the steps meanwhile. True when
// every step was played and `open` returned without giving up; `played`
// tells how many steps were.
inline bool playModal(std::function<void()> const& open, std::vector<ModalStep> const& steps,
                      std::function<void()> const& giveUp, std::size_t* played = nullptr)
{
    bool ended = false, gaveUp = false;
    std::size_t looks = 0, next = 0;
    std::uint32_t const limit = NyCore::System::Time::getTickCount() + 10000;
    runUntil([&] {
        // The first look comes before runUntil's loop runs; the dialog opens
        // inside the second, and the looks from its own loop play the steps.
        if (++looks == 2) {
            open();
            ended = true;
        }
        while (looks > 2 && !gaveUp && next < steps.size() && steps[next].ready()) {
            steps[next++].act();
            XSync(display(), False);
        }
        // Past the limit every look ends what is open, dialogs opened meanwhile too.
        if (static_cast<std::int32_t>(NyCore::System::Time::getTickCount() - limit) > 0) {
            gaveUp = true;
            giveUp();
        }
        return ended;
    });
    if (played)
        *played = next;
    return ended && !gaveUp && next == steps.size();
}

}
