// TextArea: the multi-line text editor (the script view, the expression text).
// A scroll view in units of lines with the horizontal bar hidden; the text
// kernel edits, the area lays the text out in lines split at line feeds,
// repaints only the lines an edit touched, keeps the caret in view (sideways
// too, without a bar) and undoes and redoes with Ctrl+Z, Ctrl+Y and
// Ctrl+Shift+Z. Every character that edits sends "characterEntered"; Enter
// that does not edit sends "enterPressed".
#pragma once

#include <string>
#include <vector>

#include "nycore/system/timer.h"
#include "nytoolkit/scroll/scroll_view.h"
#include "nytoolkit/text/text_kernel.h"

namespace NyToolkit {

class TextArea : public ScrollView {
    NY_REFLECTIVE(TextArea)
public:
    TextArea();
    ~TextArea() override;
    static NyCore::Object* __create();

    void onCreate() override;
    // The element's text content is the initial text; "flags" the text-editing words.
    void setParameters(NyCore::XML::Element* element) override;
    void onDraw(NyCore::Graphics::GC* gc) override;
    void onMouseDown(int x, int y, int button, int keys) override;
    void onMouseMove(int x, int y, int keys) override;
    void onMouseUp(int x, int y, int button, int keys) override;
    void onDoubleClick(int x, int y, int button, int keys) override;
    void onCharKeyDown(int code, int modifiers) override;
    void onSystemKeyDown(int code, int modifiers) override;
    void onFocusGained() override;
    void onFocusLost() override;
    void onEnable() override;
    void onDisable() override;
    bool onResize(int dw, int dh) override;
    void onStyleChange() override;
    void onVScroll(int change) override;

    // Copies the text (null empties the area); the caret goes to its end.
    void setText(NyCore::String const* text);
    NyCore::String const* get$text() const { return kernel.get$text(); }
    // Selects `length` units from `start` and scrolls them into view.
    void setSelection(int start, int length);
    void selectAll();
    std::uint32_t get$textFlags() const { return kernel.get$flags(); }
    void set$textFlags(std::uint32_t flags);
    bool get$readOnly() const { return kernel.isReadOnly(); }
    void set$readOnly(bool readOnly);
    TextKernel& get$kernel() { return kernel; }

    int get$lineCount() const { return static_cast<int>(lineStarts.size()); }
    int get$lineHeight() const;
    // The line that holds the offset, and the offsets where a line starts and ends (before its line feed).
    int lineOf(int offset) const;
    int lineStart(int line) const;
    int lineEnd(int line) const;
    // The offset whose caret place lies nearest to (x, y) in widget coordinates.
    int offsetAt(int x, int y) const;
    // The caret's place in widget coordinates (top of its line).
    NyCore::System::WidgetPoint caretPoint() const;

private:
    // The units of a line as shown (stars for a password).
    std::u16string shownLine(int line) const;
    int xInLine(int line, int offset) const;
    int offsetInLine(int line, int x) const;
    // Splits the text into lines and gives the bar the new count.
    void relayout();
    // Scrolls so that the caret is in view; true when anything moved.
    bool scrollToCaret();
    // Draws one line with its row's top at (left, top).
    void paintLine(NyCore::Graphics::GC* gc, int line, int left, int top);
    // Repaints the visible lines first … last (clipped to the view) through
    // an off-screen picture, so that nothing flickers.
    void redrawLines(int first, int last);
    // After a key or the mouse: the lines between the old selection and the
    // new one are redrawn, or everything below when lines came or went.
    void changed(int outcome, int oldFirst, int oldLast, int oldCount);
    void moveTo(int offset, bool extend, bool keepGoal = false);
    void verticalMove(int lines, bool extend);
    void showCaret();
    static void onBlink(NyCore::System::Widget* widget);

    TextKernel kernel;
    std::vector<int> lineStarts{0};
    NyCore::System::Timer blinkTimer{};
    bool caretOn = false;
    bool selecting = false;
    // Pixels of the lines scrolled out of view on the left.
    int scrollX = 0;
    // The x that Up and Down keep while they move through shorter lines (-1: the caret's own).
    int goalX = -1;
};

}
