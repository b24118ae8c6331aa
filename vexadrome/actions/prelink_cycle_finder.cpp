// Cycle search: the call lister gives every name the tree reaches; then one
// depth-first walk over the listed definitions, in list order, enters each of
// them once and finds a cycle when it meets a definition it is still inside.
#include "vexadrome/actions/prelink_cycle_finder.h"

#include "vexadrome/actions/prelink_call_lister.h"
#include "vexadrome/expressions/limits.h"

namespace Vexadrome::Actions {

using Expressions::Function;
using Expressions::Prelink;
using NyCore::String;
using Parsing::ErrorCode::CircularReference;
using Parsing::ErrorCode::TooComplex;

namespace {

std::u16string_view viewOf(String const* name)
{
    return std::u16string_view(name->units(), static_cast<std::size_t>(name->get$length()));
}

void locate(Parsing::Error* error, Prelink const* node)
{
    if (node)
        error->setLocation(node->start, node->length);
}

}

bool PrelinkCycleFinder::findCycle(Prelink* root, Parsing::Error* error, Definitions* definitions, Function* function)
{
    NyCore::Collections::LinkVector<String> names;
    NyCore::Collections::LinkVector<Prelink> uses;
    PrelinkCallLister lister(definitions, &names, &uses, function);
    if (!lister.run(root)) {
        error->setCode(TooComplex);
        locate(error, lister.get$deepUse());
        return true;
    }
    if (!definitions)
        return false;
    PrelinkCycleFinder finder(definitions, &names, error);
    for (int i = 0; i < names.get$count(); ++i) {
        // The walk meets names in the lister's order, so every definition
        // entered from listed name i was first reached through uses[i].
        if (finder.searchFrom(i)) {
            locate(error, uses.get(i));
            return true;
        }
    }
    return false;
}

PrelinkCycleFinder::PrelinkCycleFinder(Definitions* definitions, NyCore::Collections::LinkVector<String>* names, Parsing::Error* error)
    : names(names), marks(static_cast<std::size_t>(names->get$count()), Mark::Unexplored), error(error)
{
    for (int i = 0; i < names->get$count(); ++i) {
        String const* name = names->get(i);
        indexOfName.emplace(viewOf(name), i);
        definitionOf.push_back(definitions->exists(name) ? definitions->item(name) : nullptr);
    }
}

bool PrelinkCycleFinder::searchFrom(int index)
{
    checkName(names->get(index));
    return stopped;
}

void PrelinkCycleFinder::visit(Prelink* node)
{
    if (stopped)
        return;
    if (++depth > Expressions::MaxLinkDepth) {
        error->setCode(TooComplex);
        stopped = true;
    } else {
        enter(node);
    }
    --depth;
}

void PrelinkCycleFinder::checkName(String const* name)
{
    if (stopped)
        return;
    auto found = indexOfName.find(viewOf(name));
    if (found == indexOfName.end())
        return;
    auto index = static_cast<std::size_t>(found->second);
    if (marks[index] == Mark::Entered) {
        error->setCode(CircularReference);
        stopped = true;
        return;
    }
    if (marks[index] == Mark::Explored || !definitionOf[index])
        return;
    marks[index] = Mark::Entered;
    Function* previous = current;
    current = definitionOf[index];
    visit(current->body);
    current = previous;
    marks[index] = Mark::Explored;
}

void PrelinkCycleFinder::handleVariable(Expressions::PLVariable* node)
{
    if (current && current->findParam(node->name))
        return;
    checkName(node->name);
}

void PrelinkCycleFinder::handleUserCall(Expressions::PLUserCall* node)
{
    checkName(node->name);
    for (int i = 0; i < node->count; ++i)
        visit(node->arguments[i]);
}

}
