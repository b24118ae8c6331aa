// The style classes the toolkit registers.
#include "nycore/data/data_renderer.h"
#include "nytoolkit/styles/style.h"
#include "nytoolkit/toolkit_types.h"

namespace NyToolkit {

NyCore::TypeData* const StyleTypes[] = {&IconSet::MetaData,        &ImageContainer::MetaData,
                                        &StyleContainer::MetaData, &ConstStyle::MetaData,
                                        &Style::MetaData,          &NyCore::Data::DataRenderer::MetaData,
                                        nullptr};

}
