// Splitter: an area divided along one axis into panes, each holding one child
// widget. Fixed panes keep their size; sharing panes share what the fixed
// ones and the bars leave, in proportion to their sizes. Between two
// neighbouring panes that are both resizable lies a bar that the user drags.
// HSplitter (panes side by side) and VSplitter (one above the other) choose
// the axis.
#pragma once

#include <cstdint>
#include <vector>

#include "nytoolkit/forms/nytk_widget.h"

namespace NyUser::Views {

class Splitter : public NyToolkit::NytkWidget {
    NY_REFLECTIVE(Splitter)
public:
    // The creation flag of a pane that the user may resize.
    static constexpr std::uint32_t ResizableFlag = 0x100000;

    // Takes the resize cursor of the axis.
    void onCreate() override;
    void onDraw(NyCore::Graphics::GC* gc) override;
    bool onResize(int dw, int dh) override;
    void onStyleChange() override;
    void onMouseDown(int x, int y, int button, int keys) override;
    void onMouseMove(int x, int y, int keys) override;
    void onMouseUp(int x, int y, int button, int keys) override;

    // A pane at `index` (clamped; -1 at the end) holding a new child widget
    // of the registered class (an unknown class is fatal). ResizableFlag makes
    // it resizable, the share flag of the axis (HSplitter 4, VSplitter 8) makes
    // it share the remaining space; the other bits are the child's widget flags.
    // A sharing pane takes `size` out of the shared space (an equal share when
    // size is 0 or less; the whole space when it is the only one) and the
    // others share the rest; a fixed pane takes `size` from the shared space.
    NyCore::System::Widget* addChild(int index, NyCore::String const* className, std::uint32_t flags, int size);
    NyCore::System::Widget* getChild(int index) const;
    int get$childCount() const { return static_cast<int>(panes.size()); }
    // Panes are not closed one by one: always 0.
    int closeChild(int index);

    bool get$horizontal() const { return horizontal; }
    // The share flag of the axis.
    std::uint32_t get$shareFlag() const { return horizontal ? 0x4u : 0x8u; }
    int getPaneSize(int index) const;
    bool isSharing(int index) const;
    bool hasBarAfter(int index) const;
    // The least size the user can drag a pane to (0 unless set).
    void setMinimumSize(int index, int size);
    int get$barThickness() const;
    // The space the sharing panes share.
    int get$sharedSpace() const { return sharedSpace; }
    // The start of a pane along the axis; its bar (if any) starts at start + size.
    int paneStart(int index) const;
    // The pane whose bar is under the axis position, or -1.
    int barAt(int along) const;

protected:
    explicit Splitter(bool isHorizontal) : horizontal(isHorizontal) {}

private:
    enum PaneFlags : std::uint32_t { Resizable = 1, Shares = 2, BarAfter = 4 };
    struct Pane {
        NyCore::System::Widget* widget;
        std::uint32_t flags;
        int size;
        int minimum;
    };

    int axisLength() const { return horizontal ? width : height; }
    void updateBars();
    // What the fixed panes and the bars leave of the axis (0 at least).
    int freeSpace() const;
    // Gives `space` to the sharing panes (except `skip`) in proportion to
    // their sizes, equally when those sizes are all 0; the rounding remainder
    // goes to one of them in turn.
    void shareOut(int space, int skip = -1);
    void layout();

    bool horizontal;
    std::vector<Pane> panes;
    int sharingCount = 0;
    int sharedSpace = 0;
    int dragPane = -1;
    int lastPointer = 0;
    int roundRobin = 0;
};

}
