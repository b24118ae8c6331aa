// Runs the core's event loop until a condition holds. The time limit (five
// seconds) only guards against a hang; it is never how a test waits.
#pragma once

#include <functional>

namespace TestSupport {

// True when `done` held before the limit.
bool runUntil(std::function<bool()> const& done);

}
