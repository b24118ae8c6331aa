// Function: a stored user definition, a list of parameter names and the
// unlinked body. A variable is a Function without parameters.
#pragma once

#include "nycore/collection/link_vector.h"
#include "nycore/system/counted_object.h"
#include "vexadrome/expressions/prelink.h"

namespace Vexadrome::Parsing {
class Scanner;
struct TokenData;
}

namespace Vexadrome::Expressions {

class Function : public NyCore::Extenders::CountedObject {
    NY_REFLECTIVE(Function)
public:
    Function() = default;
    ~Function() override;

    // Appends a copy of the name; false (and nothing added) when it is already a parameter.
    bool addParam(NyCore::String const* name);
    bool addParam(Parsing::Scanner const* scanner, Parsing::TokenData const* token);
    bool findParam(NyCore::String const* name) const;
    // The index of the parameter, or -1.
    int indexOfParam(NyCore::String const* name) const;
    int get$paramCount() const { return parameters.get$count(); }
    NyCore::String const* getParam(int i) const { return parameters.get(i); }

    // Takes ownership of the body, destroying an earlier one.
    void setBody(Prelink* newBody);

    NyCore::Collections::LinkVector<NyCore::String> parameters;
    Prelink* body = nullptr;
};

}
