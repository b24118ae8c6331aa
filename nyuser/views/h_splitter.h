// HSplitter: a splitter whose panes stand side by side; flag 4 makes a pane
// share the remaining width, and its bars are dragged left and right.
#pragma once

#include "nyuser/views/splitter.h"

namespace NyUser::Views {

class HSplitter : public Splitter {
    NY_REFLECTIVE(HSplitter)
public:
    HSplitter() : Splitter(true) {}
    static NyCore::Object* __create();
};

}
