// Runtime: start-up and shut-down of the core (counted: only the first
// initilize and the shutdown that reaches zero do work), the command line,
// and the fatal reports of exceptions and hardware faults.
#pragma once

#include <csignal>

#include "nycore/collection/array.h"
#include "nycore/system/exceptions.h"

namespace NyCore::System {

// The exit code of every fatal stop: a fatal report never looks like success.
constexpr int FatalExitCode = 70;

class Runtime {
public:
    // The first call sets the runtime up; returns the new count.
    static int initilize();
    // Counts down; the call that reaches 0 tears down. Returns the new count.
    static int shutdown();
    static int get$count();

    // The process arguments as an array of new Strings, the program's own name first.
    static Collections::Array<String*>* getArguments();
    // Splits one command-line text at white space, honouring double quotes.
    static Collections::Array<String*>* splitArguments(char16_t const* text, int length);
    static int countArguments(char16_t const* text, int length);

    // Writes "unhandeled exception: TYPE\nMESSAGE\n" and ends the process.
    [[noreturn]] static void throwException(Exception* e);
    // The same with the source location: "unhandeled exception TYPE\nMESSAGE\nFILE(LINE)\n".
    [[noreturn]] static void throwException(Exception* e, char const* sourceFile, int line);
    // Turns a hardware fault (SIGSEGV, SIGBUS, SIGFPE) into the matching report.
    [[noreturn]] static void handleWindowsException(int signal, siginfo_t* info, void* context);

    // Ends the process after a fatal report with FatalExitCode; every fatal
    // stop goes through here, a signal handler's too.
    [[noreturn]] static void fatalStop();
    // An action run by fatalStop before the exit, for a harness that must see
    // the stop as a crash (a fuzzer aborts, so that it keeps the input).
    static void set$fatalStopAction(void (*action)());
};

// The start code of a program: initilize, getArguments, rdmain, shutdown;
// returns rdmain's result as the exit code.
int runProgram(int (*rdmain)(Collections::Array<String*>* arguments));

}
