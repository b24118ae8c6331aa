// The stacked splitter's record.
#include "nyuser/views/v_splitter.h"

namespace NyUser::Views {

NyCore::TypeData VSplitter::MetaData = {&Splitter::MetaData, nullptr, u"NyUser.Views.VSplitter"_str,
                                        NyCore::NoMethods, NyCore::NoEvents, &VSplitter::__create,
                                        sizeof(VSplitter), 0, nullptr};

NyCore::Object* VSplitter::__create()
{
    return new VSplitter();
}

}
