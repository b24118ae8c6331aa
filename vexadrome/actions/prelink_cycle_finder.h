// PrelinkCycleFinder: finds circular definitions reachable from an unlinked
// tree before the linker expands them, so that linking always ends. A cycle
// may close through a called name or through a call's arguments.
#pragma once

#include <string_view>
#include <unordered_map>
#include <vector>

#include "nycore/collection/link_vector.h"
#include "nycore/collection/string_map.h"
#include "vexadrome/expressions/function.h"
#include "vexadrome/expressions/prelink.h"
#include "vexadrome/parsing/error.h"

namespace Vexadrome::Actions {

class PrelinkCycleFinder : public Expressions::PrelinkHandler {
public:
    using Definitions = NyCore::Collections::StringMap<Expressions::Function*>;

    // True when root must not be linked: a definition that root reaches refers
    // back to itself (code 3), or the definitions nest deeper than MaxLinkDepth
    // (TooComplex). The error is located at the node of root through which the
    // failing definition is reached, never inside a definition's own text.
    // root may be the body of `function`, whose parameters are then not names.
    static bool findCycle(Expressions::Prelink* root, Parsing::Error* error, Definitions* definitions,
                          Expressions::Function* function = nullptr);

    void handleVariable(Expressions::PLVariable* node) override;
    void handleUserCall(Expressions::PLUserCall* node) override;

protected:
    // Visits node unless the nesting passes MaxLinkDepth.
    void visit(Expressions::Prelink* node) override;
    bool continueChain(Expressions::Prelink*) override { return !stopped; }

private:
    PrelinkCycleFinder(Definitions* definitions, NyCore::Collections::LinkVector<NyCore::String>* names, Parsing::Error* error);
    // Walks the definition of listed name `index` unless an earlier search
    // explored it; true when a cycle was met or the walk nested too deep
    // (error recorded).
    bool searchFrom(int index);
    void checkName(NyCore::String const* name);

    NyCore::Collections::LinkVector<NyCore::String>* names;
    std::unordered_map<std::u16string_view, int> indexOfName;
    // The definition of each listed name, looked up once; none for a name without one.
    std::vector<Expressions::Function*> definitionOf;
    // Entered: the walk is inside that definition's body; meeting its name
    // again closes a cycle. Explored: it and everything it reaches are free of cycles.
    enum class Mark : char { Unexplored, Entered, Explored };
    std::vector<Mark> marks;
    Parsing::Error* error;
    Expressions::Function* current = nullptr;
    int depth = 0;
    bool stopped = false;
};

}
