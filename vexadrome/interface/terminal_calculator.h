// The calculator in a terminal (vexadrome --calc): lines from standard input
// go through the same line handling as the windowed calculator, and the
// transcript goes to standard output.
#pragma once

#include "vexadrome/documents/expr_manager.h"

namespace Vexadrome::Interface {

// Runs until the end of the input; returns the exit status (0).
int runTerminalCalculator(Documents::ExprManager* store, int inputFd, int outputFd);

}
