// The linked expression tree: every node knows its type (scalar or matrix)
// and shape, every use of a definition is a call holding its own linked copy
// of the body, and parameters are references into the evaluation frame.
// Values are column-major: element (r, c) of an R x C value is at c * R + r.
#pragma once

#include <cstdint>

#include "nycore/system/object.h"

namespace Vexadrome::Expressions {

namespace ExprType {
enum Enum : std::int32_t { Single = 0, Matrix = 1 };
}

class ExprHandler;
class MatrixValue;
class Variable;
class UserCall;

class Expr {
public:
    Expr() = default;
    Expr(Expr const&) = delete;
    Expr& operator=(Expr const&) = delete;
    virtual int get$colCount() const { return 0; }
    virtual int get$rowCount() const { return 0; }
    virtual ExprType::Enum get$type() const { return ExprType::Single; }
    virtual void accept(ExprHandler*) {}
    virtual ~Expr() = default;
    // The place of the left operand of a binary node; none for other nodes.
    // Long chains of sums and products are walked and destroyed through it
    // with loops (see ExprHandler::visit).
    virtual Expr** leftOperand() { return nullptr; }

    int get$size() const { return get$rowCount() * get$colCount(); }
};

// The type that follows a shape: only 1 x 1 values are scalars.
inline ExprType::Enum typeOfShape(int rows, int cols)
{
    return rows == 1 && cols == 1 ? ExprType::Single : ExprType::Matrix;
}

class Single : public Expr {
public:
    int get$colCount() const override { return 1; }
    int get$rowCount() const override { return 1; }
};

class Constant : public Single {
public:
    explicit Constant(double value) : value(value) {}
    void accept(ExprHandler* handler) override;

    double value;
};

class SingleUnary : public Single {
public:
    explicit SingleUnary(Expr* operand) : operand(operand) {}
    ~SingleUnary() override { delete operand; }

    Expr* operand;
};

class Magnitude : public SingleUnary {
public:
    using SingleUnary::SingleUnary;
    void accept(ExprHandler* handler) override;
};

class SingleBinary : public Single {
public:
    SingleBinary(Expr* left, Expr* right) : left(left), right(right) {}
    ~SingleBinary() override;
    Expr** leftOperand() override { return &left; }

    Expr* left;
    Expr* right;
};

#define VEXADROME_SINGLE_BINARY(Class)                 \
    class Class : public SingleBinary {                \
    public:                                            \
        using SingleBinary::SingleBinary;              \
        void accept(ExprHandler* handler) override;    \
    };

VEXADROME_SINGLE_BINARY(SingleAdd)
VEXADROME_SINGLE_BINARY(SingleSub)
VEXADROME_SINGLE_BINARY(SingleMul)
VEXADROME_SINGLE_BINARY(SingleDiv)
VEXADROME_SINGLE_BINARY(SinglePower)
VEXADROME_SINGLE_BINARY(DotProduct)
#undef VEXADROME_SINGLE_BINARY

class Matrix : public Expr {
public:
    Matrix(int rows, int cols) : rowCount(rows), colCount(cols) {}
    int get$colCount() const override { return colCount; }
    int get$rowCount() const override { return rowCount; }
    ExprType::Enum get$type() const override { return ExprType::Matrix; }

    std::int32_t rowCount;
    std::int32_t colCount;
};

class MatrixValue : public Matrix {
public:
    // The rows * cols elements are set afterwards, column-major.
    MatrixValue(int rows, int cols);
    ~MatrixValue() override;
    void accept(ExprHandler* handler) override;

    Expr** elements;
};

// A unary matrix operation; the base shape exchanges the operand's rows and columns.
class MatrixUnary : public Matrix {
public:
    explicit MatrixUnary(Expr* operand) : Matrix(operand->get$colCount(), operand->get$rowCount()), operand(operand) {}
    ~MatrixUnary() override { delete operand; }

    Expr* operand;
};

class Transpose : public MatrixUnary {
public:
    using MatrixUnary::MatrixUnary;
    void accept(ExprHandler* handler) override;
};

// Each element divided by the magnitude of all elements, in the operand's own shape.
class Normalize : public MatrixUnary {
public:
    explicit Normalize(Expr* operand) : MatrixUnary(operand)
    {
        rowCount = operand->get$rowCount();
        colCount = operand->get$colCount();
    }
    void accept(ExprHandler* handler) override;
};

class MatrixBinary : public Matrix {
public:
    MatrixBinary(Expr* left, Expr* right) : Matrix(left->get$rowCount(), left->get$colCount()), left(left), right(right) {}
    ~MatrixBinary() override;
    Expr** leftOperand() override { return &left; }

