// The flat html_helper functions: the one seam between the HTML viewer and the
// layout engine. A record per viewer holds the page laid out for the viewer's
// width, the history of pages, the text runs and the selection; every
// navigation is offered to the viewer (HtmlHost::translateUri) before it happens.
#pragma once

#include "nycore/graphics/gc.h"
#include "nycore/text/string.h"

namespace NyCore::System {
class Widget;
}

namespace NyUser::Viewers {

// The embedding record (opaque outside html_helper.cpp).
struct HtmlEmbedding;

// What the helper asks of the viewer that embeds it.
class HtmlHost {
public:
    virtual ~HtmlHost() = default;
    // Asked before every navigation with the absolute URI; true lets it proceed.
    virtual bool translateUri(NyCore::String const* uri) = 0;
    // The page shown for a URI whose file cannot be read: a new String of HTML.
    virtual NyCore::String* describeMissingPage(NyCore::String const* uri) = 0;
    // A page (or a place in it) is now shown: the viewer scrolls to `top`.
    virtual void pageShown(int top) = 0;
    // The page's pixel row now at the top of the viewer, kept in the history.
    virtual int currentTop() const = 0;
};

}

// Starts and stops what every record shares (the master stylesheet); counted
// by the viewers, the first starts and the last stops.
void html_helper_init();
void html_helper_kill();
// A record for a viewer drawn into `window` (the viewer's own, which the
// record has no need to keep); null before html_helper_init.
NyUser::Viewers::HtmlEmbedding* html_helper_embed(NyUser::Viewers::HtmlHost* host, NyCore::System::Widget* window);
void html_helper_unembed(NyUser::Viewers::HtmlEmbedding* record);
// Navigates to a page ("PATH", "PATH#fragment", "#fragment" within the page;
// a relative PATH is taken from the current directory, as a command line's
// would be); false when the host refused it.
bool html_helper_open_uri(NyUser::Viewers::HtmlEmbedding* record, NyCore::String const* uri);
// Shows a string of HTML as the page "about:blank".
void html_helper_show_str(NyUser::Viewers::HtmlEmbedding* record, NyCore::String const* html);
// The viewport; a new width lays the page out again.
void html_helper_resize(NyUser::Viewers::HtmlEmbedding* record, int width, int height);
// History forward and back, reload and stop; false when there was nowhere to go.
bool html_helper_gonext(NyUser::Viewers::HtmlEmbedding* record);
bool html_helper_goprev(NyUser::Viewers::HtmlEmbedding* record);
bool html_helper_refresh(NyUser::Viewers::HtmlEmbedding* record);
bool html_helper_stop(NyUser::Viewers::HtmlEmbedding* record);

// The laid-out page's height in pixels (0 with no page).
int html_helper_page_height(NyUser::Viewers::HtmlEmbedding const* record);
// The page's title (a new String, empty without one).
NyCore::String* html_helper_title(NyUser::Viewers::HtmlEmbedding const* record);
// Paints the part of the page from row `top` into a viewport whose top-left
// corner is at (x, y) of the context, selection included.
void html_helper_draw(NyUser::Viewers::HtmlEmbedding* record, NyCore::Graphics::GC* gc, int x, int y, int top);
// The page row where an element named by id or anchor name starts, or -1.
int html_helper_fragment_top(NyUser::Viewers::HtmlEmbedding* record, NyCore::String const* fragment);

// The left button in page coordinates: a press starts a selection, moves
// extend it, and a release that did not select follows the link under it.
// The release answers whether a navigation happened.
void html_helper_press(NyUser::Viewers::HtmlEmbedding* record, int x, int y, bool extend);
void html_helper_drag(NyUser::Viewers::HtmlEmbedding* record, int x, int y);
bool html_helper_release(NyUser::Viewers::HtmlEmbedding* record, int x, int y);
void html_helper_select_all(NyUser::Viewers::HtmlEmbedding* record);
// The selected text, lines broken where the page breaks them (a new String, empty when nothing is selected).
NyCore::String* html_helper_selected_text(NyUser::Viewers::HtmlEmbedding const* record);
// The text with &, <, > and " written as HTML character references (a new String).
NyCore::String* html_helper_escape(NyCore::String const* text);
// The page box of the first laid-out run of text equal to `text`; false when none.
bool html_helper_find_text(NyUser::Viewers::HtmlEmbedding const* record, NyCore::String const* text,
                           NyCore::Graphics::Rect* box);
