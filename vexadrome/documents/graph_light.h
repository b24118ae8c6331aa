// GraphLight: one of the four lights of a graph document, as the renderer
// and the lights dialog see it. The colour is an index into the graph colour
// table, like every colour of a graph document.
#pragma once

#include <cstdint>

namespace Vexadrome::Documents {

struct GraphLight {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    std::int32_t color = 0;
    bool directional = false;
    bool active = false;
};

}
