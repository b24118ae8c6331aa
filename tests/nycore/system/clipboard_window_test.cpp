// The clipboard between two windows of this program, towards another program
// reading it (a second X connection), from another program owning it (a
// forked process with its own connection), and when nobody offers text.
#include <gtest/gtest.h>

#include <string>

#include "nycore/system/clipboard.h"
#include "nycore/system/widget.h"
#include "tests/support/child_process.h"
#include "tests/support/clipboard_peer.h"
#include "tests/support/strings.h"
#include "tests/support/windows.h"

using namespace NyCore;
using namespace NyCore::System;

namespace {

Widget* window(int x)
{
    return Widget::create(nullptr, u"NyCore.System.Widget", WidgetFlags::TopLevel, x, 40, 120, 60);
}

std::string paste(Widget* requester)
{
    return TestSupport::OwnedString(clipboard_get_text(requester)).utf8();
}

void copy(Widget* owner, std::u16string const& text)
{
    EXPECT_TRUE(clipboard_set_text(owner, TestSupport::OwnedString(text)));
}

class ClipboardWindowTest : public TestSupport::WindowTest {};

TEST_F(ClipboardWindowTest, TextGoesBetweenWindowsAndProgramsOrNotAtAll)
{
    Widget* first = window(40);
    Widget* second = window(200);
    struct Case {
        std::u16string text;
        std::string utf8;
        std::string latin1;  // as another program reads it as STRING
    };
    Case const cases[] = {
        {u"Zeile 1\nZeile 2: \u00E4\u00F6\u00FC", "Zeile 1\nZeile 2: \xC3\xA4\xC3\xB6\xC3\xBC",
         "Zeile 1\nZeile 2: \xE4\xF6\xFC"},
        {u"\u03A9\u03BC\u03AD\u03B3\u03B1 \u2211 \U0001D538", "\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1 \xE2\x88\x91 \xF0\x9D\x94\xB8",
         "<refused>"},
    };
    TestSupport::ClipboardReader other;
    for (Case const& c : cases) {
        SCOPED_TRACE(c.utf8);
        copy(first, c.text);
        EXPECT_EQ(paste(second), c.utf8);
        EXPECT_EQ(paste(first), c.utf8) << "the owner reads its own text";

        Atom type = None;
        EXPECT_EQ(other.read("UTF8_STRING", &type), c.utf8);
        EXPECT_EQ(type, XInternAtom(other.display, "UTF8_STRING", False));
        EXPECT_EQ(other.read("STRING", &type), c.latin1);
        std::string targets = other.read("TARGETS", &type);
        EXPECT_NE(targets.find("UTF8_STRING "), std::string::npos) << targets;
        EXPECT_EQ(targets.find("STRING ") == 0 || targets.find(" STRING ") != std::string::npos,
                  c.latin1 != "<refused>")
            << targets;
        EXPECT_EQ(other.read("image/png", &type), "<refused>");
    }

    // Another program takes the clipboard from this one.
    std::string const theirs = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 \xE2\x88\x9A\xCF\x80";
    {
        TestSupport::ClipboardOwner other(theirs, TestSupport::Offer::Utf8);
        ASSERT_TRUE(other.owning);
        EXPECT_EQ(paste(first), theirs);
    }
    {
        TestSupport::ClipboardOwner other("Gr\xFC\xDF" "e", TestSupport::Offer::Latin1Only);
        ASSERT_TRUE(other.owning);
        EXPECT_EQ(paste(first), "Gr\xC3\xBC\xC3\x9F" "e") << "an owner offering only STRING is read as Latin-1";
    }

    {
        TestSupport::ClipboardOwner other("unused", TestSupport::Offer::Nothing);
        ASSERT_TRUE(other.owning);
        EXPECT_EQ(paste(first), "<null>") << "an owner without text";
    }
    {
        TestSupport::ClipboardOwner other(std::string(100, 'x'), TestSupport::Offer::InPieces);
        ASSERT_TRUE(other.owning);
        EXPECT_EQ(paste(first), "<null>") << "transfers in pieces are refused";
    }
    EXPECT_TRUE(clipboard_set_text(first, nullptr));
    EXPECT_EQ(paste(second), "<null>") << "a null copy";
    copy(first, u"kept");
    first->close();
    EXPECT_EQ(paste(second), "<null>") << "the owning window was closed";
    second->close();

    TestSupport::expectFatal([] { clipboard_get_text(nullptr); }, "Error.Clipboard.Read");
    TestSupport::expectFatal([] { clipboard_set_text(nullptr, nullptr); }, "Error.Clipboard.Write");
}

}
