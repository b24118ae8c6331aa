// The html_helper functions on litehtml: pages read from files (UTF-8), laid
// out once per width, drawn with the core's drawing through HtmlContainer; a
// history of visited places; selection over the laid-out runs of text.
#include "nyuser/viewers/html_helper.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "nycore/graphics/gc.h"
#include "nycore/io/file.h"
#include "nycore/io/filename.h"
#include "nycore/system/memory.h"
#include "nycore/system/owned.h"
#include "nycore/text/string_functions.h"
#include "nycore/text/utf8_text.h"
#include "nyuser/viewers/html_container.h"
#include "nyuser/viewers/html_master_css.h"

namespace NyUser::Viewers {

namespace {

using OwnedString = NyCore::Owned<NyCore::String, string_free>;

char const* const BlankPage = "about:blank";

// A visited place: the page with its fragment, and the row it was left at.
struct Visit {
    std::string uri;
    int top;
};

OwnedString utf16(std::string const& s)
{
    return OwnedString(string_from_utf8(s.data(), static_cast<int>(s.size())));
}

// The whole file as bytes; false when it cannot be read (missing, a folder).
bool readFile(std::string const& path, std::string* text)
{
    OwnedString name(filename_from_platform(path.c_str()));
    if (!name)
        return false;
    NyCore::IO::File file{file_open(name.get(), NyCore::IO::FileRead)};
    if (file.handle == NyCore::IO::NoFile)
        return false;
    std::uint32_t const size = file_get_size(&file);
    bool ok = size != NyCore::IO::FileFailure;
    if (ok) {
        text->resize(size);
        ok = size == 0 || file_read(&file, text->data(), size) == size;
    }
    file_close(&file);
    return ok;
}

std::string pageOf(std::string const& uri)
{
    return uri.substr(0, uri.find('#'));
}

std::string fragmentOf(std::string const& uri)
{
    auto const hash = uri.find('#');
    return hash == std::string::npos ? std::string() : uri.substr(hash + 1);
}

litehtml::context* sharedContext = nullptr;

}

struct HtmlEmbedding {
    HtmlHost* host = nullptr;
    HtmlContainer container;
    litehtml::document::ptr document;
    // The page laid out now, without its fragment ("about:blank" for a string).
    std::string page;
    std::vector<Visit> history;
    int historyIndex = -1;
    int width = 0;
    int height = 0;
    int layoutWidth = -1;
    // Indexes into the container's runs: where the selection was started and where it reaches.
    int anchorRun = -1;
    int focusRun = -1;
    bool selecting = false;
    int pressX = 0;
    int pressY = 0;
};

}

namespace V = NyUser::Viewers;

namespace NyUser::Viewers {
namespace {

void layOut(V::HtmlEmbedding* record)
{
    record->layoutWidth = record->width;
    record->anchorRun = record->focusRun = -1;
    if (!record->document)
        return;
    record->container.setViewport(record->width, record->height);
    record->document->render(std::max(record->width, 1));
    // One pass without a context records where every run of text lies.
    record->container.beginRecording();
    litehtml::position everything(0, 0, record->document->width(), record->document->height());
    record->document->draw(0, 0, 0, &everything);
}

void loadDocument(V::HtmlEmbedding* record, std::string const& html, std::string const& page)
{
    record->document.reset();
    record->container.dropImages();
    std::string const folder = page == BlankPage ? std::string() : page.substr(0, page.find_last_of('/') + 1);
    record->container.setBaseFolder(folder);
    record->container.setViewport(record->width, record->height);
    record->document = litehtml::document::createFromUTF8(html.c_str(), &record->container, V::sharedContext);
    record->page = page;
    layOut(record);
}

// Where the fragment starts on the current page (0 for none or an unknown one).
int fragmentRow(V::HtmlEmbedding* record, std::string const& fragment)
{
    OwnedString name = utf16(fragment);
    return std::max(html_helper_fragment_top(record, name.get()), 0);
}

// Shows `uri` (absolute, already allowed by the host) at `top`, or at its fragment when top < 0.
void show(V::HtmlEmbedding* record, std::string const& uri, int top)
{
    std::string const page = pageOf(uri);
    if (page != record->page || !record->document) {
        std::string html;
        if (!readFile(page, &html)) {
            OwnedString name = utf16(uri);
            OwnedString missing(record->host->describeMissingPage(name.get()));
            html = string_to_std_utf8(missing.get());
        }
        loadDocument(record, html, page);
    }
    record->host->pageShown(top >= 0 ? top : fragmentRow(record, fragmentOf(uri)));
}

// The absolute form of a link on the current page.
std::string absolute(V::HtmlEmbedding* record, std::string const& link)
{
    if (!link.empty() && link[0] == '#')
        return record->page + link;
    if (link.rfind("file://", 0) == 0)
        return link.substr(7);
    return record->container.resolve(link);
}

bool navigate(V::HtmlEmbedding* record, std::string const& uri)
{
    OwnedString offered = utf16(uri);
    if (!record->host->translateUri(offered.get()))
        return false;
    if (record->historyIndex >= 0)
        record->history[static_cast<std::size_t>(record->historyIndex)].top = record->host->currentTop();
    record->history.resize(static_cast<std::size_t>(record->historyIndex + 1));
    record->history.push_back({uri, 0});
    record->historyIndex = static_cast<int>(record->history.size()) - 1;
    show(record, uri, -1);
    return true;
}

bool goTo(V::HtmlEmbedding* record, int index)
{
    if (!record || index < 0 || index >= static_cast<int>(record->history.size()))
        return false;
    Visit const visit = record->history[static_cast<std::size_t>(index)];
    OwnedString offered = utf16(visit.uri);
    if (!record->host->translateUri(offered.get()))
        return false;
    record->history[static_cast<std::size_t>(record->historyIndex)].top = record->host->currentTop();
    record->historyIndex = index;
    show(record, visit.uri, visit.top);
    return true;
}

// The run under a page point, else the nearest one on its line, else the
// first run below it, else the last run; -1 without runs.
int runAt(V::HtmlEmbedding const* record, int x, int y)
{
    auto const& runs = record->container.textRuns();
    int nearest = -1, nearestDistance = 0;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        litehtml::position const& box = runs[i].box;
        if (y >= box.y && y < box.bottom()) {
            int const distance = x < box.x ? box.x - x : (x >= box.right() ? x - box.right() + 1 : 0);
            if (nearest < 0 || distance < nearestDistance) {
                nearest = static_cast<int>(i);
                nearestDistance = distance;
            }
        }
    }
    if (nearest >= 0)
        return nearest;
    for (std::size_t i = 0; i < runs.size(); ++i)
        if (runs[i].box.y >= y)
            return static_cast<int>(i);
    return runs.empty() ? -1 : static_cast<int>(runs.size()) - 1;
}

bool hasSelection(V::HtmlEmbedding const* record)
{
    return record->anchorRun >= 0 && record->focusRun >= 0;
}

}
}

