// ObjExporter: a graph file's sampled expressions as a Wavefront OBJ file
// (vexadrome --export). Each exported expression is one object: its samples
// as vertices (and normals), joined the way the renderer draws them.
#pragma once

#include <string>

#include "nycore/text/string.h"
#include "vexadrome/documents/document_host.h"
#include "vexadrome/documents/graph_doc.h"

namespace Vexadrome::Interface {

class ObjExporter {
public:
    // Definitions come from the host's store; problems go to errorFd.
    ObjExporter(Documents::DocumentHost* host, int errorFd) : host(host), errorFd(errorFd) {}

    // Loads the graph, samples its expressions and saves the OBJ file
    // atomically. An unreadable graph or an expression that does not compile
    // is reported with the reason; the other expressions are exported all the
    // same. Returns the exit status: 0 when everything succeeded, else 1.
    int exportFile(NyCore::String const* graphPath, NyCore::String const* objPath);

    // Appends the object of one compiled expression: "o NAME", a "v" per
    // sample, a "vn" per sample when it has normals, then "l" for a curve,
    // "f" quads for a surface or "p" for a point cloud. firstVertex is the
    // OBJ number of its first vertex (OBJ counts from 1 across the file).
    static void appendExpr(std::string* obj, Documents::GraphExpr const* expr, Documents::GraphDoc const* doc,
                           std::int64_t firstVertex);

private:
    void report(NyCore::String const* name, NyCore::String const* problem);

    Documents::DocumentHost* host;
    int errorFd;
};

}
