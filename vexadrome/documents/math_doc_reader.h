// MathDocReader: the one reading path for every document file. It opens and
// parses a file, recognises the kind of document by the root element
// ("graph" or "command"), and offers the attribute readers both formats share.
#pragma once

#include <cstdint>
#include <string_view>

#include "nycore/text/string.h"
#include "nycore/xml/xml_node.h"
#include "nyuser/models/document.h"
#include "vexadrome/documents/document_host.h"

namespace Vexadrome::Documents {

// One entry of an enumeration's name table: the name used in files and dialogs and its value.
struct EnumName {
    char16_t const* name;
    std::int32_t value;
};

// The name tables of the graph enumerations, indexed by value.
// GraphMode: euclidian 0, polar 1, spherical 2.
extern EnumName const GraphModeNames[3];
// ExprRendMode: wireframe 0, filled 1, points 2.
extern EnumName const RendModeNames[3];
// ExprMaterial: plastic 0, metal 1, rubber 2, flat 3.
extern EnumName const MaterialNames[4];

// The numeric attribute that did not hold a number of its kind and stands
// first in the file (readers meet attributes in their own order).
struct AttrFailure {
    NyCore::XML::Element const* element = nullptr;
    char16_t const* name = nullptr;
    // What is wrong with the value, e.g. "is not a number".
    char16_t const* problem = nullptr;
    // Where the value stands in the parsed text; -1 when not known.
    int offset = -1;

    bool hasFailed() const { return element != nullptr; }
    // The reason a load fails with: the attribute, its element, the line and
    // column of its value in source (the units the file was parsed from;
    // without them, no position) and the problem. A new String.
    NyCore::String* describe(std::u16string_view source) const;
};

class MathDocReader {
public:
    // Opens the file (a UTF-16 byte-order mark is honoured, otherwise one byte
    // per character; only a regular file of at most 64 MB), parses it with
    // white-space trimming and reads it. The document gets `path` as its file
    // name and belongs to the caller. An unreadable or malformed file, one
    // that holds no known document or a number attribute that is not a
    // number, gives null and, when reason is not null, a new String saying why.
    static NyUser::Models::Document* load(NyCore::String const* path, DocumentHost* host,
                                          NyCore::String** reason = nullptr);
    // Builds the document that the root element names ("graph": a GraphDoc,
    // "command": a CommandDoc; names compared exactly) and titles it from the
    // root's "title" attribute (empty when missing). Null, with the reason,
    // for any other root or a document without one. source, when given, is
    // the text xml was parsed from, for positions in reasons.
    static NyUser::Models::Document* read(NyCore::XML::Document* xml, DocumentHost* host,
                                          NyCore::String** reason = nullptr, std::u16string_view source = {});

    // One attribute, or defaultValue when the element has no such attribute.
    // Booleans are true exactly for "true" in any case.
    static bool readBoolAttr(NyCore::XML::Element const* element, char16_t const* name, bool defaultValue);
    // Numbers are an optional sign, digits with at most one point and an
    // optional exponent ("-2.5e-1", "+3", "1.", ".5"); integers must come out
    // whole and within 32 bits ("1e2" is 100). Any other text gives
    // defaultValue and is recorded in failure, unless failure holds one that
    // stands earlier in the file.
    static std::int32_t readInt32Attr(NyCore::XML::Element const* element, char16_t const* name,
                                      std::int32_t defaultValue, AttrFailure* failure);
    // A 32-bit real is read as a 64-bit one and narrowed; one beyond the
    // 32-bit range fails.
    static float readFloat32Attr(NyCore::XML::Element const* element, char16_t const* name, float defaultValue,
                                 AttrFailure* failure);
    static double readFloat64Attr(NyCore::XML::Element const* element, char16_t const* name, double defaultValue,
                                  AttrFailure* failure);

    // The value of the first entry of the table whose name equals text without
    // regard to case; defaultValue for a null text or one that matches none.
    static std::int32_t parseEnumValue(NyCore::String const* text, std::int32_t defaultValue, EnumName const* table,
                                       int count);
    // Enumeration attributes by name (the tables above); the values are the
    // numbers of GraphMode, ExprRendMode and ExprMaterial.
    static std::int32_t readGraphModeAttr(NyCore::XML::Element const* element, char16_t const* name,
                                          std::int32_t defaultValue);
    static std::int32_t readRendModeAttr(NyCore::XML::Element const* element, char16_t const* name,
                                         std::int32_t defaultValue);
    static std::int32_t readMaterialAttr(NyCore::XML::Element const* element, char16_t const* name,
                                         std::int32_t defaultValue);
};

}
