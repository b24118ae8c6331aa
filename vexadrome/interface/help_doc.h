// HelpDoc: a help page open in a tab. It holds the page's full path, is never
// modified and writes nothing; its view is a HelpView showing the page.
#pragma once

#include "nyuser/models/document.h"

namespace Vexadrome::Interface {

class VexadromeApp;

class HelpDoc : public NyUser::Models::Document {
    NY_REFLECTIVE(HelpDoc)
public:
    static NyCore::String const* const Title;
    static NyCore::String const* const ViewTypeName;

    // Keeps a copy of the page's full path.
    HelpDoc(VexadromeApp* app, NyCore::String const* uri);
    ~HelpDoc() override;

    void writeTo(NyCore::IO::StreamWriter* writer) override;
    bool get$isModified() const override;
    // Asks the application for a HelpView titled like the document, gives it
    // the application and opens the page in it; null when no view was made.
    NyCore::Object* createDefaultView() override;
    NyCore::String const* get$uri() const { return uri; }

private:
    VexadromeApp* app;
    NyCore::String* uri;
};

}
