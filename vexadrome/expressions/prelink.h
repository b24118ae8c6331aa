// The unlinked expression tree that the parser builds: names are still text
// and shapes are unknown. Every node owns its children. Passes over the tree
// (linking, cycle search, stack sizing) are PrelinkHandler visitors.
#pragma once

#include <cstdint>

#include "nycore/text/string.h"

namespace Vexadrome::Expressions {

class PrelinkHandler;
class PLVariable;
class PLUserCall;
class PLMatrixVal;

class Prelink {
public:
    Prelink(int start, int length) : start(start), length(length) {}
    Prelink(Prelink const&) = delete;
    Prelink& operator=(Prelink const&) = delete;
    virtual void accept(PrelinkHandler*) {}
    virtual ~Prelink() = default;
    // The place of the left operand of a binary node; none for other nodes.
    // Sums and products grow down their left operands, and the passes walk
    // and destroy such chains with loops through this place.
    virtual Prelink** leftOperand() { return nullptr; }

    std::int32_t start;    // offset of the node's text; -1 for nodes made for a unary minus
    std::int32_t length;
    // The number of nodes on the longest path down from this one (a leaf is
    // 1), where the left operand of a binary node counts as one level with
    // it: the passes recurse only into the other children, so the parser
    // bounds this to keep them shallow while chains may be long.
    std::int32_t height = 1;
};

class PLConstant : public Prelink {
public:
    PLConstant(int start, double value) : Prelink(start, 0), value(value) {}
    void accept(PrelinkHandler* handler) override;

    double value;
};

class PLVariable : public Prelink {
public:
    // Takes ownership of the name.
    PLVariable(int start, int length, NyCore::String* name) : Prelink(start, length), name(name) {}
    ~PLVariable() override;
    void accept(PrelinkHandler* handler) override;

    NyCore::String* name;
};

class PLUnary : public Prelink {
public:
    PLUnary(int start, Prelink* operand);
    ~PLUnary() override;

    Prelink* operand;
};

class PLMathCall : public PLUnary {
public:
    PLMathCall(int start, Prelink* operand, int index) : PLUnary(start, operand), index(index) {}
    void accept(PrelinkHandler* handler) override;

    std::int32_t index;
};

class PLMagnitude : public PLUnary {
public:
    using PLUnary::PLUnary;
    void accept(PrelinkHandler* handler) override;
};

class PLNormalize : public PLUnary {
public:
    using PLUnary::PLUnary;
    void accept(PrelinkHandler* handler) override;
};

class PLTranspose : public PLUnary {
public:
    using PLUnary::PLUnary;
    void accept(PrelinkHandler* handler) override;
};

class PLBinary : public Prelink {
public:
    PLBinary(int start, int length, Prelink* left, Prelink* right);
    ~PLBinary() override;
    Prelink** leftOperand() override { return &left; }
    // The height of a binary node over these operands.
    static int heightOver(Prelink const* left, Prelink const* right);

    Prelink* left;
    Prelink* right;
};

class PrelinkAdd : public PLBinary {
public:
    PrelinkAdd(int start, Prelink* left, Prelink* right) : PLBinary(start, 1, left, right) {}
    void accept(PrelinkHandler* handler) override;
};

class PrelinkSub : public PLBinary {
public:
    PrelinkSub(int start, Prelink* left, Prelink* right) : PLBinary(start, 1, left, right) {}
    void accept(PrelinkHandler* handler) override;
};

class PrelinkMul : public PLBinary {
public:
    PrelinkMul(int start, Prelink* left, Prelink* right) : PLBinary(start, 1, left, right) {}
    void accept(PrelinkHandler* handler) override;
};

class PrelinkDiv : public PLBinary {
public:
    PrelinkDiv(int start, Prelink* left, Prelink* right) : PLBinary(start, 1, left, right) {}
    void accept(PrelinkHandler* handler) override;
};

class PrelinkPower : public PLBinary {
public:
    PrelinkPower(int start, Prelink* left, Prelink* right) : PLBinary(start, 0, left, right) {}
    void accept(PrelinkHandler* handler) override;
};

class PLDotProduct : public PLBinary {
public:
    PLDotProduct(int start, Prelink* left, Prelink* right) : PLBinary(start, 0, left, right) {}
    void accept(PrelinkHandler* handler) override;
};

class PLUserCall : public Prelink {
public:
    // Takes ownership of the name; the count arguments are set afterwards.
    PLUserCall(int start, NyCore::String* name, int count);
    ~PLUserCall() override;
    void accept(PrelinkHandler* handler) override;
    // Sets argument i (owned from then on) and updates the height.
    void setArgument(int i, Prelink* argument);

    std::int32_t count;
    NyCore::String* name;
    Prelink** arguments;
};

class PLMatrixVal : public Prelink {
public:
    // The rows * cols elements are set afterwards, column-major.
    PLMatrixVal(int start, int rows, int cols);
    ~PLMatrixVal() override;
    void accept(PrelinkHandler* handler) override;
    // Sets the element of row r and column c (owned from then on).
    void setElement(int r, int c, Prelink* element);
    Prelink* getElement(int r, int c) const { return elements[c * rowCount + r]; }

    std::int32_t colCount;
    std::int32_t rowCount;
    Prelink** elements;
};

// The visitor over unlinked trees. The defaults visit the children in order
// (a matrix column by column, each from the first row down).
class PrelinkHandler {
public:
    virtual void handleVariable(PLVariable* node) = 0;
    virtual void handleUserCall(PLUserCall* node) = 0;
    virtual void handleMathCall(Prelink* operand, int index);
    virtual void handleConstant(double value);
    virtual void handleMatrixVal(PLMatrixVal* node);
    virtual void handleMagnitude(Prelink* operand);
    virtual void handleNormalize(Prelink* operand);
    virtual void handleTranspose(Prelink* operand);
    virtual void handleInverse(Prelink* operand);
    virtual void handleDeterminate(Prelink* operand);
    virtual void handleDotProduct(Prelink* left, Prelink* right);
    virtual void handleCrossProduct(Prelink* left, Prelink* right);
    virtual void handlePower(Prelink* left, Prelink* right);
    virtual void handleAdd(Prelink* left, Prelink* right);
    virtual void handleSub(Prelink* left, Prelink* right);
    virtual void handleMul(Prelink* left, Prelink* right);
    virtual void handleDiv(Prelink* left, Prelink* right);
    virtual ~PrelinkHandler() = default;

protected:
    // Every default visit of a child goes through here, so a pass that must
    // bound its recursion overrides this one operation (and calls enter).
    virtual void visit(Prelink* node) { enter(node); }
    void visitBoth(Prelink* left, Prelink* right)
    {
        visit(left);
        visit(right);
    }
    // node->accept(this), in the same order, but a chain of binary nodes down
    // their left operands is walked in a loop: its deepest left operand is
    // entered first, then each link from the bottom up, whose own visit of
    // its left operand then does nothing. Recursion follows only the other
    // children, so it stays within the height of the tree.
    void enter(Prelink* node);
    // Called after each link of a chain below its top one; false ends the
    // walk (a pass that has failed). The top link is left to the caller.
    virtual bool continueChain(Prelink*) { return true; }

private:
    Prelink* doneLeft = nullptr;
};

}
