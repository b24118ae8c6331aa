// The OBJ text of sampled expressions and the export run. The text goes to
// the file through a small buffer as it is produced, so memory does not grow
// with the output. Samples that are not finite get no vertex: each object
// numbers its finite samples and its lines, faces and points use those
// numbers, skipping whatever touches a missing sample.
#include "vexadrome/interface/obj_exporter.h"

#include <charconv>
#include <cmath>
#include <string>
#include <vector>

#include "nycore/io/file_save.h"
#include "nycore/system/console.h"
#include "nycore/system/memory.h"
#include "nycore/text/print.h"
#include "nycore/text/string_functions.h"
#include "vexadrome/documents/math_doc_reader.h"
#include "vexadrome/interface/graph_image.h"

namespace Vexadrome::Interface {

namespace ExprRendMode = Documents::ExprRendMode;
using Documents::GraphDoc;
using Documents::GraphExpr;

namespace {

// Text into fd in blocks; after the first failed write the rest is dropped
// and the failure (errno set) is kept for the end.
class BlockWriter {
public:
    static constexpr std::size_t BlockSize = 1 << 16;

    explicit BlockWriter(int fd) : fd(fd) { buffer.reserve(BlockSize + 64); }

    void append(char const* text, std::size_t count)
    {
        buffer.append(text, count);
        if (buffer.size() >= BlockSize)
            flush();
    }
    void append(std::string const& text) { append(text.data(), text.size()); }
    void append(char const* text) { append(text, std::char_traits<char>::length(text)); }
    void append(char c) { append(&c, 1); }

    void appendNumber(double value)
    {
        if (value == 0.0)
            value = 0.0;  // no "-0"
        char digits[32];
        append(digits, static_cast<std::size_t>(std::to_chars(digits, digits + sizeof digits, value).ptr - digits));
    }
    void appendIndex(std::int64_t value)
    {
        char digits[24];
        append(digits, static_cast<std::size_t>(std::to_chars(digits, digits + sizeof digits, value).ptr - digits));
    }

