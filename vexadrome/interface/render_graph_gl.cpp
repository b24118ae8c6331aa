// The graph renderer: projection and camera, lights and materials, and the
// drawing of each expression from its sample arrays. Samples that are not
// finite (a pole, a square root of a negative number) are left out: line
// strips and quad strips break there, and no point or normal is drawn there.
#include "vexadrome/interface/render_graph_gl.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <vector>

#include "vexadrome/interface/equation_graph_view.h"
#include "vexadrome/interface/graph_image.h"

namespace Vexadrome::Interface {

using Documents::GraphExpr;

namespace {

constexpr double Pi = 3.14159265358979323846;

// Ambient, diffuse and specular of the lit materials: scale × colour + offset
// per channel, then the shininess.
struct MaterialRow {
    double scale[3];
    double offset[3];
    float shininess;
};
MaterialRow const Materials[] = {
    {{0.4, 0.5, 0.0}, {0.0, 0.0, 0.5}, 64.0f},   // plastic
    {{0.4, 0.5, 0.0}, {0.0, 0.0, 0.5}, 128.0f},  // metal
    {{0.4, 0.5, 0.0}, {0.0, 0.0, 0.5}, 20.0f},   // rubber
};

struct Axis {
    double direction[3];
    float color[3];
};
Axis const Axes[] = {
    {{1.0, 0.0, 0.0}, {0.5f, 0.0f, 0.0f}},
    {{0.0, 1.0, 0.0}, {0.0f, 0.5f, 0.0f}},
    {{0.0, 0.0, 1.0}, {0.0f, 0.0f, 0.5f}},
};

// A colour index outside the table shows as colour 0.
float const* tableColor(std::int32_t index)
{
    if (index < 0 || index >= Documents::GraphDoc::ColorCount)
        index = 0;
    return RenderGraphGL::ColorTable[index];
}

bool finite3(double const* p)
{
    return std::isfinite(p[0]) && std::isfinite(p[1]) && std::isfinite(p[2]);
}

// Line strips through a run of samples, broken wherever a sample is not finite.
class BrokenStrip {
public:
    explicit BrokenStrip(GLenum mode) : mode(mode) {}
    ~BrokenStrip() { end(); }
    void vertex(double const* p)
    {
        if (!finite3(p)) {
            end();
            return;
        }
        if (!open) {
            glBegin(mode);
            open = true;
        }
        glVertex3dv(p);
    }
    void end()
    {
        if (open)
            glEnd();
        open = false;
    }

private:
    GLenum mode;
    bool open = false;
};

}

NyCore::TypeData RenderGraphGL::MetaData = {&NyCore::Graphics::GLSurface::MetaData, nullptr,
                                            u"Vexadrome.Interface.RenderGraphGL"_str, NyCore::NoMethods,
                                            NyCore::NoEvents, nullptr, sizeof(RenderGraphGL), 0, nullptr};

float const RenderGraphGL::ColorTable[Documents::GraphDoc::ColorCount][3] = {
    {0.75f, 0.75f, 0.75f},         {0.996094f, 0.0f, 0.0f},      {0.996094f, 0.996094f, 0.0f},
    {0.0f, 0.996094f, 0.0f},       {0.0f, 0.996094f, 0.996094f}, {0.0f, 0.0f, 0.996094f},
    {0.996094f, 0.0f, 0.996094f},  {0.875f, 0.875f, 0.5f},       {0.0f, 0.875f, 0.5f},
    {0.648438f, 0.789063f, 0.9375f}, {0.5f, 0.5f, 0.75f},        {0.875f, 0.0f, 0.5f},
    {0.875f, 0.5f, 0.25f},         {0.0f, 0.0f, 0.0f},           {1.0f, 1.0f, 1.0f},
};

void RenderGraphGL::initilize(EquationGraphView* owner)
{
    view = owner;
    GLInitilize params = {};
    params.colorBits = 16;
    params.depthBits = 16;
    params.doubleBuffer = 1;
    GLSurface::initilize(owner, &params);
    activate();
    initState(owner->get$width(), owner->get$height());
    deactivate();
}

void RenderGraphGL::initState(int width, int height)
{
    glViewport(0, 0, width, height);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glShadeModel(GL_SMOOTH);
}

void RenderGraphGL::renderAllExprs()
{
    if (!graph || !view || !get$deviceContext())
        return;
    activate();
    drawFrame(view->get$camera());
    swapBuffers();
    deactivate();
}

bool RenderGraphGL::readFrame(std::vector<std::uint32_t>* pixels)
{
    if (!graph || !view || !get$deviceContext())
        return false;
    GraphCamera const camera = view->get$camera();
    activate();
    drawFrame(camera);
    glReadBuffer(GL_BACK);
    GraphImage::readPixels(camera.width, camera.height, pixels);
    deactivate();
    return true;
}

void RenderGraphGL::onResize()
{
    if (!view || !get$deviceContext())
        return;
    activate();
    glViewport(0, 0, view->get$width(), view->get$height());
    deactivate();
    renderAllExprs();
}

void RenderGraphGL::drawFrame(GraphCamera const& camera)
{
    // The projection alone on its matrix; the camera on the model-view
    // matrix, so that lighting sees the viewer where the eye is and the
    // lights, set after it, stay put in graph coordinates.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    double const aspect = static_cast<double>(camera.width) / static_cast<double>(camera.height > 0 ? camera.height : 1);
    gluPerspective(graph->fovAngle, aspect, graph->nearPlane, graph->farPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(camera.eye[0], camera.eye[1], camera.eye[2], camera.focus[0], camera.focus[1], camera.focus[2],
              camera.up[0], camera.up[1], camera.up[2]);

    float const* background = tableColor(graph->background);
    glClearColor(background[0], background[1], background[2], 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    setupLighting();
    if (camera.axesVisible)
        renderCoordSystem();
    for (int i = 0; i < graph->get$exprCount(); ++i) {
        GraphExpr const* expr = graph->getExpr(i);
        if (expr->active && expr->points)
            renderExpr(expr);
    }
    if (camera.moveMode != 0)
        renderPosSelecter(camera);
}

void RenderGraphGL::setupLighting()
{
    for (int i = 0; i < Documents::GraphDoc::LightCount; ++i) {
        Documents::GraphLight const& light = graph->lights[i];
        if (!light.active)
            continue;
        float const* color = tableColor(light.color);
        float const diffuse[4] = {color[0], color[1], color[2], 1.0f};
        float const position[4] = {light.x, light.y, light.z, light.directional ? 0.0f : 1.0f};
        glLightfv(GL_LIGHT0 + i, GL_DIFFUSE, diffuse);
        glLightfv(GL_LIGHT0 + i, GL_POSITION, position);
    }
}

void RenderGraphGL::enableLights()
{
    glEnable(GL_LIGHTING);
    for (int i = 0; i < Documents::GraphDoc::LightCount; ++i) {
        if (graph->lights[i].active)
            glEnable(GL_LIGHT0 + i);
        else
            glDisable(GL_LIGHT0 + i);
    }
}

void RenderGraphGL::disableLights()
{
    for (int i = 0; i < Documents::GraphDoc::LightCount; ++i)
        glDisable(GL_LIGHT0 + i);
    glDisable(GL_LIGHTING);
}

void RenderGraphGL::fillColorCompVec(int component, std::int32_t color, std::int32_t material, float out[4])
{
    float const* c = tableColor(color);
    if (material < 0 || material >= static_cast<int>(sizeof Materials / sizeof Materials[0]) || component < 0 ||
        component > 2) {
        out[0] = c[0], out[1] = c[1], out[2] = c[2], out[3] = 0.0f;
        return;
    }
    MaterialRow const& row = Materials[material];
    for (int k = 0; k < 3; ++k)
        out[k] = static_cast<float>(row.scale[component] * c[k] + row.offset[component]);
    out[3] = 0.0f;
}

void RenderGraphGL::setMaterial(GraphExpr const* expr)
{
    int const material = expr->material >= 0 && expr->material < 3 ? expr->material : 0;
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, Materials[material].shininess);
    GLenum const components[] = {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR};
    for (int k = 0; k < 3; ++k) {
        float vector[4];
        fillColorCompVec(k, expr->color, material, vector);
        glMaterialfv(GL_FRONT_AND_BACK, components[k], vector);
    }
}

void RenderGraphGL::glColorByIndex(std::int32_t color)
{
    glColor3fv(tableColor(color));
}

int RenderGraphGL::getVarRes(int i) const
{
    return graph && i < graph->get$varCount() ? graph->getRange(i)->res : 0;
}

void RenderGraphGL::renderCoordSystem()
{
    double const length = graph->axesLength;
    glBegin(GL_LINES);
    for (Axis const& axis : Axes) {
        glColor3fv(axis.color);
        glVertex3d(-length * axis.direction[0], -length * axis.direction[1], -length * axis.direction[2]);
        glVertex3d(length * axis.direction[0], length * axis.direction[1], length * axis.direction[2]);
    }
    glEnd();
}

void RenderGraphGL::renderExpr(GraphExpr const* expr)
{
    int const n = graph->get$varCount();
    if (n == 2 && expr->rendMode == Documents::ExprRendMode::Filled)
        renderFill3d(expr);
    else if (n <= 2 && expr->rendMode != Documents::ExprRendMode::Points)
        renderWire3d(expr);
    else
        renderPointField(expr);
    if (n <= 2 && expr->normalLength > 0.0 && expr->normals) {
        renderNormals(expr, expr->normalLength, expr->normalPColor);
        renderNormals(expr, -expr->normalLength, expr->normalNColor);
    }
}

void RenderGraphGL::renderWire3d(GraphExpr const* expr)
{
    int const r0 = getVarRes(0), r1 = getVarRes(1);
    double const* points = expr->points;
    glColorByIndex(expr->color);
    BrokenStrip strip(GL_LINE_STRIP);
    for (int j = 0; j <= r1; ++j) {
        for (int i = 0; i <= r0; ++i)
            strip.vertex(points + 3 * (j * (r0 + 1) + i));
        strip.end();
    }
    for (int i = 0; i <= r0; ++i) {
        for (int j = 0; j <= r1; ++j)
            strip.vertex(points + 3 * (j * (r0 + 1) + i));
        strip.end();
    }
}

void RenderGraphGL::renderPointField(GraphExpr const* expr)
{
    glColorByIndex(expr->color);
    glBegin(GL_POINTS);
    std::int64_t const count = graph->get$pointCount();
    for (std::int64_t k = 0; k < count; ++k) {
        double const* p = expr->points + 3 * k;
        if (finite3(p))
            glVertex3dv(p);
    }
    glEnd();
}

void RenderGraphGL::renderFill3d(GraphExpr const* expr)
{
    bool const lit = expr->material != Documents::ExprMaterial::Flat;
    if (lit) {
        glColor3f(1.0f, 1.0f, 1.0f);
        enableLights();
        setMaterial(expr);
    } else {
        glColorByIndex(expr->color);
    }
    int const r0 = getVarRes(0), r1 = getVarRes(1);
    double const* points = expr->points;
    double const* normals = expr->normals;
    // Each row of the grid is one quad strip from row j to row j + 1, drawn
    // from the sample arrays as they are. Both of its faces show: with back
    // faces not culled and two-sided lighting, the side facing away from the
    // strip's winding is lit with the normals reversed. A sample that is not
    // finite ends the strip; it starts again after it.
    glDisable(GL_CULL_FACE);
    if (lit)
        glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_DOUBLE, 0, points);
    if (normals) {
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(GL_DOUBLE, 0, normals);
    }
    // The indices of one strip, kept from frame to frame.
    std::vector<GLuint>& run = stripIndices;
    run.clear();
    auto flush = [&run] {
        if (run.size() >= 4)
            glDrawElements(GL_QUAD_STRIP, static_cast<GLsizei>(run.size()), GL_UNSIGNED_INT, run.data());
        run.clear();
    };
    for (int j = 0; j < r1; ++j) {
        for (int i = 0; i <= r0; ++i) {
            GLuint const a = static_cast<GLuint>(j * (r0 + 1) + i), b = static_cast<GLuint>((j + 1) * (r0 + 1) + i);
            bool const usable = finite3(points + 3 * a) && finite3(points + 3 * b) &&
                                (!normals || (finite3(normals + 3 * a) && finite3(normals + 3 * b)));
            if (!usable) {
                flush();
                continue;
            }
            run.push_back(a);
            run.push_back(b);
        }
        flush();
    }
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    if (lit) {
        glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_FALSE);
        disableLights();
    }
    glEnable(GL_CULL_FACE);
}

