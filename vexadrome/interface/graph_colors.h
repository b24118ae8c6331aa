// The graph colour palette as the dialogs offer it: one list entry per
// swatch of the colour icon file, entry i standing for colour index i of a
// graph document.
#pragma once

#include "nytoolkit/lists/list_contents.h"

namespace Vexadrome::Interface {

// The swatch file the entries draw from.
extern NyCore::String const* const GraphColorIconsFile;

// A new list (count 1, the caller's) with an unlabelled entry per swatch.
NyToolkit::ListContents* createGraphColorList();

}
