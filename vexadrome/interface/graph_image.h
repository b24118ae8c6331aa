// Graph images: a graph document drawn as the graph view shows it from its
// default camera, into an off-screen OpenGL context that needs no display,
// and saved as a PNG file.
#pragma once

#include <cstdint>
#include <vector>

#include "nycore/text/string.h"
#include "vexadrome/documents/graph_doc.h"
#include "vexadrome/interface/render_graph_gl.h"

namespace Vexadrome::Interface {

namespace GraphImage {

// The largest side of an image; larger sizes are refused.
constexpr int MaxSide = 8192;

// Draws the graph (compiled already) from `camera` into w × h pixels, 0xRRGGBB,
// top row first. False, with the reason in *reason (a new string), when no
// off-screen context can be made.
bool render(Documents::GraphDoc* graph, GraphCamera const& camera, std::vector<std::uint32_t>* pixels,
            NyCore::String** reason);
// The current context's read buffer, w × h, as 0xRRGGBB values top row first.
void readPixels(int w, int h, std::vector<std::uint32_t>* pixels);
// render from the default camera, then the PNG file.
bool save(Documents::GraphDoc* graph, int width, int height, NyCore::String const* path, NyCore::String** reason);

}

}
