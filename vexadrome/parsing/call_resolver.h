// CallResolver: what the parser does when a name is followed by "(". It tells
// the literals "vector" and "matrix", the built-in functions of gFnTable and
// calls of user functions apart, and reads their arguments through the parser.
#pragma once

#include "nycore/collection/link_vector.h"
#include "nycore/text/string.h"
#include "vexadrome/expressions/prelink.h"
#include "vexadrome/parsing/error.h"
#include "vexadrome/parsing/scanner.h"

namespace Vexadrome::Parsing {

class ExprParser;

class CallResolver {
public:
    using ArgumentList = NyCore::Collections::LinkVector<Expressions::Prelink>;
    // Builds a built-in's node from the name's start, the math index and the
    // first and second arguments (absent when the built-in takes fewer).
    using NodeBuilder = Expressions::Prelink* (*)(int start, int mathIndex, Expressions::Prelink* first,
                                                  Expressions::Prelink* second);

    struct BuiltinFunction {
        NyCore::String const* name;
        int mathIndex;   // -1 for the built-ins that are not math calls
        int argumentCount;
        NodeBuilder resolve;
    };

    static constexpr int FnTableCount = 21;
    // Searched in order; the first row whose name equals the called name exactly is used.
    static BuiltinFunction const gFnTable[FnTableCount];

    // Called with the scanner just after the "(" that follows the name; on
    // success the scanner is just after the call's closing ")". Returns the
    // node for the whole call, or null.
    static Expressions::Prelink* resolveFunction(ExprParser* parser, Scanner* scanner, TokenData* name, Error* error);

private:
    CallResolver(ExprParser* parser, Scanner* scanner, Error* error) : parser(parser), scanner(scanner), error(error) {}

    // Reads a comma-separated argument list up to and including its ")",
    // appending each argument; the count, or -1 once everything in the list
    // has been destroyed.
    int parseParameters(ArgumentList* list);
    // Reads the rows of a matrix literal into the list, row after row.
    bool parseMatrixContent(ArgumentList* list, int& rows, int& cols);
    Expressions::Prelink* resolveVectorValue(TokenData const* name);
    Expressions::Prelink* resolveMatrixValue(TokenData const* name);
    Expressions::Prelink* resolveInternalFn(TokenData const* name, int row);
    Expressions::Prelink* resolveUserCall(TokenData const* name);
    // The row of gFnTable named like the token, or -1.
    int matchInternalName(TokenData const* name) const;
    // Destroys every node in the list and empties it.
    static void cleanupParameters(ArgumentList* list);
    // The height of a node built over the list's nodes, admitted by the parser.
    bool admitOver(ArgumentList const* list, TokenData const* name);

    static Expressions::Prelink* buildMathCall(int start, int mathIndex, Expressions::Prelink* first, Expressions::Prelink*);
    static Expressions::Prelink* buildMagnitude(int start, int, Expressions::Prelink* first, Expressions::Prelink*);
    static Expressions::Prelink* buildNormalize(int start, int, Expressions::Prelink* first, Expressions::Prelink*);
    static Expressions::Prelink* buildTranspose(int start, int, Expressions::Prelink* first, Expressions::Prelink*);
    static Expressions::Prelink* buildPower(int start, int, Expressions::Prelink* first, Expressions::Prelink* second);
    static Expressions::Prelink* buildDotProduct(int start, int, Expressions::Prelink* first, Expressions::Prelink* second);

    ExprParser* parser;
    Scanner* scanner;
    Error* error;
};

}
