// HTMLViewer: a widget that shows HTML pages, laid out and drawn by the
// html_helper functions, scrolled by its bar, the wheel and the keys. Every
// navigation, the first page included, is offered to onLinkClicked first;
// derived viewers decide there, link by link, whether it may proceed.
#pragma once

#include "nytoolkit/scroll/scroll_view.h"
#include "nyuser/viewers/html_helper.h"

namespace NyCore::XML {
class Element;
}

namespace NyUser::Viewers {

class HTMLViewer : public NyToolkit::ScrollView, public HtmlHost {
    NY_REFLECTIVE(HTMLViewer)
public:
    // Pixels moved by an arrow key and by a notch of the wheel.
    static constexpr int LineStep = 40;
    static constexpr int WheelStep = 48;

    // Counts the viewer; the first one alive starts the helpers.
    HTMLViewer();
    // Frees the URI and the page; the last viewer alive stops the helpers.
    ~HTMLViewer() override;
    static NyCore::Object* __create();

    // The current URI becomes empty and the page record is made for the window.
    void onCreate() override;
    bool onResize(int dw, int dh) override;
    void onDraw(NyCore::Graphics::GC* gc) override;
    void onMouseDown(int x, int y, int button, int keys) override;
    void onMouseUp(int x, int y, int button, int keys) override;
    void onMouseMove(int x, int y, int keys) override;
    void onDoubleClick(int x, int y, int button, int keys) override;
    void onScrollWheel(int steps) override;
    void onSystemKeyDown(int code, int modifiers) override;
    void onCharKeyDown(int code, int modifiers) override;
    void onVScroll(int change) override;

    // Navigates to uri (a path, "path#fragment", or "#fragment" within the
    // current page), after onLinkClicked agreed.
    void openUri(NyCore::String const* uri);
    // Shows the HTML as the page "about:blank"; the current URI becomes empty.
    void showHtmlContent(NyCore::String const* html);
    // A page given as an XML element is not shown.
    void showHtmlContent(NyCore::XML::Element* element);
    void setUriString(NyCore::String const* uri);
    NyCore::String const* get$uri() const { return uri; }
    // Asked before each navigation with its absolute URI; true lets it proceed.
    virtual bool onLinkClicked(NyCore::String const* uri);
    // Back and forward through the pages seen; false when there is none.
    bool goBack();
    bool goForward();
    // Copies the selected text to the clipboard; false when nothing is selected.
    bool copySelection();
    HtmlEmbedding* get$embedding() const { return embedding; }
    // The page row at the top of the client area.
    int get$top() const { return get$vscroll(); }
    static int get$liveCount();

    // The helper's questions (HtmlHost).
    bool translateUri(NyCore::String const* uri) override;
    // The "page not found" page naming the file; derived viewers may add their own way back.
    NyCore::String* describeMissingPage(NyCore::String const* uri) override;
    void pageShown(int top) override;
    int currentTop() const override { return get$vscroll(); }

private:
    // Page coordinates of a client point.
    int pageX(int x) const { return x - client.x; }
    int pageY(int y) const { return y - client.y + get$vscroll(); }
    void updateRange();
    static bool watchKey(NyCore::System::Widget* watcher, int code, int modifiers);

    HtmlEmbedding* embedding = nullptr;
    NyCore::String* uri = nullptr;
    bool selecting = false;
    bool altHeld = false;
};

}
