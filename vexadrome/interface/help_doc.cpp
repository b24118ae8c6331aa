// The help document: a page path and the view that shows it.
#include "vexadrome/interface/help_doc.h"

#include "nycore/text/string_functions.h"
#include "vexadrome/interface/help_view.h"
#include "vexadrome/interface/vexadrome_app.h"

namespace Vexadrome::Interface {

NyCore::TypeData HelpDoc::MetaData = {&NyUser::Models::Document::MetaData, nullptr,
                                      u"Vexadrome.Interface.HelpDoc"_str, NyCore::NoMethods, NyCore::NoEvents,
                                      nullptr, sizeof(HelpDoc), 0, nullptr};

NyCore::String const* const HelpDoc::Title = u"Vexadrome Help"_str;
NyCore::String const* const HelpDoc::ViewTypeName = u"Vexadrome.Interface.HelpView"_str;

HelpDoc::HelpDoc(VexadromeApp* app, NyCore::String const* uri)
    : Document(app), app(app), uri(string_copy(uri))
{
}

HelpDoc::~HelpDoc()
{
    string_free(uri);
}

void HelpDoc::writeTo(NyCore::IO::StreamWriter*) {}

bool HelpDoc::get$isModified() const
{
    return false;
}

NyCore::Object* HelpDoc::createDefaultView()
{
    NyCore::Object* created = app->createNewView(ViewTypeName, get$title(), 0);
    auto* view = dynamic_cast<HelpView*>(created);
    if (!view)
        return created;
    view->set$application(app);
    view->openUri(uri);
    return view;
}

}
