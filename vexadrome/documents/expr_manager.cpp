// Storing definitions and evaluating expressions against the store.
#include "vexadrome/documents/expr_manager.h"

#include "nycore/system/memory.h"
#include "nycore/text/string_functions.h"
#include "vexadrome/actions/expr_value_calculator.h"
#include "vexadrome/actions/prelink_expr_linker.h"
#include "vexadrome/parsing/expr_parser.h"
#include "vexadrome/parsing/scanner.h"

namespace Vexadrome::Documents {

using Expressions::Function;
using Parsing::Error;
using Parsing::Scanner;
using Parsing::TokenData;
namespace TokenKind = Parsing::TokenKind;
namespace ErrorCode = Parsing::ErrorCode;

ExprManager::~ExprManager()
{
    functions.visit([](char16_t const*, Function*& function) { delete function; });
}

Function* ExprManager::getFunction(NyCore::String const* name)
{
    return functions.exists(name) ? functions.item(name) : nullptr;
}

void ExprManager::setFunction(NyCore::String const* name, Function* function)
{
    if (functions.exists(name)) {
        Function*& stored = functions.item(name);
        if (stored != function)
            delete stored;
        stored = function;
    } else {
        functions.add(name, function);
    }
}

bool ExprManager::evaulateExpr(NyCore::String const* text, Actions::ExprValueCalculator* calculator, Error* error)
{
    Expressions::Prelink* tree = Parsing::ExprParser::parse(text, error);
    if (!tree)
        return !error->hasCode();
    Expressions::Expr* linked = Actions::PrelinkExprLinker::link(tree, &functions, error);
    if (linked) {
        calculator->bindTo(linked);
        calculator->calculate(error);
        delete linked;
    }
    delete tree;
    return !error->hasCode();
}

int ExprManager::validateParamList(Scanner* scanner, Error* error)
{
    if (scanner->getNextToken() == u')')
        return 0;
    int count = 0;
    for (;;) {
        if (scanner->token.kind != TokenKind::Name) {
            error->setValue(scanner, ErrorCode::MalformedExpression);
            return -1;
        }
        ++count;
        int next = scanner->getNextToken();
        if (next == u')')
            return count;
        if (next != u',') {
            error->setValue(scanner, ErrorCode::MalformedExpression);
            return -1;
        }
        scanner->getNextToken();
    }
}

Function* ExprManager::readParamList(Scanner* scanner, Error* error)
{
    int next = scanner->getNextToken();
    if (next == u'=')
        return new Function();
    if (next != u'(') {
        error->setValue(scanner, ErrorCode::MalformedExpression);
        return nullptr;
    }
    int const listStart = scanner->position;
    if (validateParamList(scanner, error) < 0)
        return nullptr;
    if (scanner->getNextToken() != u'=') {
        error->setValue(scanner, ErrorCode::MalformedExpression);
        return nullptr;
    }
    int const bodyStart = scanner->position;

    // Read the names again, now that the list is known to be well formed.
    auto* function = new Function();
    scanner->position = listStart;
    TokenData name;
    while (scanner->getNextToken(&name) == TokenKind::Name) {
        if (!function->addParam(scanner, &name)) {
            error->setValue(scanner, ErrorCode::DuplicateParam);
            delete function;
            return nullptr;
        }
        scanner->getNextToken();  // ',' or ')'
    }
    scanner->position = bodyStart;
    return function;
}

bool ExprManager::setFunction(NyCore::String const* text, Error* error)
{
    Scanner scanner(text);
    TokenData name;
    if (scanner.getNextToken(&name) != TokenKind::Name) {
        error->setValue(&scanner, ErrorCode::MalformedExpression);
        return false;
    }
    Function* function = readParamList(&scanner, error);
    if (!function) {
        error->setCode(ErrorCode::InvalidAssignment);
        error->setLocation(name.start, name.length);
        return false;
    }
    Expressions::Prelink* body = Parsing::ExprParser::parseComplete(&scanner, error);
    if (!body || error->hasCode()) {
        delete body;
        delete function;
        return false;
    }
    function->setBody(body);
    NyCore::String* key = scanner.tokenToString(&name);
    setFunction(key, function);
    string_free(key);
    return true;
}

bool ExprManager::createLinkedFn(NyCore::String const* text, NyCore::String const* const* names, int count,
                                 LinkedFn* fn, Error* error)
{
    *fn = LinkedFn{};
    Expressions::Prelink* tree = Parsing::ExprParser::parse(text, error);
    if (!tree) {
        // Text without any expression in it (blanks only) yields no tree and no error.
        if (!error->hasCode())
            error->setCode(ErrorCode::MalformedExpression);
        return false;
    }
    auto* function = new Function();
    function->setBody(tree);
    for (int i = 0; i < count; ++i) {
        if (!function->addParam(names[i])) {
            error->setCode(ErrorCode::DuplicateParam);
            delete function;
            return false;
        }
    }
    auto* call = new Expressions::UserCall(count);
    for (int i = 0; i < count; ++i)
        call->arguments[i] = new Expressions::Constant(1.0);
    Expressions::Expr* body = Actions::PrelinkExprLinker::link(function, call, &functions, error);
    delete function;
    if (!body) {
        delete call;
        return false;
    }
    call->body = body;
    fn->argCount = count;
    fn->expr = call;
    if (count > 0) {
        std::size_t const size = sizeof(Expressions::Constant*) * static_cast<std::size_t>(count);
        fn->args = static_cast<Expressions::Constant**>(memory_alloc(size));
        for (int i = 0; i < count; ++i)
            fn->args[i] = static_cast<Expressions::Constant*>(call->arguments[i]);
    }
    return true;
}

}
