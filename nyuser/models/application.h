// Application: the base of a program's application object. A derived
// application creates views for its documents and runs the event loop.
#pragma once

#include "nycore/system/object.h"

namespace NyUser::Models {

class Application : public NyCore::Object {
    NY_REFLECTIVE(Application)
public:
    // A new view of the registered widget type `typeName` for a document,
    // shown under `title`; none in the base.
    virtual NyCore::Object* createNewView(NyCore::String const* typeName, NyCore::String const* title, int flags);
    virtual void setViewTitle(NyCore::Object* view, NyCore::String const* title);
    virtual void startup();
    virtual void shutdown();
    // Runs the event loop; the result is the process's exit code.
    virtual int execute();
};

}
