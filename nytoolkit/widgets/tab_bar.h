// TabBar: a container of pages with a row of tabs above them. Each child
// element of the tab bar's element is a page (any widget class); its "label"
// attribute labels its tab. Only the active page is shown. Clicking a tab, or
// Left / Right and Ctrl+Tab / Ctrl+Shift+Tab while the bar has the focus,
// makes that page active and sends "changeActive" with its index.
#pragma once

#include <vector>

#include "nytoolkit/forms/nytk_widget.h"

namespace NyToolkit {

class TabBar : public NytkWidget {
    NY_REFLECTIVE(TabBar)
public:
    TabBar() = default;
    ~TabBar() override;
    static NyCore::Object* __create();

    void onCreate() override;
    // "active" (0 when missing), then the pages. A page of the plain toolkit
    // widget class, which reads no children itself, gets its element's children built inside it.
    void setParameters(NyCore::XML::Element* element) override;
    void onDraw(NyCore::Graphics::GC* gc) override;
    bool onResize(int dw, int dh) override;
    // A new font changes the tab row's height, so the pages are placed again.
    void onStyleChange() override;
    void onMouseDown(int x, int y, int button, int keys) override;
    void onDoubleClick(int x, int y, int button, int keys) override;
    void onSystemKeyDown(int code, int modifiers) override;
    void onCharKeyDown(int code, int modifiers) override;
    void onFocusGained() override;
    void onFocusLost() override;

    // Shows page `index` and hides the others; sends "changeActive" when the
    // active page changes. An index outside the pages does nothing.
    void setActive(int index);
    int get$active() const { return active; }
    int get$count() const { return static_cast<int>(pages.size()); }
    NyCore::System::Widget* getPage(int index) const;
    NyCore::String const* getLabel(int index) const;
    // Adds a page (a child widget of the bar) with a tab label before `index`
    // (clamped to the pages); the page is placed and hidden unless it is the only one.
    void insertTab(int index, NyCore::System::Widget* page, NyCore::String const* label);
    // Forgets the page (the widget stays, hidden) and activates a neighbour.
    void removeTab(int index);
    // The height of the tab row, and a tab's rectangle; -1 from tabAt when no tab is at (x, y).
    int get$tabHeight() const;
    void getTabRect(int index, NyCore::System::WidgetRect* rect) const;
    int tabAt(int x, int y) const;

private:
    struct Page {
        NyCore::System::Widget* widget;
        NyCore::String* label;
    };
    void placePage(NyCore::System::Widget* page);
    void showActive();

    std::vector<Page> pages;
    int active = 0;
};

}
