// The side-by-side splitter's record.
#include "nyuser/views/h_splitter.h"

namespace NyUser::Views {

NyCore::TypeData HSplitter::MetaData = {&Splitter::MetaData, nullptr, u"NyUser.Views.HSplitter"_str,
                                        NyCore::NoMethods, NyCore::NoEvents, &HSplitter::__create,
                                        sizeof(HSplitter), 0, nullptr};

NyCore::Object* HSplitter::__create()
{
    return new HSplitter();
}

}
