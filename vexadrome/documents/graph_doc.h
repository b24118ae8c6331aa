// GraphDoc: the graph document model. Variables with their sampling ranges,
// the expressions sampled over them, four lights and the view settings; it
// writes itself as a graph file and asks its host for a view.
#pragma once

#include <cstdint>
#include <vector>

#include "nycore/collection/array.h"
#include "nycore/collection/link_vector.h"
#include "nyuser/models/document.h"
#include "vexadrome/documents/document_host.h"
#include "vexadrome/documents/graph_expr.h"
#include "vexadrome/documents/graph_light.h"
#include "vexadrome/documents/var_range.h"

namespace Vexadrome::Documents {

namespace GraphMode {
enum Enum : std::int32_t { Euclidian = 0, Polar = 1, Spherical = 2 };
constexpr int Count = 3;
}

class GraphDoc : public NyUser::Models::Document {
    NY_REFLECTIVE(GraphDoc)
public:
    static constexpr int MaxVariables = 8;
    // The most samples one expression may have (3 doubles of points and 3 of
    // normals each, about 200 MB at the limit).
    static constexpr std::int64_t MaxPointCount = std::int64_t{1} << 22;
    // Entries of the graph colour table; colour indexes run from 0 to 14.
    static constexpr int ColorCount = 15;
    static constexpr int LightCount = 4;
    static constexpr std::int32_t DefaultBackground = 14;
    static constexpr std::int32_t DefaultFrameRate = 30;
    static constexpr std::int32_t MinFrameRate = 1;
    static constexpr std::int32_t MaxFrameRate = 1000;
    // The registered class of the graph view.
    static NyCore::String const* const ViewTypeName;

    // One variable x from -10 to 10 in 25 steps, four default lights, no expressions.
    explicit GraphDoc(DocumentHost* app);
    ~GraphDoc() override;

    // Frees the variables and makes room for n of them, each unset until
    // updateVariable. False, changing nothing, when n is not within 1 ... 8.
    bool resetVariables(int n);
    // Sets variable i and recomputes the strides and pointCount. A res below
    // 1 is taken as 1. An i outside the variables is a programming error.
    void updateVariable(int i, NyCore::String const* name, double min, double max, int res, int tick);
    void cleanupVariables();
    int get$varCount() const { return ranges ? ranges->length : 0; }
    // Never null: the empty string when unset.
    NyCore::String const* getVarName(int i) const;
    VarRange const* getRange(int i) const;
    // All get$varCount() ranges, in variable order.
    VarRange const* get$ranges() const { return ranges ? ranges->items() : nullptr; }
    std::int64_t getStride(int i) const;
    // The product of all res + 1, saturating far above MaxPointCount.
    std::int64_t get$pointCount() const { return pointCount; }
    bool get$hasTooManyPoints() const { return pointCount > MaxPointCount; }

    // Takes ownership of e.
    void insertExpr(int i, GraphExpr* e);
    void appendExpr(GraphExpr* e) { insertExpr(exprs.get$count(), e); }
    void removeExpr(int i);
    void resetExprs();
    int get$exprCount() const { return exprs.get$count(); }
    GraphExpr* getExpr(int i) const { return exprs.get(i); }

    // Compiles and samples every expression: one error per expression, in
    // list order (code NoError for those that compiled). One that fails is
    // left inactive without points.
    std::vector<Parsing::Error> compileExprs();
    // compileExprs; -1 when all compiled, else the index of the first that
    // failed, whose error is left in `error`.
    int bindAllExprs(Parsing::Error* error);
    // Samples again every compiled expression that uses time.
    void refreshExprs();
    bool searchForTimeCall() const;

    // The Graph menu's dialogs, over the host's dialog owner (nothing
    // without one): "Edit Lights...", "Edit Expressions...", "Edit Options...".
    void onEditLights();
    void onEditExprs();
    void onEditGraph();
    // The options dialog over `owner`, as "New Graph..." runs it before the
    // document has a view; true when accepted (and applied).
    bool showEditWindow(NyCore::System::Widget* owner);
    // bindAllExprs; when an expression fails, showExprError with it. True
    // when the editor opened.
    bool evaulateExprs();
    // The expression editor opened at expression `index` with the error its
    // compile gave (compileExprs or bindAllExprs). Accepted, the document is
    // modified; either way the view is refreshed. False, opening nothing,
    // without a dialog owner.
    bool showExprError(int index, Parsing::Error const& error);

    // Asks the host for an EquationGraphView titled like the document and
    // gives it the document. Null when the host makes no view.
    NyCore::Object* createDefaultView() override;
    void writeTo(NyCore::IO::StreamWriter* writer) override;
    // Clears `modified`.
    void markSaved() override { modified = false; }
    bool get$isModified() const override { return modified; }
    void set$modified(bool value) { modified = value; }
    DocumentHost* get$app() const { return app; }
    ExprManager* get$store() const { return app->get$store(); }

    NyCore::Collections::LinkVector<GraphExpr> exprs;
    NyCore::Object* view = nullptr;
    DocumentHost* app;
    GraphMode::Enum mode = GraphMode::Euclidian;
    GraphLight lights[LightCount];
    std::int32_t background = DefaultBackground;
    std::int32_t frameRate = DefaultFrameRate;
    double axesLength = 50.0;
    double fovAngle = 50.0;
    double nearPlane = 0.1;
    double farPlane = 1000.0;
    bool modified = false;

private:
    void computeStrides();

    // The sampling state: one name, range and stride per variable, changed
    // together by resetVariables and updateVariable only.
    NyCore::Collections::Array<NyCore::String*>* names = nullptr;
    NyCore::Collections::Array<VarRange>* ranges = nullptr;
    NyCore::Collections::Array<std::int64_t>* strides = nullptr;
    std::int64_t pointCount = 0;
};

}