    // Writes what is buffered; false once any write has failed.
    bool flush()
    {
        if (ok)
            ok = file_write_all(fd, buffer.data(), buffer.size());
        buffer.clear();
        return ok;
    }

private:
    std::string buffer;
    int fd;
    bool ok = true;
};

bool isFinitePoint(double const* points, std::int64_t k)
{
    return std::isfinite(points[3 * k]) && std::isfinite(points[3 * k + 1]) && std::isfinite(points[3 * k + 2]);
}

// OBJ numbers of one object's samples: 0 for a sample without a vertex.
using VertexNumbers = std::vector<std::int64_t>;

void writeTriples(BlockWriter* out, char const* tag, double const* values, VertexNumbers const& numbers)
{
    for (std::size_t k = 0; k < numbers.size(); ++k) {
        if (numbers[k] == 0)
            continue;
        out->append(tag);
        for (int a = 0; a < 3; ++a) {
            out->append(' ');
            out->appendNumber(values[3 * k + a]);
        }
        out->append('\n');
    }
}

// "l" runs through consecutive finite samples; a run of one point draws nothing.
void writeCurve(BlockWriter* out, VertexNumbers const& numbers)
{
    std::size_t const count = numbers.size();
    std::size_t k = 0;
    while (k < count) {
        while (k < count && numbers[k] == 0)
            ++k;
        std::size_t end = k;
        while (end < count && numbers[end] != 0)
            ++end;
        if (end - k >= 2) {
            out->append('l');
            for (std::size_t i = k; i < end; ++i) {
                out->append(' ');
                out->appendIndex(numbers[i]);
            }
            out->append('\n');
        }
        k = end;
    }
}

// Quads (j, i), (j + 1, i), (j + 1, i + 1), (j, i + 1): the order of the
// renderer's front strips.
void writeSurface(BlockWriter* out, VertexNumbers const& numbers, int columns, int rows)
{
    for (int j = 0; j + 1 < rows; ++j) {
        for (int i = 0; i + 1 < columns; ++i) {
            std::size_t a = static_cast<std::size_t>(j) * columns + i;
            std::size_t const corners[4] = {a, a + columns, a + columns + 1, a + 1};
            bool complete = true;
            for (std::size_t c : corners)
                complete = complete && numbers[c] != 0;
            if (!complete)
                continue;
            out->append('f');
            for (std::size_t c : corners) {
                out->append(' ');
                out->appendIndex(numbers[c]);
                out->append("//");
                out->appendIndex(numbers[c]);
            }
            out->append('\n');
        }
    }
}

void writePointCloud(BlockWriter* out, VertexNumbers const& numbers)
{
    bool any = false;
    for (std::int64_t number : numbers) {
        if (number == 0)
            continue;
        out->append(any ? " " : "p ");
        out->appendIndex(number);
        any = true;
    }
    if (any)
        out->append('\n');
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

void writeExpr(BlockWriter* out, GraphExpr const* expr, GraphDoc const* doc, int index, VertexNumbers* numbers,
               std::int64_t* nextVertex)
{
    out->append("o ");
    out->append(objectName(expr, index));
    out->append('\n');
    std::int64_t const count = doc->get$pointCount();
    numbers->assign(static_cast<std::size_t>(count), 0);
    for (std::int64_t k = 0; k < count; ++k) {
        if (isFinitePoint(expr->points, k))
            (*numbers)[k] = (*nextVertex)++;
    }
    writeTriples(out, "v", expr->points, *numbers);
    if (expr->normals)
        writeTriples(out, "vn", expr->normals, *numbers);
    bool const joined = expr->rendMode != ExprRendMode::Points;
    if (joined && doc->get$varCount() == 1)
        writeCurve(out, *numbers);
    else if (joined && doc->get$varCount() == 2)
        writeSurface(out, *numbers, doc->getRange(0)->res + 1, doc->getRange(1)->res + 1);
    else
        writePointCloud(out, *numbers);
}

struct ExportJob {
    GraphDoc const* graph;
    std::string header;
};

// The FileFiller of the OBJ file.
bool writeObj(int fd, void* context)
{
    auto const* job = static_cast<ExportJob const*>(context);
    BlockWriter out(fd);
    out.append(job->header);
    VertexNumbers numbers;
    std::int64_t nextVertex = 1;
    for (int i = 0; i < job->graph->get$exprCount(); ++i) {
        GraphExpr const* expr = job->graph->getExpr(i);
        if (expr->active && expr->get$isBound())
            writeExpr(&out, expr, job->graph, i, &numbers, &nextVertex);
        if (!out.flush())
            return false;
    }
    return out.flush();
}

NyCore::String* compileProblem(GraphDoc const* graph, int i, Parsing::Error const& error)
{
    NyCore::String const* name = graph->getExpr(i)->get$name();
    if (graph->get$hasTooManyPoints())
        return string_print(u"expression %d (%s): the graph has more than %a samples (the product of every "
                            u"variable's res + 1)", i + 1, name->units(),
                            std::to_string(GraphDoc::MaxPointCount).c_str());
    NyCore::String const* message = Res::Strings::errorMessage(error.code);
    if (error.hasLocation())
        return string_print(u"expression %d (%s): %s at column %d", i + 1, name->units(), message->units(),
                            error.start + 1);
    return string_print(u"expression %d (%s): %s", i + 1, name->units(), message->units());
}

}

GraphDoc* ObjExporter::loadGraph(NyCore::String const* graphPath, int* status)
{
    NyCore::String* reason = nullptr;
    NyUser::Models::Document* document = Documents::MathDocReader::load(graphPath, host, &reason);
    if (document == nullptr) {
        report(graphPath, reason);
        string_free(reason);
        *status = 1;
        return nullptr;
    }
    auto* graph = dynamic_cast<GraphDoc*>(document);
    if (graph == nullptr) {
        report(graphPath, u"not a graph (its root element is not <graph>)"_str);
        delete document;
        *status = 1;
        return nullptr;
    }
    std::vector<Parsing::Error> errors = graph->compileExprs();
    for (std::size_t i = 0; i < errors.size(); ++i) {
        if (!errors[i].hasCode())
            continue;
        NyCore::String* problem = compileProblem(graph, static_cast<int>(i), errors[i]);
        report(graphPath, problem);
        string_free(problem);
        *status = 1;
    }
    return graph;
}

int ObjExporter::renderImage(NyCore::String const* graphPath, NyCore::String const* pngPath, int width, int height)
{
    int status = 0;
    GraphDoc* graph = loadGraph(graphPath, &status);
    if (!graph)
        return 1;
    NyCore::String* reason = nullptr;
    bool const saved = GraphImage::save(graph, width, height, pngPath, &reason);
    delete graph;
    if (!saved) {
        report(pngPath, reason);
        string_free(reason);
        return 1;
    }
    return status;
}

int ObjExporter::exportFile(NyCore::String const* graphPath, NyCore::String const* objPath)
{
    int status = 0;
    GraphDoc* graph = loadGraph(graphPath, &status);
    if (!graph)
        return 1;
    NyCore::String* reason = nullptr;
    ExportJob job = {graph, "# Vexadrome graph exported from " + lineText(graphPath) + "\n"};
    char* path = string_to_utf8(objPath);
    bool saved = file_replace(path, writeObj, &job, true, -1, &reason);
    memory_free(path);
    delete graph;
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
