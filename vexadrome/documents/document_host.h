// DocumentHost: what documents need of the program around them. The shared
// definition store, and (through the framework's Application) the creation
// of views. The windowed application implements it; batch use and tests
// implement it without any window.
#pragma once

#include "nycore/system/widget.h"
#include "nyuser/models/application.h"
#include "vexadrome/documents/expr_manager.h"

namespace Vexadrome::Documents {

class DocumentHost : public NyUser::Models::Application {
public:
    virtual ExprManager* get$store() = 0;
    // The window that documents' dialogs open over; null without windows.
    virtual NyCore::System::Widget* get$dialogOwner() { return nullptr; }
};

}
