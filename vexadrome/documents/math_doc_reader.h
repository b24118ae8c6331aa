// MathDocReader: the one reading path for every document file. It opens and
// parses a file, recognises the kind of document by the root element
// ("graph" or "command"), and offers the attribute readers both formats share.
#pragma once

#include <cstdint>

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

class MathDocReader {
public:
    // Opens the file (a UTF-16 byte-order mark is honoured, otherwise one byte
    // per character), parses it with white-space trimming and reads it. The
    // document gets `path` as its file name and belongs to the caller. An
    // unreadable or malformed file, or one that holds no known document,
    // gives null and, when reason is not null, a new String saying why.
    static NyUser::Models::Document* load(NyCore::String const* path, DocumentHost* host,
                                          NyCore::String** reason = nullptr);
    // Builds the document that the root element names ("graph": a GraphDoc,
    // "command": a CommandDoc; names compared exactly) and titles it from the
    // root's "title" attribute (empty when missing). Null, with the reason,
    // for any other root or a document without one.
    static NyUser::Models::Document* read(NyCore::XML::Document* xml, DocumentHost* host,
                                          NyCore::String** reason = nullptr);

    // One attribute, or defaultValue when the element has no such attribute.
    // Booleans are true exactly for "true" in any case; integers are read in
    // base 10 and reals with the core's conversion; a 32-bit real is read as a
    // 64-bit one and narrowed.
    static bool readBoolAttr(NyCore::XML::Element const* element, char16_t const* name, bool defaultValue);
    static std::int32_t readInt32Attr(NyCore::XML::Element const* element, char16_t const* name,
                                      std::int32_t defaultValue);
    static float readFloat32Attr(NyCore::XML::Element const* element, char16_t const* name, float defaultValue);
    static double readFloat64Attr(NyCore::XML::Element const* element, char16_t const* name, double defaultValue);

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
