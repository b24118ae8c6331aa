// Simple paths into the XML tree ("variables/variable/@name", "text()") and
// the comparison of nodes by such a path, for sorting.
#pragma once

#include <cstdint>

#include "nycore/xml/xml_node.h"

namespace NyCore::XML {

// Orders nodes by the string a path yields from each. Mode 1 compares the
// strings as numbers, mode 2 finds all equal, any other mode compares text.
struct SortKey {
    char16_t const* path;
    std::int32_t mode;
};

}

// Follows the path from node: steps separated by "/", the last one ending at
// ";" or the path's end. "./" stays, "../" climbs; "@name" yields the current
// element's attribute and "text()" the content of its first text child; any
// other step moves to the first child element of that name, and as the last
// step yields that element's name. None when a step finds nothing.
NyCore::String const* xml_follow_xpath(NyCore::XML::Node const* node, char16_t const* path);
// True when the pattern's units up to `terminator` (or its end) begin the path
// and the path continues there with its end, "/" or ";".
bool xml_match_xpath(char16_t const* path, char16_t const* pattern, char16_t terminator);
// -1 when a yields nothing by the key's path, else 1 when b yields nothing;
// otherwise -1, 0 or 1 by the key's mode.
int xml_compare(NyCore::XML::Node const* a, NyCore::XML::Node const* b, NyCore::XML::SortKey const* key);
// Accepted and does nothing.
void xml_sort_children(NyCore::XML::Node* node, NyCore::XML::SortKey const* key);
