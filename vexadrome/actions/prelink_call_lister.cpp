// The call lister: a depth-first walk over a tree and the bodies of the
// definitions it reaches, entering each definition once and never nesting
// deeper than MaxLinkDepth, whatever the definitions look like.
#include "vexadrome/actions/prelink_call_lister.h"

#include "vexadrome/expressions/limits.h"

namespace Vexadrome::Actions {

using Expressions::Function;
using Expressions::Prelink;
using NyCore::String;

namespace {

std::u16string_view viewOf(String const* name)
{
    return std::u16string_view(name->units(), static_cast<std::size_t>(name->get$length()));
}

}

bool PrelinkCallLister::list(Prelink* root, Definitions* definitions, NyCore::Collections::LinkVector<String>* names)
{
    PrelinkCallLister lister(definitions, names, nullptr, nullptr);
    return lister.run(root);
}

PrelinkCallLister::PrelinkCallLister(Definitions* definitions, NyCore::Collections::LinkVector<String>* names,
                                     NyCore::Collections::LinkVector<Prelink>* uses, Function* function)
    : definitions(definitions), names(names), uses(uses), current(function)
{
}

bool PrelinkCallLister::run(Prelink* root)
{
    visit(root);
    return !tooDeep;
}

void PrelinkCallLister::visit(Prelink* node)
{
    if (tooDeep)
        return;
    if (++depth > Expressions::MaxLinkDepth) {
        tooDeep = true;
        deepUse = currentUse;
    } else {
        enter(node);
    }
    --depth;
}

void PrelinkCallLister::noteName(Prelink* node, String* name)
{
    if (tooDeep || !listed.insert(viewOf(name)).second)
        return;
    names->append(name);
    if (uses)
        uses->append(currentUse ? currentUse : node);
    if (!definitions || !definitions->exists(name))
        return;
    Function* definition = definitions->item(name);
    Function* previous = current;
    Prelink* previousUse = currentUse;
    current = definition;
    if (!currentUse)
        currentUse = node;
    visit(definition->body);
    current = previous;
    currentUse = previousUse;
}

void PrelinkCallLister::handleVariable(Expressions::PLVariable* node)
{
    if (current && current->findParam(node->name))
        return;
    noteName(node, node->name);
}

void PrelinkCallLister::handleUserCall(Expressions::PLUserCall* node)
{
    noteName(node, node->name);
    for (int i = 0; i < node->count; ++i)
        visit(node->arguments[i]);
}

}
