// Hardware faults become the same fatal reports as raised exceptions. The
// reports are rendered at start-up, so that the signal handler itself only
// writes bytes and exits: it may run on a broken heap or an exhausted stack.
#include "nycore/system/fault_handler.h"

#include <pthread.h>
#include <signal.h>
#include <ucontext.h>
#include <unistd.h>

#include <cstdint>

#include "nycore/system/console.h"
#include "nycore/system/memory.h"
#include "nycore/system/runtime.h"
#include "nycore/text/string_functions.h"

namespace NyCore::System {

namespace {

// Codes of the faults that have no exception class of their own, as the
// system reports them in UnknownSystemException.
constexpr unsigned StackOverflowCode = 0xC00000FD;
constexpr unsigned InPageErrorCode = 0xC0000006;
constexpr unsigned IntegerOverflowCode = 0xC0000095;
constexpr unsigned FloatInvalidCode = 0xC0000090;

enum Fault { ReadFault, WriteFault, DivideFault, StackOverflowFault, BusFault, OverflowFault, FloatFault, FaultCount };

struct Report {
    char* text;
    int length;
};

Report reports[FaultCount];
std::uintptr_t stackLow = 0;
std::uintptr_t stackHigh = 0;
constexpr std::size_t AlternateStackSize = 64 * 1024;
// Kept here as well as in the kernel, so that leak checkers see it in use.
void* alternateStack = nullptr;

void prepare(Fault fault, Exception* e)
{
    String* text = renderExceptionReport(e, nullptr, 0);
    reports[fault].text = string_to_utf8(text, &reports[fault].length);
    string_free(text);
    delete e;
}

void prepareReports()
{
    prepare(ReadFault, new NullReferenceException(false));
    prepare(WriteFault, new NullReferenceException(true));
    prepare(DivideFault, new DivideByZeroException());
    prepare(StackOverflowFault, new UnknownSystemException(StackOverflowCode));
    prepare(BusFault, new UnknownSystemException(InPageErrorCode));
    prepare(OverflowFault, new UnknownSystemException(IntegerOverflowCode));
    prepare(FloatFault, new UnknownSystemException(FloatInvalidCode));
}

void findMainStack()
{
    pthread_attr_t attributes;
    if (pthread_getattr_np(pthread_self(), &attributes) != 0)
        return;
    void* address = nullptr;
    std::size_t size = 0;
    if (pthread_attr_getstack(&attributes, &address, &size) == 0) {
        stackLow = reinterpret_cast<std::uintptr_t>(address);
        stackHigh = stackLow + size;
    }
    pthread_attr_destroy(&attributes);
}

bool isStackOverflow(void* faultAddress)
{
    auto address = reinterpret_cast<std::uintptr_t>(faultAddress);
    constexpr std::uintptr_t GuardReach = 1024 * 1024;
    return stackLow != 0 && address < stackHigh && address + GuardReach >= stackLow && address < stackLow + 4096;
}

bool isWriteFault(void* context)
{
#if defined(__x86_64__)
    auto* machine = static_cast<ucontext_t*>(context);
    return (machine->uc_mcontext.gregs[REG_ERR] & 2) != 0;
#else
    (void)context;
    return false;
#endif
}

Fault classify(int signal, siginfo_t* info, void* context)
{
    if (signal == SIGSEGV)
        return isStackOverflow(info ? info->si_addr : nullptr) ? StackOverflowFault
                                                                : (isWriteFault(context) ? WriteFault : ReadFault);
    if (signal == SIGBUS)
        return BusFault;
    if (info && info->si_code == FPE_INTDIV)
        return DivideFault;
    if (info && info->si_code == FPE_INTOVF)
        return OverflowFault;
    return FloatFault;
}

void onFault(int signal, siginfo_t* info, void* context)
{
    Runtime::handleWindowsException(signal, info, context);
}

}

void installFaultHandlers()
{
    prepareReports();
    findMainStack();

    stack_t alternate = {};
    if (!alternateStack)
        alternateStack = memory_alloc(AlternateStackSize);
    alternate.ss_sp = alternateStack;
    alternate.ss_size = AlternateStackSize;
    sigaltstack(&alternate, nullptr);

    struct sigaction action = {};
    action.sa_sigaction = onFault;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    sigaction(SIGSEGV, &action, nullptr);
    sigaction(SIGBUS, &action, nullptr);
    sigaction(SIGFPE, &action, nullptr);
}

void Runtime::handleWindowsException(int signal, siginfo_t* info, void* context)
{
    Report const& report = reports[classify(signal, info, context)];
    console_write_bytes(1, report.text, report.length);
    fatalStop();
}

}
