// The editing rules of the text kernel as tables: a text with its cursor ('|')
// and anchor ('^', at the cursor when absent), one key, the text and selection
// after it. Then the undo history, words, and the flag words.
#include <gtest/gtest.h>

#include <string>

#include "nycore/system/widget.h"
#include "nytoolkit/text/text_kernel.h"
#include "tests/support/strings.h"

using NyToolkit::TextKernel;
namespace Keys = NyCore::System::SystemKeys;

namespace {

constexpr int Shift = NyCore::System::KeyModifiers::Shift;
constexpr int Ctrl = NyCore::System::KeyModifiers::Ctrl;

// Sets the kernel from the marked text.
void load(TextKernel& kernel, std::u16string marked)
{
    std::size_t cursor = marked.find(u'|');
    marked.erase(cursor, 1);
    std::size_t anchor = marked.find(u'^');
    if (anchor == std::u16string::npos) {
        anchor = cursor;
    } else {
        marked.erase(anchor, 1);
        if (anchor < cursor)
            --cursor;
    }
    TestSupport::OwnedString text(marked);
    kernel.setText(text);
    kernel.setSelection(static_cast<int>(anchor), static_cast<int>(cursor));
}

// The kernel's text with its marks.
std::string marked(TextKernel const& kernel)
{
    std::u16string text(kernel.units(), static_cast<std::size_t>(kernel.get$length()));
    int cursor = kernel.caret();
    int anchor = kernel.anchorAt();
    if (anchor != cursor)
        text.insert(static_cast<std::size_t>(anchor), 1, u'^');
    text.insert(static_cast<std::size_t>(cursor + (anchor != cursor && anchor < cursor ? 1 : 0)), 1, u'|');
    return TestSupport::toUtf8(text);
}

// A navigation key moves; any other key is typed.
void press(TextKernel& kernel, int key, int modifiers)
{
    bool navigation = key == Keys::Home || key == Keys::End || key == Keys::Left || key == Keys::Right ||
                      key == Keys::Up || key == Keys::Down;
    if (navigation)
        kernel.moveCursor(kernel.handleNavigationKey(key, modifiers), (modifiers & Shift) != 0);
    else
        kernel.typeKey(key, modifiers);
}

TEST(TextKernel, KeysEditAndMoveByTheFlags)
{
    std::uint32_t const RO = TextKernel::ReadOnly, Num = TextKernel::Numeric, NL = TextKernel::WantNewLine,
                        SE = TextKernel::ShiftEnter;
    struct Case {
        std::uint32_t flags;
        char16_t const* before;
        int key;
        int modifiers;
        char const* after;
    } const cases[] = {
        {0, u"ab|cd", 'x', 0, "abx|cd"},
        {0, u"a^bc|d", 'x', 0, "ax|d"},
        {0, u"a|bc^d", 'x', 0, "ax|d"},
        {0, u"a^bc|d", 8, 0, "a|d"},
        {0, u"a^bc|d", Keys::Delete, 0, "a|d"},
        {0, u"ab|cd", 8, 0, "a|cd"},
        {0, u"|ab", 8, 0, "|ab"},
        {0, u"ab|cd", Keys::Delete, 0, "ab|d"},
        {0, u"ab|", Keys::Delete, 0, "ab|"},
        {0, u"ab|", 8, Ctrl, "a|"},
        {0, u"ab|", 9, 0, "ab|"},
        {0, u"ab|", 27, 0, "ab|"},
        {0, u"ab|", 7, 0, "ab|"},
        // Ctrl chords are commands, never characters, whether they come as letters or control codes.
        {0, u"^ab|", 22, Ctrl, "^ab|"},
        {0, u"^ab|", 'v', Ctrl, "^ab|"},
        {0, u"ab|", 17, Ctrl, "ab|"},
        {0, u"ab|", '1', Ctrl, "ab|"},
        {0, u"a|b", 1, Ctrl, "^ab|"},
        {0, u"a|b", 'A', Ctrl | Shift, "^ab|"},
        {Num, u"1|", 'a', 0, "1|"},
        {Num, u"1|", 'q', Ctrl, "1|"},
        {Num, u"1|", '-', 0, "1-|"},
        {Num, u"1|", '.', 0, "1.|"},
        {Num, u"1|", '7', 0, "17|"},
        {Num, u"12|", 8, 0, "1|"},
        {RO, u"ab|", 'x', 0, "ab|"},
        {RO, u"ab|", 8, 0, "ab|"},
        {RO, u"a|b", Keys::Delete, 0, "a|b"},
        {RO, u"^ab|", 3, Ctrl, "^ab|"},
        {RO, u"^ab|", 22, Ctrl, "^ab|"},
        {RO, u"^ab|", 24, Ctrl, "^ab|"},
        {RO, u"a|b", 1, Ctrl, "^ab|"},
        {RO | NL, u"a^b|", 10, 0, "a^b|"},
        {0, u"ab|", 10, 0, "ab|"},
        {NL, u"a^b|", 10, 0, "a\n|"},
        {SE, u"ab|", 10, 0, "ab|"},
        {SE, u"ab|", 10, Shift, "ab\n|"},
        {0, u"ab|cd", Keys::Left, 0, "a|bcd"},
        {0, u"ab|cd", Keys::Left, Shift, "a|b^cd"},
        {0, u"a^b|cd", Keys::Right, Shift, "a^bc|d"},
        {0, u"a^b|cd", Keys::Right, 0, "abc|d"},
        {0, u"|ab", Keys::Left, 0, "|ab"},
        {0, u"ab|", Keys::Right, 0, "ab|"},
        {0, u"ab|cd", Keys::Home, 0, "|abcd"},
        {0, u"ab|cd", Keys::Up, Shift, "|ab^cd"},
        {0, u"ab|cd", Keys::End, 0, "abcd|"},
        {0, u"a\nb|c", Keys::Down, 0, "a\nbc|"},
        {0, u"a|bc; def", Keys::Right, Ctrl, "abc; |def"},
        {0, u"a|bc; def", Keys::Right, Ctrl | Shift, "a^bc; |def"},
        {0, u"abc|\ndef", Keys::Right, Ctrl, "abc\n|def"},
        {0, u"abc; d|ef", Keys::Left, Ctrl, "abc; |def"},
        {0, u"abc; |def", Keys::Left, Ctrl, "|abc; def"},
        {0, u"abc def|", Keys::Right, Ctrl, "abc def|"},
        {0, u"|abc", Keys::Left, Ctrl, "|abc"},
    };
    for (Case const& c : cases) {
        TextKernel kernel;
        load(kernel, c.before);
        kernel.set$flags(c.flags);
        press(kernel, c.key, c.modifiers);
        EXPECT_EQ(marked(kernel), c.after)
            << TestSupport::toUtf8(c.before) << " key " << c.key << " modifiers " << c.modifiers;
    }
}

TEST(TextKernel, UnsetSelectionWordsAndFlagWords)
{
    // Before any text is set, the cursor of -1 counts as 0.
    TextKernel kernel;
    kernel.initilize(nullptr);
    EXPECT_EQ(kernel.get$cursor(), -1);
    kernel.typeKey('a', 0);
    kernel.moveCursor(kernel.handleNavigationKey(Keys::Home, 0), false);
    kernel.typeKey('b', 0);
    EXPECT_EQ(marked(kernel), "b|a");

    struct Word {
        char16_t const* before;
        char const* after;
    } const words[] = {
        {u"ab c|d ef", "ab ^cd| ef"}, {u"|abc", "^abc|"},      {u"ab;cd|", "ab;^cd|"},
        {u"x\ny|z", "x\n^yz|"},       {u"ab|  cd", "ab| ^ cd"}, {u"a^b c|d", "^ab cd|"},
    };
    for (Word const& w : words) {
        load(kernel, w.before);
        kernel.selectWord();
        EXPECT_EQ(marked(kernel), w.after) << TestSupport::toUtf8(w.before);
    }

    struct FlagWord {
        char16_t const* text;
        std::uint32_t value;
    } const flagWords[] = {{u"ReadOnly Password", 132}, {u"Numeric Bogus", 8}, {u"WantNewLine\tShiftEnter", 48},
                           {u"readonly", 0}};
    for (FlagWord const& f : flagWords) {
        TestSupport::OwnedString text(f.text);
        EXPECT_EQ(NyToolkit::Loader::flagsParse(text, TextKernel::FlagWords), f.value) << TestSupport::toUtf8(f.text);
    }
}

TEST(TextKernel, UndoTakesBackWordsAndRestoresTheSelection)
{
    TextKernel kernel;
    load(kernel, u"|");
    for (char16_t ch : std::u16string(u"ab cd"))
        kernel.typeKey(ch, 0);
    kernel.typeKey(8, 0);
    kernel.typeKey(8, 0);
    struct Step {
        int key;
        int modifiers;
        char const* after;
    } const steps[] = {
        {26, Ctrl, "ab cd|"},          {'z', Ctrl, "ab |"},          {26, Ctrl, "|"},
        {26, Ctrl, "|"},               {25, Ctrl, "ab |"},           {26, Ctrl | Shift, "ab cd|"},
        {'y', Ctrl, "ab |"},           {'y', Ctrl, "ab |"},          {26, Ctrl, "ab cd|"},
        {'x', 0, "ab cdx|"},           {25, Ctrl, "ab cdx|"},        {Keys::Left, 0, "ab cd|x"},
        {Keys::Left, Shift, "ab c|d^x"}, {'q', 0, "ab cq|x"},        {26, Ctrl, "ab c|d^x"},
        {Keys::Delete, 0, "ab c|x"},   {Keys::Delete, 0, "ab c|"},   {26, Ctrl, "ab c|x"},
    };
    for (Step const& s : steps) {
        press(kernel, s.key, s.modifiers);
        EXPECT_EQ(marked(kernel), s.after) << "key " << s.key << " modifiers " << s.modifiers;
    }
    // Read-only text neither undoes nor redoes.
    kernel.set$flags(TextKernel::ReadOnly);
    press(kernel, 25, Ctrl);
    EXPECT_EQ(marked(kernel), "ab c|x");
}

}
