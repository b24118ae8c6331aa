// PrelinkCallLister: collects every name that an unlinked tree reaches, through
// the bodies of the definitions it uses and the arguments of its calls. The
// cycle search walks the definitions of this list.
#pragma once

#include <string_view>
#include <unordered_set>

#include "nycore/collection/link_vector.h"
#include "nycore/collection/string_map.h"
#include "vexadrome/expressions/function.h"
#include "vexadrome/expressions/prelink.h"

namespace Vexadrome::Actions {

class PrelinkCallLister : public Expressions::PrelinkHandler {
public:
    using Definitions = NyCore::Collections::StringMap<Expressions::Function*>;

    // Appends to names every name that root reaches, in the order first met,
    // depth first: names of variables, called names, then the names in the
    // call's arguments; each definition met is entered once. The names are the
    // nodes' own strings, valid while the tree and the definitions are
    // unchanged. False when the definitions nest deeper than MaxLinkDepth; the
    // list is then incomplete.
    static bool list(Expressions::Prelink* root, Definitions* definitions, NyCore::Collections::LinkVector<NyCore::String>* names);

    // A lister for root = the body of `function` (whose parameter names are not
    // listed; none for a top-level expression). When uses is given it receives,
    // for each listed name, the node of root through which the name was first
    // reached (the outermost use).
    PrelinkCallLister(Definitions* definitions, NyCore::Collections::LinkVector<NyCore::String>* names,
                      NyCore::Collections::LinkVector<Expressions::Prelink>* uses, Expressions::Function* function);
    // Lists the names of root; false when the nesting was too deep.
    bool run(Expressions::Prelink* root);
    // After a failed run: the node of root whose definitions nested too deep,
    // or none when root itself was too deep.
    Expressions::Prelink* get$deepUse() const { return deepUse; }

    void handleVariable(Expressions::PLVariable* node) override;
    void handleUserCall(Expressions::PLUserCall* node) override;

protected:
    // Visits node unless the nesting passes MaxLinkDepth.
    void visit(Expressions::Prelink* node) override;
    bool continueChain(Expressions::Prelink*) override { return !tooDeep; }

private:
    void noteName(Expressions::Prelink* node, NyCore::String* name);

    Definitions* definitions;
    NyCore::Collections::LinkVector<NyCore::String>* names;
    NyCore::Collections::LinkVector<Expressions::Prelink>* uses;
    Expressions::Function* current;
    Expressions::Prelink* currentUse = nullptr;
    Expressions::Prelink* deepUse = nullptr;
    std::unordered_set<std::u16string_view> listed;
    int depth = 0;
    bool tooDeep = false;
};

}
