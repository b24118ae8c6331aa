// The colour list of the graph dialogs, built from the swatch file.
#include "vexadrome/interface/graph_colors.h"

namespace Vexadrome::Interface {

NyCore::String const* const GraphColorIconsFile = u"icons/colors.icons"_str;

NyToolkit::ListContents* createGraphColorList()
{
    auto* list = new NyToolkit::ListContents();
    NyToolkit::IconSet* swatches = NyToolkit::IconSet::load(GraphColorIconsFile);
    for (int i = 0; i < swatches->get$count(); ++i)
        list->append(nullptr, nullptr, i);
    list->set$icons(swatches);
    swatches->release();
    return list;
}

}
