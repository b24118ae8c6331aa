// TextBox: the one-line text input of the dialogs (names, numbers). The text
// kernel edits; the box draws a sunken white field whose frame turns to the
// highlight colour while it has the focus, a blinking caret, the selection,
// and scrolls its text sideways to keep the caret in view. Enter sends
// "enterPressed"; every character that edits sends "characterEntered".
#pragma once

#include "nycore/system/timer.h"
#include "nytoolkit/forms/nytk_widget.h"
#include "nytoolkit/text/text_kernel.h"

namespace NyToolkit {

class TextBox : public NytkWidget {
    NY_REFLECTIVE(TextBox)
public:
    TextBox();
    ~TextBox() override;
    static NyCore::Object* __create();

    void onCreate() override;
    // "value" (the initial text) and "flags" (the text-editing words).
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

    // Copies the text (null empties the box); the caret goes to its end.
    void setText(NyCore::String const* text);
    NyCore::String const* get$text() const { return kernel.get$text(); }
    // Selects `length` units from `start` (the caret at the end of them).
    void setSelection(int start, int length);
    void selectAll();
    std::uint32_t get$textFlags() const { return kernel.get$flags(); }
    void set$textFlags(std::uint32_t flags);
    bool get$readOnly() const { return kernel.isReadOnly(); }
    void set$readOnly(bool readOnly);
    TextKernel& get$kernel() { return kernel; }
    // The offset whose caret place lies nearest to x (widget coordinates).
    int offsetAt(int x) const;
    // The caret's x in widget coordinates.
    int caretX() const;

private:
    // What the box shows: the text, or one '*' per unit for a password.
    std::u16string shown() const;
    int textLeft() const;
    int fieldWidth() const;
    // Keeps the caret inside the field; true when the text moved.
    bool scrollToCaret();
    // Redraws and restarts the blink after a key or click changed something.
    void changed(int outcome);
    void showCaret();
    static void onBlink(NyCore::System::Widget* widget);

    TextKernel kernel;
    NyCore::System::Timer blinkTimer{};
    bool caretOn = false;
    bool selecting = false;
    // Pixels of text scrolled out of view on the left.
    int scrollX = 0;
};

}