void RenderGraphGL::renderNormals(GraphExpr const* expr, double length, std::int32_t color)
{
    int const r0 = getVarRes(0), r1 = getVarRes(1);
    glColorByIndex(color);
    glBegin(GL_LINES);
    for (int j = 0; j <= r1; ++j) {
        for (int i = 0; i <= r0; ++i) {
            std::int64_t const k = 3 * (j * (r0 + 1) + i);
            double const* p = expr->points + k;
            double const* n = expr->normals + k;
            if (!finite3(p) || !finite3(n))
                continue;
            glVertex3dv(p);
            glVertex3d(p[0] + length * n[0], p[1] + length * n[1], p[2] + length * n[2]);
        }
    }
    glEnd();
}

void RenderGraphGL::renderPosSelecter(GraphCamera const& camera)
{
    double const r = camera.moveDistance, theta = camera.moveTheta, phi = camera.movePhi;
    glPushMatrix();
    glRotated(180.0 * theta / Pi, 0.0, -1.0, 0.0);
    glScaled(r, r, r);
    glColor3f(1.0f, 0.0f, 0.0f);
    glBegin(GL_LINE_STRIP);
    for (int m = 0; m <= 10; ++m) {
        double const a = -Pi / 2 + m * Pi / 10;
        glVertex3d(std::cos(a), std::sin(a), 0.0);
    }
    glEnd();
    glPopMatrix();
    double const x = r * std::cos(phi) * std::cos(theta), y = r * std::sin(phi), z = r * std::cos(phi) * std::sin(theta);
    glBegin(GL_LINES);
    glVertex3d(x - 2.0, y, z);
    glVertex3d(x + 2.0, y, z);
    glVertex3d(x, y - 2.0, z);
    glVertex3d(x, y + 2.0, z);
    glVertex3d(x, y, z - 2.0);
    glVertex3d(x, y, z + 2.0);
    glEnd();
}

}
