// The HTML viewer: the page drawn into the client area from the scroll
// position, the scroll range kept to the page's height, the mouse (links,
// selection, the side buttons for back and forward) and the keys (scrolling,
// Alt+Left and Alt+Right, Ctrl+C, Ctrl+A).
#include "nyuser/viewers/html_viewer.h"

#include <algorithm>

#include "nycore/system/clipboard.h"
#include "nycore/system/owned.h"
#include "nycore/text/string_functions.h"

namespace NyUser::Viewers {

namespace {

namespace Keys = NyCore::System::SystemKeys;
namespace Modifiers = NyCore::System::KeyModifiers;
using OwnedString = NyCore::Owned<NyCore::String, string_free>;

// The mouse's side buttons (X buttons 8 and 9) as the core numbers them.
constexpr int BackButton = 3;
constexpr int ForwardButton = 4;

int liveViewers = 0;

NyCore::MethodEntry const ViewerMethods[] = {{u"openUri", NY_METHOD(HTMLViewer::openUri)},
                                             {u"goBack", NY_METHOD(HTMLViewer::goBack)},
                                             {u"goForward", NY_METHOD(HTMLViewer::goForward)},
                                             {nullptr, nullptr}};

}

NyCore::TypeData HTMLViewer::MetaData = {&NyToolkit::ScrollView::MetaData, nullptr, u"NyUser.Viewers.HTMLViewer"_str,
                                         ViewerMethods, NyCore::NoEvents, &HTMLViewer::__create,
                                         sizeof(HTMLViewer), 0, nullptr};

HTMLViewer::HTMLViewer()
{
    if (liveViewers++ == 0)
        html_helper_init();
}

HTMLViewer::~HTMLViewer()
{
    html_helper_unembed(embedding);
    string_free(uri);
    if (--liveViewers == 0)
        html_helper_kill();
}

NyCore::Object* HTMLViewer::__create()
{
    return new HTMLViewer();
}

int HTMLViewer::get$liveCount()
{
    return liveViewers;
}

void HTMLViewer::onCreate()
{
    viewFlags = HBarHidden | BorderHidden;
    ScrollView::onCreate();
    flags |= NyCore::System::WidgetFlags::TabStop;
    background = 0xFFFFFF;
    setUriString(u""_str);
    html_helper_unembed(embedding);
    embedding = html_helper_embed(this, this);
    html_helper_resize(embedding, client.width, client.height);
    watchKeys(this, &HTMLViewer::watchKey);
}

bool HTMLViewer::onResize(int dw, int dh)
{
    ScrollView::onResize(dw, dh);
    if (embedding) {
        html_helper_resize(embedding, client.width, client.height);
        updateRange();
    }
    return true;
}

void HTMLViewer::updateRange()
{
    vbar.setSpeed(LineStep);
    setVRange(html_helper_page_height(embedding), std::max(client.height, 1));
}

void HTMLViewer::onDraw(NyCore::Graphics::GC* gc)
{
    html_helper_draw(embedding, gc, client.x, client.y, get$vscroll());
    drawFrame(gc);
}

void HTMLViewer::onVScroll(int change)
{
    if (change != 0)
        redraw();
}

void HTMLViewer::onMouseDown(int x, int y, int button, int keys)
{
    if (button == BackButton) {
        goBack();
        return;
    }
    if (button == ForwardButton) {
        goForward();
        return;
    }
    if (button != 0 || mouseToBars(NyToolkit::InlineScroll::Press, x, y, keys))
        return;
    focus();
    if (!isPointInClient(x, y))
        return;
    selecting = true;
    pointerCapture();
    html_helper_press(embedding, pageX(x), pageY(y), (keys & NyCore::System::MouseKeys::Shift) != 0);
    redraw();
}

void HTMLViewer::onDoubleClick(int x, int y, int button, int keys)
{
    onMouseDown(x, y, button, keys);
}

void HTMLViewer::onMouseMove(int x, int y, int keys)
{
    if (!selecting) {
        mouseToBars(NyToolkit::InlineScroll::Move, x, y, keys);
        return;
    }
    html_helper_drag(embedding, pageX(x), pageY(y));
    redraw();
}

void HTMLViewer::onMouseUp(int x, int y, int button, int keys)
{
    if (button != 0)
        return;
    if (!selecting) {
        mouseToBars(NyToolkit::InlineScroll::Release, x, y, keys);
        return;
    }
    selecting = false;
    pointerRelease();
    html_helper_release(embedding, pageX(x), pageY(y));
    redraw();
}

void HTMLViewer::onScrollWheel(int steps)
{
    set$vscroll(get$vscroll() - steps * WheelStep);
}

void HTMLViewer::onSystemKeyDown(int code, int modifiers)
{
    int const page = std::max(client.height - LineStep, LineStep);
    switch (code) {
    case Keys::Up: set$vscroll(get$vscroll() - LineStep); break;
    case Keys::Down: set$vscroll(get$vscroll() + LineStep); break;
    case Keys::PageUp: set$vscroll(get$vscroll() - page); break;
    case Keys::PageDown: set$vscroll(get$vscroll() + page); break;
    case Keys::Home: set$vscroll(0); break;
    case Keys::End: set$vscroll(html_helper_page_height(embedding)); break;
    default: ScrollView::onSystemKeyDown(code, modifiers);
    }
}

void HTMLViewer::onCharKeyDown(int code, int modifiers)
{
    int const page = std::max(client.height - LineStep, LineStep);
    bool const ctrl = (modifiers & Modifiers::Ctrl) != 0;
    if (ctrl && (code == 3 || code == 'c' || code == 'C')) {
        copySelection();
    } else if (ctrl && (code == 1 || code == 'a' || code == 'A')) {
        html_helper_select_all(embedding);
        redraw();
    } else if (code == ' ' && !ctrl) {
        set$vscroll(get$vscroll() + ((modifiers & Modifiers::Shift) ? -page : page));
    } else {
        ScrollView::onCharKeyDown(code, modifiers);
    }
}

// Alt never reaches a widget as a modifier: the viewer follows it through the
// window's key watch, and takes Alt+Left and Alt+Right while it has the focus.
bool HTMLViewer::watchKey(NyCore::System::Widget* watcher, int code, int modifiers)
{
    auto* viewer = static_cast<HTMLViewer*>(watcher);
    bool const down = (modifiers & Modifiers::Down) != 0;
    if (code == Keys::Alt) {
        viewer->altHeld = down;
        return false;
    }
    if (!viewer->altHeld || !down || Widget::get$focused() != viewer)
        return false;
    if (code == Keys::Left)
        viewer->goBack();
    else if (code == Keys::Right)
        viewer->goForward();
    else
        return false;
    return true;
}

void HTMLViewer::openUri(NyCore::String const* target)
{
    html_helper_open_uri(embedding, target);
}

void HTMLViewer::showHtmlContent(NyCore::String const* html)
{
    setUriString(u""_str);
    html_helper_show_str(embedding, html);
    setUriString(u""_str);
}

void HTMLViewer::showHtmlContent(NyCore::XML::Element*) {}

void HTMLViewer::setUriString(NyCore::String const* value)
{
    NyCore::String* copy = string_copy(value ? value : u""_str);
    string_free(uri);
    uri = copy;
}

bool HTMLViewer::onLinkClicked(NyCore::String const*)
{
    return true;
}

bool HTMLViewer::goBack()
{
    return html_helper_goprev(embedding);
}

bool HTMLViewer::goForward()
{
    return html_helper_gonext(embedding);
}

bool HTMLViewer::copySelection()
{
    OwnedString text(html_helper_selected_text(embedding));
    if (!text || text->count == 0)
        return false;
    return NyCore::System::clipboard_set_text(this, text.get());
}

bool HTMLViewer::translateUri(NyCore::String const* target)
{
    OwnedString offered(string_copy(target));
    if (!onLinkClicked(offered.get()))
        return false;
    setUriString(offered.get());
    return true;
}

NyCore::String* HTMLViewer::describeMissingPage(NyCore::String const* target)
{
    OwnedString name(html_helper_escape(target));
    OwnedString head(string_append(u"<html><head><title>Page not found</title></head><body><h1>Page not found</h1>"
                                   u"<p>The page <code>"_str, name.get()));
    return string_append(head.get(), u"</code> does not exist.</p></body></html>"_str);
}

void HTMLViewer::pageShown(int top)
{
    updateRange();
    set$vscroll(top);
    redraw();
}

}
