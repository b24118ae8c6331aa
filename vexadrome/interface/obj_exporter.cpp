// The OBJ text of sampled expressions and the export run. Samples that are
// not finite keep their vertex (so numbering follows the samples) but no
// line, face or point uses them.
#include "vexadrome/interface/obj_exporter.h"

#include <charconv>
#include <cmath>

#include "nycore/io/file_save.h"
#include "nycore/system/console.h"
#include "nycore/system/memory.h"
#include "nycore/text/print.h"
#include "nycore/text/string_functions.h"
#include "vexadrome/documents/math_doc_reader.h"

namespace Vexadrome::Interface {

namespace ExprRendMode = Documents::ExprRendMode;
using Documents::GraphDoc;
using Documents::GraphExpr;

namespace {

void appendNumber(std::string* out, double value)
{
    if (std::isnan(value)) {
        out->append("nan");
        return;
    }
    if (value == 0.0)
        value = 0.0;  // no "-0"
    char digits[32];
    auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out->append(digits, end);
}

void appendIndex(std::string* out, std::int64_t value)
{
    char digits[24];
    auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out->append(digits, end);
}

void appendTriples(std::string* out, char const* tag, double const* values, std::int64_t count)
{
    for (std::int64_t k = 0; k < count; ++k) {
        out->append(tag);
        for (int a = 0; a < 3; ++a) {
            out->push_back(' ');
            appendNumber(out, values[3 * k + a]);
        }
        out->push_back('\n');
    }
}

bool isFinitePoint(double const* points, std::int64_t k)
{
    return std::isfinite(points[3 * k]) && std::isfinite(points[3 * k + 1]) && std::isfinite(points[3 * k + 2]);
}

// "l" runs through consecutive finite samples; a run of one point draws nothing.
void appendCurve(std::string* out, double const* points, std::int64_t count, std::int64_t first)
{
    std::int64_t k = 0;
    while (k < count) {
        while (k < count && !isFinitePoint(points, k))
            ++k;
        std::int64_t end = k;
        while (end < count && isFinitePoint(points, end))
            ++end;
        if (end - k >= 2) {
            out->push_back('l');
            for (std::int64_t i = k; i < end; ++i) {
                out->push_back(' ');
                appendIndex(out, first + i);
            }
            out->push_back('\n');
        }
        k = end;
    }
}

// Quads (j, i), (j + 1, i), (j + 1, i + 1), (j, i + 1): the order of the
// renderer's front strips.
void appendSurface(std::string* out, double const* points, int columns, int rows, std::int64_t first)
{
    for (int j = 0; j + 1 < rows; ++j) {
        for (int i = 0; i + 1 < columns; ++i) {
            std::int64_t a = std::int64_t{j} * columns + i;
            std::int64_t corners[4] = {a, a + columns, a + columns + 1, a + 1};
            bool finite = true;
            for (std::int64_t c : corners)
                finite = finite && isFinitePoint(points, c);
            if (!finite)
                continue;
            out->push_back('f');
            for (std::int64_t c : corners) {
                out->push_back(' ');
                appendIndex(out, first + c);
                out->append("//");
                appendIndex(out, first + c);
            }
            out->push_back('\n');
        }
    }
}

void appendPointCloud(std::string* out, double const* points, std::int64_t count, std::int64_t first)
{
    bool any = false;
    for (std::int64_t k = 0; k < count; ++k) {
        if (!isFinitePoint(points, k))
            continue;
        out->append(any ? " " : "p ");
        appendIndex(out, first + k);
        any = true;
    }
    if (any)
        out->push_back('\n');
}

// Text for one line of the file: control characters would end it early.
std::string lineText(NyCore::String const* text)
{
    char* utf8 = string_to_utf8(text);
    std::string line = utf8;
    memory_free(utf8);
    for (char& c : line) {
        if (static_cast<unsigned char>(c) < 32)
            c = '_';
    }
    return line;
}

std::string objectName(GraphExpr const* expr, int index)
{
    std::string name = lineText(expr->get$name());
    return name.empty() ? "expression" + std::to_string(index + 1) : name;
}

bool writeText(int fd, void* context)
{
    auto const* text = static_cast<std::string const*>(context);
    return file_write_all(fd, text->data(), text->size());
}

}

void ObjExporter::appendExpr(std::string* obj, GraphExpr const* expr, GraphDoc const* doc, std::int64_t firstVertex)
{
    std::int64_t const count = doc->get$pointCount();
    int const varCount = doc->get$varCount();
    appendTriples(obj, "v", expr->points, count);
    if (expr->normals)
        appendTriples(obj, "vn", expr->normals, count);
    bool const joined = expr->rendMode != ExprRendMode::Points;
    if (joined && varCount == 1)
        appendCurve(obj, expr->points, count, firstVertex);
    else if (joined && varCount == 2)
        appendSurface(obj, expr->points, doc->getRange(0)->res + 1, doc->getRange(1)->res + 1, firstVertex);
    else
        appendPointCloud(obj, expr->points, count, firstVertex);
}

int ObjExporter::exportFile(NyCore::String const* graphPath, NyCore::String const* objPath)
{
    NyCore::String* reason = nullptr;
    NyUser::Models::Document* document = Documents::MathDocReader::load(graphPath, host, &reason);
    if (document == nullptr) {
        report(graphPath, reason);
        string_free(reason);
        return 1;
    }
    auto* graph = dynamic_cast<GraphDoc*>(document);
    if (graph == nullptr) {
        report(graphPath, u"not a graph (its root element is not <graph>)"_str);
        delete document;
        return 1;
    }

    int status = 0;
    std::string obj = "# Vexadrome graph exported from " + lineText(graphPath) + "\n";
    std::int64_t nextVertex = 1;
    for (int i = 0; i < graph->get$exprCount(); ++i) {
        GraphExpr* expr = graph->getExpr(i);
        // Loading compiled every expression without a word; compiling a
        // failed one again gives the reason.
        Parsing::Error error;
        if (!expr->get$isBound() && !expr->bindExprString(&error)) {
            NyCore::String* problem;
            if (graph->get$hasTooManyPoints())
                problem = string_print(u"expression %d (%s): the graph has more than %a samples (the product of "
                                       u"every variable's res + 1)", i + 1, expr->get$name()->units(),
                                       std::to_string(GraphDoc::MaxPointCount).c_str());
            else if (error.hasLocation())
                problem = string_print(u"expression %d (%s): %s at column %d", i + 1, expr->get$name()->units(),
                                       Res::Strings::errorMessage(error.code)->units(), error.start + 1);
            else
                problem = string_print(u"expression %d (%s): %s", i + 1, expr->get$name()->units(),
                                       Res::Strings::errorMessage(error.code)->units());
            report(graphPath, problem);
            string_free(problem);
            status = 1;
            continue;
        }
        if (!expr->active)
            continue;
        obj.append("o ").append(objectName(expr, i)).push_back('\n');
        appendExpr(&obj, expr, graph, nextVertex);
        nextVertex += graph->get$pointCount();
    }
    delete graph;

    char* path = string_to_utf8(objPath);
    bool saved = file_replace(path, writeText, &obj, true, -1, &reason);
    memory_free(path);
    if (!saved) {
        report(objPath, reason);
        string_free(reason);
        return 1;
    }
    return status;
}

void ObjExporter::report(NyCore::String const* name, NyCore::String const* problem)
{
    NyCore::String* diagnostic = string_print(u"vexadrome: %s: %s\n", name->units(), problem->units());
    console_write(errorFd, diagnostic);
    string_free(diagnostic);
}

}
