// Helpers for the linker tests: a definition store filled from text, parsing
// of typed expressions, and a compact printer of linked trees
// ("(smul (call [] 2) 3)") that also counts the nodes it prints.
#pragma once

#include <algorithm>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "nycore/collection/string_map.h"
#include "nycore/text/string_functions.h"
#include "tests/support/strings.h"
#include "vexadrome/expressions/expr.h"
#include "vexadrome/expressions/function.h"
#include "vexadrome/parsing/expr_parser.h"

namespace LinkTestSupport {

using Vexadrome::Expressions::Expr;
using Vexadrome::Expressions::Function;
using Vexadrome::Expressions::Prelink;
using Vexadrome::Parsing::Error;

// Parses text as one expression; null (with a test failure) when it does not parse.
inline Prelink* parseText(std::u16string const& text)
{
    NyCore::String* source = TestSupport::makeString(text);
    Error error;
    Prelink* tree = Vexadrome::Parsing::ExprParser::parse(source, &error);
    string_free(source);
    EXPECT_NE(tree, nullptr) << "does not parse: " << TestSupport::toUtf8(text) << " code " << error.code;
    return tree;
}

// prefix followed by the decimal digits of n: numbered(u"d", 12) is d12.
inline std::u16string numbered(char16_t const* prefix, int n)
{
    std::string digits = std::to_string(n);
    return prefix + std::u16string(digits.begin(), digits.end());
}

// A store of definitions written "name = body" or "name(p, q) = body".
class Definitions {
public:
    Definitions() = default;
    Definitions(std::initializer_list<std::u16string> texts)
    {
        for (auto const& text : texts)
            define(text);
    }
    ~Definitions()
    {
        map.visit([](char16_t const*, Function*& function) { delete function; });
    }

    void define(std::u16string const& text)
    {
        std::size_t equals = text.find(u'=');
        ASSERT_NE(equals, std::u16string::npos);
        std::u16string head = trim(text.substr(0, equals));
        auto* function = new Function();
        std::size_t open = head.find(u'(');
        std::u16string name = trim(head.substr(0, open));
        if (open != std::u16string::npos) {
            std::u16string list = head.substr(open + 1, head.find(u')') - open - 1);
            for (std::size_t at = 0; !trim(list).empty() && at <= list.size();) {
                std::size_t comma = std::min(list.find(u',', at), list.size());
                NyCore::String* param = TestSupport::makeString(trim(list.substr(at, comma - at)));
                function->addParam(param);
                string_free(param);
                at = comma + 1;
            }
        }
        function->setBody(parseText(text.substr(equals + 1)));
        NyCore::String* key = TestSupport::makeString(name);
        if (map.exists(key)) {
            delete map.item(key);
            map.remove(key);
        }
        map.add(key, function);
        string_free(key);
    }

    NyCore::Collections::StringMap<Function*>* get() { return &map; }

private:
    static std::u16string trim(std::u16string const& s)
    {
        std::size_t first = s.find_first_not_of(u' ');
        if (first == std::u16string::npos)
            return u"";
        return s.substr(first, s.find_last_not_of(u' ') - first + 1);
    }

    NyCore::Collections::StringMap<Function*> map;
};

class ExprPrinter : public Vexadrome::Expressions::ExprHandler {
public:
    static std::string print(Expr* root, int* nodeCount = nullptr)
    {
        if (!root)
            return "<null>";
        ExprPrinter printer;
        printer.show(root);
        if (nodeCount)
            *nodeCount = printer.nodes;
        return printer.out;
    }

    void handleConstant(double value) override
    {
        char text[32];
        std::snprintf(text, sizeof text, "%g", value);
        out += text;
    }
    void handleVariable(Vexadrome::Expressions::Variable* variable) override
    {
        out += "$" + std::to_string(variable->offset);
        if (variable->rowCount != 1 || variable->colCount != 1)
            out += ":" + shapeOf(variable);
    }
    void handleUserCall(Vexadrome::Expressions::UserCall* call) override
    {
        out += "(call [";
        for (int i = 0; i < call->count; ++i) {
            if (i > 0)
                out += " ";
            show(call->arguments[i]);
        }
        out += "] ";
        show(call->body);
        out += ")";
    }
    void handleMathCall(Expr* operand, int index) override { node("f" + std::to_string(index), {operand}); }
    void handleMatrixVal(Vexadrome::Expressions::MatrixValue* value) override
    {
        out += "(mat " + shapeOf(value);
        for (int i = 0; i < value->rowCount * value->colCount; ++i) {
            out += " ";
            show(value->elements[i]);
        }
        out += ")";
    }
    void handleMagnitude(Expr* operand) override { node("mag", {operand}); }
    void handleTranspose(Expr* operand) override { node("tr", {operand}); }
    void handleNormalize(Expr* operand) override { node("norm", {operand}); }
    void handleDotProduct(Expr* left, Expr* right) override { node("dot", {left, right}); }
    void handleSingleAdd(Expr* left, Expr* right) override { node("sadd", {left, right}); }
    void handleSingleSub(Expr* left, Expr* right) override { node("ssub", {left, right}); }
    void handleSingleMul(Expr* left, Expr* right) override { node("smul", {left, right}); }
    void handleSingleDiv(Expr* left, Expr* right) override { node("sdiv", {left, right}); }
    void handleSinglePow(Expr* left, Expr* right) override { node("spow", {left, right}); }
    void handleMatrixAdd(Expr* left, Expr* right) override { node("madd", {left, right}); }
    void handleMatrixSub(Expr* left, Expr* right) override { node("msub", {left, right}); }
    void handleMatrixMulS(Expr* left, Expr* right) override { node("mmuls", {left, right}); }
    void handleMatrixMulM(Expr* left, Expr* right) override { node("mmulm", {left, right}); }

private:
    static std::string shapeOf(Expr const* e) { return std::to_string(e->get$rowCount()) + "x" + std::to_string(e->get$colCount()); }

    void show(Expr* e)
    {
        ++nodes;
        current = e;
        e->accept(this);
    }
    // Matrix-typed nodes show their shape after the name: "(mmuls:2x1 ...)".
    void node(std::string const& name, std::initializer_list<Expr*> children)
    {
        Expr* self = current;
        out += "(" + name;
        if (self->get$type() == Vexadrome::Expressions::ExprType::Matrix)
            out += ":" + shapeOf(self);
        for (Expr* child : children) {
            out += " ";
            show(child);
        }
        out += ")";
    }

    std::string out;
    int nodes = 0;
    Expr* current = nullptr;
};

}
