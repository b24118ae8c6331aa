// ChainLinks: the nodes of a chain of binary nodes down their left operands,
// the given node first, for the visitors that walk such chains in a loop.
// Chains of ordinary lines stay in the array on the stack; longer ones spill
// into a vector, so that a walk allocates only for very long sums.
#pragma once

#include <cstddef>
#include <vector>

namespace Vexadrome::Expressions {

template <class Node>
class ChainLinks {
public:
    explicit ChainLinks(Node* node)
    {
        for (Node* link = node; link->leftOperand(); link = *link->leftOperand()) {
            if (count == Inline)
                spilled.assign(inlineLinks, inlineLinks + Inline);
            if (count < Inline)
                inlineLinks[count] = link;
            else
                spilled.push_back(link);
            ++count;
        }
    }

    std::size_t size() const { return count; }
    Node* operator[](std::size_t i) const { return count <= Inline ? inlineLinks[i] : spilled[i]; }

private:
    static constexpr std::size_t Inline = 32;
    Node* inlineLinks[Inline];
    std::vector<Node*> spilled;
    std::size_t count = 0;
};

}
