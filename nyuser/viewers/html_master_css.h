// The master stylesheet of the HTML viewer: the look every page starts from
// before its own styles (block and inline elements, headings, lists, tables,
// code, links), since the layout engine brings none of its own.
#pragma once

namespace NyUser::Viewers {

// UTF-8 CSS text.
extern char const* const HtmlMasterCss;

}
