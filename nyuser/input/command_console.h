// CommandConsole: a terminal-like scroll view. The owner writes coloured
// transcript lines through its ConsoleStream; the user edits a command line
// that continues the last line (behind the owner's prompt), and the console
// sends "enterPressed", "escapePressed", "dnArrowKeyPressed" and
// "upArrowKeyPressed". Long lines wrap every `columns` characters; transcript
// text can be selected with the mouse and copied with Ctrl+C.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "nycore/graphics/font.h"
#include "nycore/system/timer.h"
#include "nytoolkit/scroll/scroll_view.h"
#include "nyuser/input/console_stream.h"

namespace NyUser::Input {

class CommandConsole : public NyToolkit::ScrollView {
    NY_REFLECTIVE(CommandConsole)
public:
    using ConsoleStream = Input::ConsoleStream;

    enum DisplayFlags : std::uint32_t {
        // Scroll to the last line when output arrives.
        FollowOutput = 4,
        CursorShown = 8,
        // The next blink tick only clears this flag, so that a moved cursor stays visible.
        SkipBlink = 16,
    };

    CommandConsole();
    ~CommandConsole() override;
    static NyCore::Object* __create();

    void onCreate() override;
    void onDraw(NyCore::Graphics::GC* gc) override;
    bool onResize(int dw, int dh) override;
    void onStyleChange() override;
    void onCharKeyDown(int code, int modifiers) override;
    void onSystemKeyDown(int code, int modifiers) override;
    void onMouseDown(int x, int y, int button, int keys) override;
    void onMouseUp(int x, int y, int button, int keys) override;
    void onMouseMove(int x, int y, int keys) override;
    void onDoubleClick(int x, int y, int button, int keys) override;
    void onFocusGained() override;
    void onFocusLost() override;
    void onVScroll(int change) override;
    void onHScroll(int change) override;

    // Empties the transcript; the command line stays as it is.
    void clear();
    // Replaces the command line (null empties it) with the cursor at its end, without scrolling.
    void set$commandLine(NyCore::String const* text);
    // What has been typed; null before anything was.
    NyCore::String const* get$commandLine() const { return command; }
    int get$cursor() const { return cursor; }
    ConsoleStream* get$stream() { return &stream; }
    std::uint32_t get$displayFlags() const { return displayFlags; }
    void set$displayFlags(std::uint32_t value) { displayFlags = value; }

    // Layout, from the style's font and the client size; never below one column and one row.
    int get$columns() const { return columns; }
    int get$visibleRows() const { return visibleRows; }
    int get$lineHeight() const { return lineHeight; }
    // Rows of the whole transcript with the command line, as wrapped.
    int get$rowCount() const { return rowStarts.back(); }
    // The font of a colour word's style (0 plain, 1 bold, 2 italic).
    NyCore::Graphics::Font* getFont(int lineStyle) const;

    // The selection, as offsets into the transcript followed by the command line.
    int get$selectionStart() const { return std::min(anchor, caret); }
    int get$selectionEnd() const { return std::max(anchor, caret); }
    void setSelection(int from, int to);
    // The selected text as a new String (null when nothing is selected).
    NyCore::String* selectedText() const;
    // Puts the selection on the clipboard; false when nothing is selected or the clipboard refused.
    bool copySelection();

    // From the stream's flush: shows the lines from `first` on and follows the output.
    void updateLines(int first);
    // Redraws the command line after an edit, scrolling it into view with `scroll`.
    void updateCommand(bool scroll);

private:
    // A run of one row drawn in one font and colour.
    struct Piece {
        int begin;
        int end;
        NyCore::Graphics::Font* font;
        std::uint32_t color;
        bool selected;
    };

    int lineCount() const { return stream.get$lineCount() - 1; }
    int lastLine() const { return lineCount() - 1; }
    int textEnd() const { return stream.get$scanned(); }
    int commandLength() const { return command ? command->count : 0; }
    int lineBegin(int line) const;
    // The end of a line before its line feed; the last line runs on through the command line.
    int lineEnd(int line) const;
    char16_t unitAt(int offset) const;
    std::u16string textOf(int from, int to) const;
    int rowsOfLine(int line) const;
    int lineOfRow(int row) const;
    int rowOf(int offset) const;
    int cursorRow() const;
    std::vector<Piece> rowPieces(int row) const;
    int xInRow(int row, int offset) const;
    int offsetAt(int x, int y) const;

    // Fonts, line height, columns and rows for the current style and size.
    void layout();
    // The row table from `fromLine` on, and the scroll bar's range.
    void relayoutRows(int fromLine);
    void scrollToBottom();
    void ensureCursorVisible();
    bool canPaint() const;
    int bandTop(int viewRow) const;
    void paintRow(NyCore::Graphics::GC* gc, int row, int bandY);
    // Repaints view rows [from, to) through an off-screen picture.
    void paintViewRows(int from, int to);
    void paintRowOf(int row);
    void paintCommandRows();

    void replaceCommand(std::u16string const& text);
    void insertText(std::u16string const& text);
    void moveCursor(int to);
    int wordLeft() const;
    int wordRight() const;
    void paste();
    void limitSelectionTo(int limit);
    void showCursorNow();
    static void onBlink(NyCore::System::Widget* widget);

    ConsoleStream stream;
    NyCore::String* command = nullptr;
    int cursor = 0;
    NyCore::System::Timer blinkTimer{};
    NyCore::Graphics::Font* fonts[3] = {nullptr, nullptr, nullptr};
    std::uint32_t displayFlags = FollowOutput;
    int fontHeight = 1;
    int lineHeight = 1;
    int margin = 0;
    int cursorWidth = 1;
    int columns = 1;
    int visibleRows = 1;
    NyCore::System::WidgetRect laidOutClient{};
    // The first row of each line, then the row count.
    std::vector<int> rowStarts{0, 1};
    // The transcript length the rows were laid out for (where the command line began).
    int laidOutEnd = 0;
    int extraRows = 0;
    int anchor = 0;
    int caret = 0;
    bool selecting = false;
};

}
