// Fuzzes the parser: any text, read as UTF-8, parsed as an expression and as
// a definition. Nothing may crash, leak or trip a sanitizer.
#include <cstddef>
#include <cstdint>

#include "nycore/text/string_functions.h"
#include "vexadrome/documents/expr_manager.h"
#include "vexadrome/parsing/expr_parser.h"

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size)
{
    NyCore::String* text = string_from_utf8(reinterpret_cast<char const*>(data), static_cast<int>(size));
    Vexadrome::Parsing::Error error;
    delete Vexadrome::Parsing::ExprParser::parse(text, &error);
    Vexadrome::Documents::ExprManager store;
    Vexadrome::Parsing::Error definitionError;
    store.setFunction(text, &definitionError);
    string_free(text);
    return 0;
}
