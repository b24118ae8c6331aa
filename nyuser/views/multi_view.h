// MultiView: child widgets stacked under a ViewTabs strip, one per tab; the
// child of the active tab is shown. The child list stays in tab order: a tab
// dragged from `from` to `to` moves its child the same way (taken out at
// `from`, put in at `to`, those between shifting by one) and "viewSwapped"
// (from, to) reports that move, so an owner's document list follows with
// the same move. Closing a child sends "viewClosed" before the neighbour
// that takes its place is activated, so the owner's list is already updated
// when "viewActivated" arrives. The strip's close button becomes
// "closeClicked" (with the active index) and its collapse button "viewCollapsed";
// what closing means is the owner's to decide.
#pragma once

#include <vector>

#include "nytoolkit/forms/nytk_widget.h"
#include "nyuser/views/view_tabs.h"

namespace NyUser::Views {

class MultiView : public NyToolkit::NytkWidget {
    NY_REFLECTIVE(MultiView)
public:
    MultiView() = default;
    static NyCore::Object* __create();

    // Makes the strip and listens to it.
    void onCreate() override;
    void onDraw(NyCore::Graphics::GC* gc) override;
    bool onResize(int dw, int dh) override;
    void onStyleChange() override;

    // A new child of the registered class (an unknown class is fatal) below
    // the strip, with its tab at `index` (clamped; -1 at the end), activated.
    // `flags` are the child's widget flags; the view places it itself.
    NyCore::System::Widget* addChild(NyCore::String const* className, NyCore::String const* label,
                                     std::uint32_t flags, int index = -1);
    NyCore::System::Widget* getChild(int index) const;
    // -1 when the widget is not a child of the view.
    int getIndex(NyCore::System::Widget* widget) const;
    int get$childCount() const { return static_cast<int>(children.size()); }
    int get$activeViewIndex() const { return tabs ? tabs->get$active() : -1; }
    ViewTabs* get$tabs() const { return tabs; }
    void activate(int index);
    void setLabel(int index, NyCore::String const* label);
    // Modification marks are not shown on the tabs.
    void setModified(int index, bool modified);
    // Asks the child first (suggestClose; agreeing, it closes itself). Refused
    // or outside the children: 0 and nothing changes. Otherwise the tab and
    // the child leave, "viewClosed" (index) is sent, and, when the child was
    // the active one, the tab now at its index (or the last) is activated.
    int closeChild(int index);

    // The strip's events.
    void onTabActivated(int index);
    void onTabMoved(int from, int to);
    void onClosePressed();
    void onCollapsePressed();

    int get$stripHeight() const;
    // Where every child lies.
    NyCore::System::WidgetRect childRect() const;

private:
    void layout();

    ViewTabs* tabs = nullptr;
    std::vector<NyCore::System::Widget*> children;
    NyCore::System::Widget* shown = nullptr;
};

}