    Expr* left;
    Expr* right;
};

class MatrixAdd : public MatrixBinary {
public:
    using MatrixBinary::MatrixBinary;
    void accept(ExprHandler* handler) override;
};

class MatrixSub : public MatrixBinary {
public:
    using MatrixBinary::MatrixBinary;
    void accept(ExprHandler* handler) override;
};

// left is the matrix, right the scalar.
class MatrixMulS : public MatrixBinary {
public:
    using MatrixBinary::MatrixBinary;
    void accept(ExprHandler* handler) override;
};

class MatrixMulM : public MatrixBinary {
public:
    MatrixMulM(Expr* left, Expr* right) : MatrixBinary(left, right) { colCount = right->get$colCount(); }
    void accept(ExprHandler* handler) override;
};

// A parameter of the function whose body is evaluated: its values start
// `offset` slots below the frame base and run upwards.
class Variable : public Expr {
public:
    Variable(int offset, int rows, int cols) : offset(offset), colCount(cols), rowCount(rows) {}
    int get$colCount() const override { return colCount; }
    int get$rowCount() const override { return rowCount; }
    ExprType::Enum get$type() const override { return typeOfShape(rowCount, colCount); }
    void accept(ExprHandler* handler) override;

    std::int32_t offset;
    std::int32_t colCount;
    std::int32_t rowCount;
};

// A built-in element-wise function (math index of the built-in table).
class MathCall : public Expr {
public:
    MathCall(Expr* operand, int index) : operand(operand), index(index) {}
    ~MathCall() override { delete operand; }
    int get$colCount() const override { return operand->get$colCount(); }
    int get$rowCount() const override { return operand->get$rowCount(); }
    ExprType::Enum get$type() const override { return typeOfShape(get$rowCount(), get$colCount()); }
    void accept(ExprHandler* handler) override;

    Expr* operand;
    std::int32_t index;
};

// A use of a user definition: the linked arguments and the callee's body
// linked for them. The body is set once the arguments are linked.
class UserCall : public Expr {
public:
    explicit UserCall(int count);
    ~UserCall() override;
    int get$colCount() const override { return body ? body->get$colCount() : 0; }
    int get$rowCount() const override { return body ? body->get$rowCount() : 0; }
    ExprType::Enum get$type() const override { return typeOfShape(get$rowCount(), get$colCount()); }
    void accept(ExprHandler* handler) override;

    std::int32_t count;
    Expr* body = nullptr;
    Expr** arguments;
};

// The visitor over linked trees. The defaults visit the children in order;
// a user call visits its arguments in order, then its body.
class ExprHandler : public NyCore::Object {
public:
    virtual void handleMathCall(Expr* operand, int index);
    virtual void handleUserCall(UserCall* call);
    virtual void handleVariable(Variable* variable);
    virtual void handleConstant(double value);
    virtual void handleMagnitude(Expr* operand);
    virtual void handleDeterminate(Expr* operand);
    virtual void handleDotProduct(Expr* left, Expr* right);
    virtual void handleSingleAdd(Expr* left, Expr* right);
    virtual void handleSingleSub(Expr* left, Expr* right);
    virtual void handleSingleMul(Expr* left, Expr* right);
    virtual void handleSingleDiv(Expr* left, Expr* right);
    virtual void handleSinglePow(Expr* left, Expr* right);
    virtual void handleMatrixVal(MatrixValue* value);
    virtual void handleInverse(Expr* operand);
    virtual void handleTranspose(Expr* operand);
    virtual void handleNormalize(Expr* operand);
    virtual void handleCross(Expr* left, Expr* right);
    virtual void handleMatrixAdd(Expr* left, Expr* right);
    virtual void handleMatrixSub(Expr* left, Expr* right);
    virtual void handleMatrixMulS(Expr* left, Expr* right);
    virtual void handleMatrixMulM(Expr* left, Expr* right);

protected:
    // node->accept(this), in the same order, but a chain of binary nodes down
    // their left operands is walked in a loop: its deepest left operand is
    // visited first, then each link from the bottom up, whose own visit of its
    // left operand then does nothing. Recursion follows only the other children.
    void visit(Expr* node)
    {
        if (node == doneLeft)
            doneLeft = nullptr;
        else if (Expr** left = node->leftOperand(); left && (*left)->leftOperand())
            visitChain(node);
        else
            node->accept(this);
    }
    void visitBoth(Expr* left, Expr* right)
    {
        visit(left);
        visit(right);
    }

private:
    void visitChain(Expr* node);

    Expr* doneLeft = nullptr;
};

}
