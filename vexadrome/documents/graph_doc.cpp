// The graph document: variables and their strides, the expression list,
// compiling and refreshing the expressions, the view and the file.
#include "vexadrome/documents/graph_doc.h"

#include <limits>

#include "nycore/system/exceptions.h"
#include "nycore/system/method_thunk.h"
#include "nycore/system/runtime.h"
#include "nycore/text/string_functions.h"
#include "vexadrome/documents/graph_writer.h"

namespace Vexadrome::Documents {

namespace {

// The Graph menu reaches the document's dialogs by these names.
NyCore::MethodEntry const GraphDocMethods[] = {
    {u"onEditLights", NY_METHOD(GraphDoc::onEditLights)},
    {u"onEditExprs", NY_METHOD(GraphDoc::onEditExprs)},
    {u"onEditGraph", NY_METHOD(GraphDoc::onEditGraph)},
    {nullptr, nullptr},
};

}

NyCore::TypeData GraphDoc::MetaData = {&NyUser::Models::Document::MetaData, nullptr,
                                       u"Vexadrome.Documents.GraphDoc"_str, GraphDocMethods, NyCore::NoEvents,
                                       nullptr, sizeof(GraphDoc), 0, nullptr};

NyCore::String const* const GraphDoc::ViewTypeName = u"Vexadrome.Interface.EquationGraphView"_str;

GraphDoc::GraphDoc(DocumentHost* app) : NyUser::Models::Document(app), app(app)
{
    lights[0] = {0.0f, 20.0f, 0.0f, 0, false, true};
    lights[1] = {20.0f, 0.0f, 0.0f, 0, false, false};
    lights[2] = {0.0f, 0.0f, 20.0f, 0, false, false};
    lights[3] = {20.0f, 0.0f, 20.0f, 0, false, false};
    resetVariables(1);
    updateVariable(0, u"x"_str, -10.0, 10.0, 25, 25);
}

GraphDoc::~GraphDoc()
{
    cleanupVariables();
    resetExprs();
}

void GraphDoc::cleanupVariables()
{
    if (names)
        names->freeWithItems();
    names = nullptr;
    if (ranges)
        ranges->free();
    ranges = nullptr;
    if (strides)
        strides->free();
    strides = nullptr;
    pointCount = 0;
}

bool GraphDoc::resetVariables(int n)
{
    if (n < 1 || n > MaxVariables)
        return false;
    cleanupVariables();
    names = NyCore::Collections::Array<NyCore::String*>::alloc(n);
    ranges = NyCore::Collections::Array<VarRange>::alloc(n);
    for (VarRange& range : *ranges)
        range = VarRange{};
    strides = NyCore::Collections::Array<std::int64_t>::alloc(n);
    computeStrides();
    return true;
}

void GraphDoc::updateVariable(int i, NyCore::String const* name, double min, double max, int res, int tick)
{
    int const count = get$varCount();
    if (i < 0 || i >= count)
        NY_THROW(OutOfBoundsException(i, count - 1));
    NyCore::String*& slot = (*names)[i];
    string_free(slot);
    slot = string_copy(name);
    (*ranges)[i] = {min, max, res < 1 ? 1 : res, tick};
    computeStrides();
}

// stride[i] = (res0 + 1) x ... x (resi + 1), saturating instead of overflowing:
// eight variables may ask for far more than 64 bits hold.
void GraphDoc::computeStrides()
{
    constexpr std::int64_t Saturated = std::numeric_limits<std::int64_t>::max();
    std::int64_t stride = 1;
    for (int i = 0; i < get$varCount(); ++i) {
        std::int64_t steps = std::int64_t{(*ranges)[i].res} + 1;
        stride = stride > Saturated / steps ? Saturated : stride * steps;
        (*strides)[i] = stride;
    }
    pointCount = get$varCount() > 0 ? stride : 0;
}

NyCore::String const* GraphDoc::getVarName(int i) const
{
    NyCore::String const* name = (*names)[i];
    return name ? name : NyCore::Text::EmptyString;
}

VarRange const* GraphDoc::getRange(int i) const
{
    return &(*ranges)[i];
}

std::int64_t GraphDoc::getStride(int i) const
{
    return (*strides)[i];
}

void GraphDoc::insertExpr(int i, GraphExpr* e)
{
    exprs.insert(i, 1);
    exprs.set(i, e);
}

void GraphDoc::removeExpr(int i)
{
    delete exprs.get(i);
    exprs.remove(i);
}

void GraphDoc::resetExprs()
{
    for (int i = 0; i < exprs.get$count(); ++i)
        delete exprs.get(i);
    exprs.resize(0);
}

std::vector<Parsing::Error> GraphDoc::compileExprs()
{
    std::vector<Parsing::Error> errors(static_cast<std::size_t>(exprs.get$count()));
    for (int i = 0; i < exprs.get$count(); ++i)
        exprs.get(i)->bindExprString(&errors[i]);
    return errors;
}

int GraphDoc::bindAllExprs(Parsing::Error* error)
{
    std::vector<Parsing::Error> errors = compileExprs();
    for (std::size_t i = 0; i < errors.size(); ++i) {
        if (errors[i].hasCode()) {
            *error = errors[i];
            return static_cast<int>(i);
        }
    }
    return -1;
}

void GraphDoc::refreshExprs()
{
    for (int i = 0; i < exprs.get$count(); ++i) {
        GraphExpr* e = exprs.get(i);
        if (e->usesTime)
            e->recalculate();
    }
}

bool GraphDoc::searchForTimeCall() const
{
    for (int i = 0; i < exprs.get$count(); ++i) {
        if (exprs.get(i)->usesTime)
            return true;
    }
    return false;
}

NyCore::Object* GraphDoc::createDefaultView()
{
    NyCore::String const* title = get$title() ? get$title() : NyCore::Text::EmptyString;
    view = app->createNewView(ViewTypeName, title, 0);
    if (!view)
        return nullptr;
    // The view class lives in the windowed program; it is reached by name.
    NyCore::Type* type = view->getType();
    NyCore::Method setDocument = type ? type->getMethod(u"set$document") : nullptr;
    if (setDocument) {
        NyCore::Object::CallbackParams params = {1, {reinterpret_cast<std::intptr_t>(this)}};
        view->invokeMethod(setDocument, &params);
    }
    return view;
}

void GraphDoc::writeTo(NyCore::IO::StreamWriter* writer)
{
    GraphWriter::write(writer, this);
}

}
