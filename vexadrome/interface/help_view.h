// HelpView: the HTML viewer of a help tab. Pages link to each other and the
// viewer follows; links of the "vexadrome://" scheme open a sample document
// of the application in a tab of its own and leave the page where it is.
#pragma once

#include "nyuser/viewers/html_viewer.h"

namespace Vexadrome::Interface {

class VexadromeApp;

class HelpView : public NyUser::Viewers::HTMLViewer {
    NY_REFLECTIVE(HelpView)
public:
    static NyCore::String const* const Scheme;
    // The page a missing page leads back to.
    static NyCore::String const* const IndexPage;

    HelpView() = default;
    static NyCore::Object* __create();

    void set$application(VexadromeApp* app) { application = app; }
    VexadromeApp* get$application() const { return application; }
    // "vexadrome://NAME" (the scheme in any case) opens NAME as a sample and
    // answers false; everything else, the bare scheme too, answers true.
    bool onLinkClicked(NyCore::String const* uri) override;
    // The viewer's "page not found" page with a link back to the help index.
    NyCore::String* describeMissingPage(NyCore::String const* uri) override;

private:
    VexadromeApp* application = nullptr;
};

}
