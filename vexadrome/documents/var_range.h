// VarRange: one graph variable's sampling range. The variable takes res + 1
// values from min to max; tick is kept for the graph view's axes and saved
// with the graph.
#pragma once

#include <cstdint>

namespace Vexadrome::Documents {

struct VarRange {
    double min = -10.0;
    double max = 10.0;
    std::int32_t res = 25;
    std::int32_t tick = 25;
};

}
