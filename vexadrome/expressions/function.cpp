// Stored definitions: parameter names and their unlinked body.
#include "vexadrome/expressions/function.h"

#include "nycore/text/string_functions.h"
#include "vexadrome/parsing/scanner.h"

namespace Vexadrome::Expressions {

NyCore::TypeData Function::MetaData = {&NyCore::Extenders::CountedObject::MetaData, nullptr, u"Vexadrome.Expressions.Function"_str,
                                      NyCore::NoMethods, NyCore::NoEvents, nullptr, sizeof(Function), 0, nullptr};

Function::~Function()
{
    for (int i = 0; i < parameters.get$count(); ++i)
        string_free(parameters.get(i));
    delete body;
}

bool Function::addParam(NyCore::String const* name)
{
    if (findParam(name))
        return false;
    parameters.append(string_copy(name));
    return true;
}

bool Function::addParam(Parsing::Scanner const* scanner, Parsing::TokenData const* token)
{
    NyCore::String* name = scanner->tokenToString(token);
    bool added = addParam(name);
    string_free(name);
    return added;
}

bool Function::findParam(NyCore::String const* name) const
{
    return indexOfParam(name) >= 0;
}

int Function::indexOfParam(NyCore::String const* name) const
{
    for (int i = 0; i < parameters.get$count(); ++i) {
        if (string_compare(parameters.get(i), name) == 0)
            return i;
    }
    return -1;
}

void Function::setBody(Prelink* newBody)
{
    if (newBody != body)
        delete body;
    body = newBody;
}

}
