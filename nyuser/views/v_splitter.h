// VSplitter: a splitter whose panes lie one above the other; flag 8 makes a
// pane share the remaining height, and its bars are dragged up and down.
#pragma once

#include "nyuser/views/splitter.h"

namespace NyUser::Views {

class VSplitter : public Splitter {
    NY_REFLECTIVE(VSplitter)
public:
    VSplitter() : Splitter(false) {}
    static NyCore::Object* __create();
};

}
