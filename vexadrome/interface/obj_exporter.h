// ObjExporter: a graph file's sampled expressions as a Wavefront OBJ file
// (vexadrome --export), or its picture as a PNG file (vexadrome --render).
// Each exported expression is one object: its finite samples as vertices
// (and normals), joined the way the renderer draws them.
#pragma once

#include <cstdint>

#include "nycore/text/string.h"
#include "vexadrome/documents/document_host.h"
#include "vexadrome/documents/graph_doc.h"

namespace Vexadrome::Interface {

class ObjExporter {
public:
    // Definitions come from the host's store; problems go to errorFd.
    ObjExporter(Documents::DocumentHost* host, int errorFd) : host(host), errorFd(errorFd) {}

    // Loads the graph, compiles and samples its expressions once and saves
    // the OBJ file atomically, writing it as it is produced. An unreadable
    // graph or an expression that does not compile is reported with the
    // reason; the other expressions are exported all the same. Returns the
    // exit status: 0 when everything succeeded, else 1.
    //
    // An object is "o NAME", a "v" per finite sample, a "vn" for each of them
    // when the expression has normals, then "l" for a curve, "f" quads for a
    // surface or "p" for a point cloud, none of them using a sample that is
    // not finite (OBJ numbers vertices from 1 across the file).
    int exportFile(NyCore::String const* graphPath, NyCore::String const* objPath);
    // Loads and compiles the graph as exportFile does, then draws what the
    // graph view shows from its default camera into a width x height PNG
    // file, off screen: no display is needed. Returns the exit status.
    int renderImage(NyCore::String const* graphPath, NyCore::String const* pngPath, int width, int height);

private:
    // The graph of the file with its expressions compiled and sampled, or
    // null; every problem is reported, and *status becomes 1 for each.
    Documents::GraphDoc* loadGraph(NyCore::String const* graphPath, int* status);
    void report(NyCore::String const* name, NyCore::String const* problem);

    Documents::DocumentHost* host;
    int errorFd;
};

}
