// RenderGraphGL: draws a graph document with fixed-function OpenGL: the
// axes, every drawn expression as a wireframe, a lit or flat filled surface
// or a point cloud, their normals, and the marker of what the user moves.
// It only reads the document's sample arrays; sampling is never part of a frame.
#pragma once

#include <cstdint>
#include <vector>

#include "nycore/graphics/gl_surface.h"
#include "vexadrome/documents/graph_doc.h"

namespace Vexadrome::Interface {

class EquationGraphView;

// What a frame is drawn from besides the document: the picture's size, the
// camera, the axes switch and the thing being moved (0 camera, 1 focus,
// 2 light) with its position in spherical form.
struct GraphCamera {
    int width = 1;
    int height = 1;
    float eye[3] = {0.0f, 0.0f, 20.0f};
    float focus[3] = {0.0f, 0.0f, 0.0f};
    float up[3] = {0.0f, 1.0f, 0.0f};
    bool axesVisible = true;
    int moveMode = 0;
    double moveDistance = 20.0;
    double moveTheta = 0.0;
    double movePhi = 0.0;
};

class RenderGraphGL : public NyCore::Graphics::GLSurface {
    NY_REFLECTIVE(RenderGraphGL)
public:
    // The graph colour table: red, green, blue of each colour index.
    static float const ColorTable[Documents::GraphDoc::ColorCount][3];

    RenderGraphGL() = default;

    // Binds the view and gives its window a double-buffered RGBA surface with a depth buffer.
    void initilize(EquationGraphView* view);
    void bindGraph(Documents::GraphDoc* graph) { this->graph = graph; }
    // One whole frame from the view's camera, presented at once; nothing
    // without a document or a surface.
    void renderAllExprs();
    // The viewport follows the view's size; then a frame.
    using GLSurface::onResize;
    void onResize();

    // Everything of a frame but making the context current and presenting
    // it: the same picture on a window and off screen.
    void drawFrame(GraphCamera const& camera);
    // The state every surface a graph is drawn on starts with, in the current
    // context: the viewport of width x height, depth test, culling, smooth shading.
    static void initState(int width, int height);
    // A frame drawn into the back buffer and read back instead of shown
    // (0xRRGGBB, top row first); false without a document or a surface.
    bool readFrame(std::vector<std::uint32_t>* pixels);

    void renderCoordSystem();
    void renderExpr(Documents::GraphExpr const* expr);
    void renderWire3d(Documents::GraphExpr const* expr);
    void renderFill3d(Documents::GraphExpr const* expr);
    void renderPointField(Documents::GraphExpr const* expr);
    void renderNormals(Documents::GraphExpr const* expr, double length, std::int32_t color);
    void renderPosSelecter(GraphCamera const& camera);
    void setupLighting();
    void enableLights();
    void disableLights();
    void setMaterial(Documents::GraphExpr const* expr);
    // Lighting component 0 ambient, 1 diffuse, 2 specular of a material in a colour.
    static void fillColorCompVec(int component, std::int32_t color, std::int32_t material, float out[4]);
    static void glColorByIndex(std::int32_t color);
    // The res of variable i, 0 when the graph has no variable i.
    int getVarRes(int i) const;

private:
    EquationGraphView* view = nullptr;
    Documents::GraphDoc* graph = nullptr;
    std::vector<std::uint32_t> stripIndices;
};

}
