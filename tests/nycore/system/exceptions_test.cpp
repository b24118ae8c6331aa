// Fatal reports: raised exceptions and hardware faults print the type name
// and message on standard output and end the process with a failure code.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <unistd.h>

#include "nycore/system/exceptions.h"
#include "nycore/system/runtime.h"
#include "tests/support/child_process.h"

using namespace NyCore;

namespace {

struct ReportCase {
    char const* name;
    std::function<void()> raise;
    char const* report;
};

volatile int zero = 0;
volatile std::uintptr_t unmappedAddress = 16;

// The faults are made on purpose; the sanitizers must let them reach the hardware.
__attribute__((no_sanitize("undefined"))) void readUnmapped()
{
    std::printf("%d", *reinterpret_cast<int volatile*>(unmappedAddress));
}

__attribute__((no_sanitize("undefined"))) void writeUnmapped()
{
    *reinterpret_cast<int volatile*>(unmappedAddress) = 1;
}

__attribute__((no_sanitize("undefined"))) void divideByZero()
{
    std::printf("%d", 7 / zero);
}

// Recurses until the stack is exhausted; the compiler cannot know keepRecursing stays true.
volatile bool keepRecursing = true;

__attribute__((noinline)) int recurseDeeply(int depth)
{
    volatile char frame[256];
    frame[0] = static_cast<char>(depth);
    if (!keepRecursing)
        return frame[0];
    return recurseDeeply(depth + 1) + frame[0];
}

void writeStopMarker()
{
    static char const text[] = "stop action ran\n";
    ssize_t written = ::write(1, text, sizeof text - 1);
    (void)written;
}

}

TEST(Exceptions, ReportsOfThrowsAndFaultsNameTheTypeAndMessageAndFail)
{
    ReportCase const cases[] = {
        {"message", [] { NY_THROW(Exception(u"Broken."_str)); }, "unhandeled exception: NyCore.Exception\nBroken.\n"},
        {"no message", [] { NY_THROW(Exception()); }, "unhandeled exception: NyCore.Exception\n(null)\n"},
        {"exists", [] { NY_THROW(IndexAlreadyExistsException(u"Key"_str)); },
         "unhandeled exception: NyCore.IndexAlreadyExistsException\nKey already exists.\n"},
        {"with location", [] { System::Runtime::throwException(new DivideByZeroException(), "system/widget.cpp", 42); },
         "unhandeled exception NyCore.DivideByZeroException\nDivide by zero.\nsystem/widget.cpp(42)\n"},
        // Hardware faults become the same reports.
        {"null read", readUnmapped,
         "unhandeled exception: NyCore.NullReferenceException\nCannot read from a null reference.\n"},
        {"null write", writeUnmapped,
         "unhandeled exception: NyCore.NullReferenceException\nCannot write to a null reference.\n"},
        {"integer division", divideByZero,
         "unhandeled exception: NyCore.DivideByZeroException\nDivide by zero.\n"},
        {"stack overflow", [] { std::printf("%d", recurseDeeply(0)); },
         "unhandeled exception: NyCore.UnknownSystemException\nUnhandled system exception -1073741571.\n"},
        // A harness's stop action runs after the report, even in the fault handler.
        {"stop action", [] { System::Runtime::set$fatalStopAction(writeStopMarker); readUnmapped(); },
         "unhandeled exception: NyCore.NullReferenceException\nCannot read from a null reference.\nstop action ran\n"},
    };
    for (ReportCase const& c : cases) {
        SCOPED_TRACE(c.name);
        TestSupport::expectReport(c.raise, c.report);
    }
}