// The flat functions are global; their helpers above live in the viewers' namespace.
using namespace NyUser::Viewers;

void html_helper_init()
{
    if (V::sharedContext)
        return;
    V::sharedContext = new litehtml::context();
    V::sharedContext->load_master_stylesheet(V::HtmlMasterCss);
}

void html_helper_kill()
{
    delete V::sharedContext;
    V::sharedContext = nullptr;
}

V::HtmlEmbedding* html_helper_embed(V::HtmlHost* host, NyCore::System::Widget*)
{
    if (!V::sharedContext || !host)
        return nullptr;
    auto* record = new V::HtmlEmbedding();
    record->host = host;
    return record;
}

void html_helper_unembed(V::HtmlEmbedding* record)
{
    if (!record)
        return;
    record->document.reset();
    delete record;
}

bool html_helper_open_uri(V::HtmlEmbedding* record, NyCore::String const* uri)
{
    if (!record)
        return false;
    std::string target = string_to_std_utf8(uri);
    if (!target.empty() && target[0] != '#' && target[0] != '/' && target.find(':') == std::string::npos) {
        std::error_code error;
        target = (std::filesystem::current_path(error) / target).string();
    }
    return navigate(record, absolute(record, target));
}

void html_helper_show_str(V::HtmlEmbedding* record, NyCore::String const* html)
{
    if (!record)
        return;
    OwnedString blank = utf16(BlankPage);
    if (!record->host->translateUri(blank.get()))
        return;
    loadDocument(record, string_to_std_utf8(html), BlankPage);
    record->host->pageShown(0);
}

void html_helper_resize(V::HtmlEmbedding* record, int width, int height)
{
    if (!record)
        return;
    record->width = width;
    record->height = height;
    record->container.setViewport(width, height);
    if (width != record->layoutWidth)
        layOut(record);
}

bool html_helper_gonext(V::HtmlEmbedding* record)
{
    return record && goTo(record, record->historyIndex + 1);
}

bool html_helper_goprev(V::HtmlEmbedding* record)
{
    return record && goTo(record, record->historyIndex - 1);
}

bool html_helper_refresh(V::HtmlEmbedding* record)
{
    if (!record || record->historyIndex < 0)
        return false;
    Visit const& visit = record->history[static_cast<std::size_t>(record->historyIndex)];
    record->page.clear();
    show(record, visit.uri, record->host->currentTop());
    return true;
}

// Pages are read and laid out at once: there is never a load in progress.
bool html_helper_stop(V::HtmlEmbedding*)
{
    return false;
}

int html_helper_page_height(V::HtmlEmbedding const* record)
{
    return record && record->document ? record->document->height() : 0;
}

NyCore::String* html_helper_title(V::HtmlEmbedding const* record)
{
    return utf16(record ? record->container.get$caption() : std::string()).release();
}

