// The views classes the framework registers.
#include "nyuser/user_types.h"
#include "nyuser/views/h_splitter.h"
#include "nyuser/views/multi_view.h"
#include "nyuser/views/splitter.h"
#include "nyuser/views/v_splitter.h"
#include "nyuser/views/view_tabs.h"

namespace NyUser {

NyCore::TypeData* const ViewTypes[] = {&Views::ViewTabs::MetaData,  &Views::MultiView::MetaData,
                                       &Views::Splitter::MetaData,  &Views::HSplitter::MetaData,
                                       &Views::VSplitter::MetaData, nullptr};

}
