// The help tab's viewer: the sample links and the way back from a missing page.
#include "vexadrome/interface/help_view.h"

#include "nycore/system/owned.h"
#include "nycore/text/string_functions.h"
#include "vexadrome/interface/help_paths.h"
#include "vexadrome/interface/vexadrome_app.h"

namespace Vexadrome::Interface {

namespace {

using OwnedString = NyCore::Owned<NyCore::String, string_free>;

}

NyCore::TypeData HelpView::MetaData = {&NyUser::Viewers::HTMLViewer::MetaData, nullptr,
                                       u"Vexadrome.Interface.HelpView"_str, NyCore::NoMethods, NyCore::NoEvents,
                                       &HelpView::__create, sizeof(HelpView), 0, nullptr};

NyCore::String const* const HelpView::Scheme = u"vexadrome://"_str;
NyCore::String const* const HelpView::IndexPage = u"help/index.htm"_str;

NyCore::Object* HelpView::__create()
{
    return new HelpView();
}

bool HelpView::onLinkClicked(NyCore::String const* uri)
{
    if (!uri || uri->count <= Scheme->count)
        return true;
    OwnedString head(string_left(uri, Scheme->count));
    if (string_cmp_nocase(head.get(), Scheme) != 0)
        return true;
    OwnedString sample(string_right(uri, uri->count - Scheme->count));
    if (application)
        application->openSampleFile(sample.get());
    return false;
}

NyCore::String* HelpView::describeMissingPage(NyCore::String const* uri)
{
    OwnedString page(HTMLViewer::describeMissingPage(uri));
    OwnedString base(string_copy(application ? application->get$baseDir() : u""_str));
    OwnedString index(findHelpPage(base.get(), IndexPage));
    OwnedString link(html_helper_escape(index.get()));
    // The link goes in before the end of the body.
    int const end = string_index_of(page.get(), u"</body>"_str, 0, false);
    OwnedString head(string_left(page.get(), end));
    OwnedString withLink(string_append(head.get(), u"<p><a href=\""_str));
    OwnedString linked(string_append(withLink.get(), link.get()));
    OwnedString closed(string_append(linked.get(), u"\">Back to the help index</a></p></body></html>"_str));
    return closed.release();
}

}