void html_helper_draw(V::HtmlEmbedding* record, NyCore::Graphics::GC* gc, int x, int y, int top)
{
    // An empty viewport shows nothing (a clip without area would be no clip at all).
    if (!record || !record->document || record->width < 1 || record->height < 1)
        return;
    litehtml::position clip(x, y, record->width, record->height);
    record->container.setDrawingArea(clip);
    gc_save_state(gc);
    gc_set_clip(gc, x, y, record->width, record->height);
    record->document->draw(reinterpret_cast<litehtml::uint_ptr>(gc), x, y - top, &clip);
    if (hasSelection(record)) {
        auto const& runs = record->container.textRuns();
        int const first = std::min(record->anchorRun, record->focusRun);
        int const last = std::max(record->anchorRun, record->focusRun);
        for (int i = first; i <= last; ++i) {
            litehtml::position const& box = runs[static_cast<std::size_t>(i)].box;
            if (box.bottom() > top && box.y < top + record->height)
                gc_invert_rect(gc, x + box.x, y + box.y - top, box.width, box.height);
        }
    }
    gc_set_clip(gc, 0, 0, 0, 0);
    gc_restore_state(gc);
}

int html_helper_fragment_top(V::HtmlEmbedding* record, NyCore::String const* fragment)
{
    if (!record || !record->document || !fragment || fragment->count == 0)
        return -1;
    std::string const name = string_to_std_utf8(fragment);
    // Names that a selector cannot hold are not looked for.
    if (!std::all_of(name.begin(), name.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_'; }))
        return -1;
    litehtml::element::ptr found = record->document->root()->select_one("[id=" + name + "]");
    if (!found)
        found = record->document->root()->select_one("[name=" + name + "]");
    return found ? found->get_placement().y : -1;
}

void html_helper_press(V::HtmlEmbedding* record, int x, int y, bool extend)
{
    if (!record || !record->document)
        return;
    litehtml::position::vector boxes;
    record->document->on_lbutton_down(x, y, x, y, boxes);
    record->selecting = true;
    record->pressX = x;
    record->pressY = y;
    if (extend && record->anchorRun >= 0) {
        record->focusRun = runAt(record, x, y);
    } else {
        record->anchorRun = record->focusRun = -1;
    }
}

void html_helper_drag(V::HtmlEmbedding* record, int x, int y)
{
    if (!record || !record->selecting)
        return;
    // A few pixels of wobble during a click select nothing.
    if (record->anchorRun < 0 && std::abs(x - record->pressX) + std::abs(y - record->pressY) < 4)
        return;
    if (record->anchorRun < 0)
        record->anchorRun = runAt(record, record->pressX, record->pressY);
    record->focusRun = runAt(record, x, y);
}

bool html_helper_release(V::HtmlEmbedding* record, int x, int y)
{
    if (!record || !record->document || !record->selecting)
        return false;
    record->selecting = false;
    litehtml::position::vector boxes;
    record->container.takeClickedLink();
    record->document->on_lbutton_up(x, y, x, y, boxes);
    std::string const link = record->container.takeClickedLink();
    // The engine's event is over before the page it belongs to may go.
    if (link.empty() || hasSelection(record))
        return false;
    return navigate(record, absolute(record, link));
}

void html_helper_select_all(V::HtmlEmbedding* record)
{
    if (!record || record->container.textRuns().empty())
        return;
    record->anchorRun = 0;
    record->focusRun = static_cast<int>(record->container.textRuns().size()) - 1;
}

NyCore::String* html_helper_selected_text(V::HtmlEmbedding const* record)
{
    std::string text;
    if (record && hasSelection(record)) {
        auto const& runs = record->container.textRuns();
        int const first = std::min(record->anchorRun, record->focusRun);
        int const last = std::max(record->anchorRun, record->focusRun);
        for (int i = first; i <= last; ++i) {
            V::HtmlTextRun const& run = runs[static_cast<std::size_t>(i)];
            if (i > first) {
                litehtml::position const& before = runs[static_cast<std::size_t>(i - 1)].box;
                if (run.box.y >= before.bottom() || run.box.bottom() <= before.y)
                    text += '\n';
                else if (run.box.x > before.right())
                    text += ' ';
            }
            text += run.text;
        }
    }
    return utf16(text).release();
}

bool html_helper_find_text(V::HtmlEmbedding const* record, NyCore::String const* text, NyCore::Graphics::Rect* box)
{
    if (!record || !text)
        return false;
    std::string const wanted = string_to_std_utf8(text);
    for (V::HtmlTextRun const& run : record->container.textRuns()) {
        if (run.text == wanted) {
            *box = {run.box.x, run.box.y, run.box.width, run.box.height};
            return true;
        }
    }
    return false;
}

NyCore::String* html_helper_escape(NyCore::String const* text)
{
    std::string escaped;
    for (char c : string_to_std_utf8(text)) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        default: escaped += c;
        }
    }
    return utf16(escaped).release();
}
