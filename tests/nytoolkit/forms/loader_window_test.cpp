// Forms read from XML: flag and anchor words, ids, anchored children on a
// resize, links between widgets and the form, the centred root window, the
// loader's messages on standard output and the fatal report of a bad file.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "nycore/system/runtime.h"
#include "nycore/system/type.h"
#include "tests/support/child_process.h"
#include "tests/support/forms.h"
#include "tests/support/strings.h"
#include "tests/support/temp_folder.h"

using NyCore::System::Widget;
using NyToolkit::Form;
using NyToolkit::Loader;
namespace WidgetFlags = NyCore::System::WidgetFlags;

namespace {

// A registered widget class that cannot be created.
NyCore::TypeData UncreatableMetaData = {&Widget::MetaData, nullptr, u"Tests.Uncreatable"_str, NyCore::NoMethods,
                                        NyCore::NoEvents, nullptr, sizeof(Widget), 0, nullptr};

class LoaderTest : public TestSupport::WindowTest {};

// The document's root widget through Loader::read, waited for until it is on
// screen and given the keyboard focus.
Widget* readForm(std::u16string const& text)
{
    NyCore::XML::Document document;
    xml_doc_ctor(&document);
    xml_parse_buffer(&document, text.data(), static_cast<int>(text.size()), true);
    Widget* form = Loader::read(&document, nullptr, 0);
    xml_node_dtor(&document);
    if (form) {
        EXPECT_TRUE(TestSupport::runUntil([&] { return TestSupport::mapped(form); }));
        form->focus();
    }
    return form;
}

// A 300 x 200 form at (40, 40) holding the body.
Form* inForm(std::u16string const& body)
{
    return static_cast<Form*>(readForm(u"<NyToolkit.Form x=\"40\" y=\"40\" w=\"300\" h=\"200\" caption=\"Loader\">" +
                                       body + u"</NyToolkit.Form>"));
}

TEST(LoaderFlags, WordsAddTheirValuesAndMustMatchWhole)
{
    struct Case {
        char16_t const* text;
        Loader::FlagDescrip const* table;
        std::uint32_t value;
    } const cases[] = {
        {u"TabStop  Hidden", Loader::WidgetFlagWords, 0x80000 + 0x2000000},
        {u"TabStop|Hidden", Loader::WidgetFlagWords, 0},
        {u"Tab", Loader::WidgetFlagWords, 0},
        {u"TabStopper", Loader::WidgetFlagWords, 0},
        {u"\tDisabled\nWantTab ", Loader::WidgetFlagWords, 0x4000000 + 0x40000},
        {u"Resizeable Resizeable Right", Loader::WidgetFlagWords, 0x100000},
        {u"", Loader::WidgetFlagWords, 0},
        {u"Right Bottom", Loader::AlignWords, 3},
        {u"Width Height", Loader::AlignWords, 0xC},
        {u"right Bottom", Loader::AlignWords, 2},
    };
    for (Case const& c : cases) {
        TestSupport::OwnedString text(c.text);
        EXPECT_EQ(Loader::flagsParse(text, c.table), c.value) << TestSupport::toUtf8(std::u16string(c.text));
    }
    EXPECT_EQ(Loader::flagsParse(nullptr, Loader::AlignWords), 0u);
}

TEST_F(LoaderTest, IdsFlagsAndAnchorsOfAFormsChildren)
{
    Form* form = inForm(
        u"<NyToolkit.NytkWidget id=\"corner\" x=\"200\" y=\"150\" w=\"60\" h=\"30\" align=\"Right Bottom\"/>"
        u"<NyToolkit.NytkWidget id=\"fixed\" x=\"10\" y=\"20\" w=\"50\" h=\"40\" flags=\"TabStop Disabled\"/>"
        u"<NyToolkit.NytkWidget id=\"hidden\" x=\"10\" y=\"70\" w=\"50\" h=\"40\" flags=\"Hidden\"/>"
        u"<NyToolkit.NytkWidget id=\"stretch\" x=\"80\" y=\"20\" w=\"100\" h=\"100\" align=\"Width Height\"/>");
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(TestSupport::windowProperty(form->get$nativeWindow(), "_NET_WM_NAME"), "Loader");
    Widget* corner = TestSupport::child(form, u"corner");
    Widget* fixed = TestSupport::child(form, u"fixed");
    Widget* hidden = TestSupport::child(form, u"hidden");
    Widget* stretch = TestSupport::child(form, u"stretch");
    ASSERT_TRUE(corner && fixed && hidden && stretch);
    EXPECT_EQ(TestSupport::child(form, u"nobody"), nullptr);
    EXPECT_EQ(corner->get$parent(), form);
    EXPECT_EQ(fixed->get$flags() & (WidgetFlags::TabStop | WidgetFlags::Disabled),
              WidgetFlags::TabStop | WidgetFlags::Disabled);
    EXPECT_TRUE(TestSupport::mapped(fixed));
    EXPECT_FALSE(TestSupport::mapped(hidden));

    form->setSize(400, 260);
    struct Case {
        Widget* widget;
        char const* name;
        int x, y, w, h;
    } const cases[] = {{corner, "right and bottom", 300, 210, 60, 30},
                       {fixed, "unanchored", 10, 20, 50, 40},
                       {stretch, "width and height", 80, 20, 200, 160}};
    for (Case const& c : cases) {
        EXPECT_EQ(std::make_tuple(c.widget->get$x(), c.widget->get$y(), c.widget->get$width(), c.widget->get$height()),
                  std::make_tuple(c.x, c.y, c.w, c.h))
            << c.name;
    }
    // The native window followed too.
    NyCore::System::WidgetRect screen, formScreen;
    corner->getScreenRect(&screen);
    form->getScreenRect(&formScreen);
    EXPECT_EQ(formScreen.x + 400 - (screen.x + screen.width), 40);
    EXPECT_EQ(formScreen.y + 260 - (screen.y + screen.height), 20);
    form->close();
}

TEST_F(LoaderTest, LinksJoinWidgetsAndTheFormByIdOrRoot)
{
    Form* form = inForm(
        u"<NyToolkit.NytkWidget id=\"a\" x=\"10\" y=\"10\" w=\"50\" h=\"30\" flags=\"TabStop\"/>"
        u"<NyToolkit.NytkWidget id=\"b\" x=\"70\" y=\"10\" w=\"50\" h=\"30\" flags=\"TabStop\"/>"
        u"<Link event=\"focusGained\" method=\"disable\" emitter=\"a\" listener=\"b\"/>"
        u"<Link event=\"scrollWheel\" method=\"disable\" emitter=\"root\" listener=\"root\"/>");
    Widget* a = TestSupport::child(form, u"a");
    Widget* b = TestSupport::child(form, u"b");
    ASSERT_TRUE(a && b);
    EXPECT_GT(static_cast<NyCore::Extenders::LinkableObject*>(form)->get$linkCount(), 0);
    EXPECT_FALSE(b->get$flags() & WidgetFlags::Disabled);
    a->focus();
    EXPECT_TRUE(TestSupport::runUntil([&] { return (b->get$flags() & WidgetFlags::Disabled) != 0; }))
        << "a's focus disables b";
    EXPECT_FALSE(form->get$flags() & WidgetFlags::Disabled);

    TestSupport::pointerTo(form, 150, 150);
    TestSupport::click(4);
    EXPECT_TRUE(TestSupport::runUntil([&] { return (form->get$flags() & WidgetFlags::Disabled) != 0; }))
        << "the wheel over the form disables the form itself";
    form->close();
}

TEST_F(LoaderTest, RootWithoutAPlaceIsCentredOnTheScreen)
{
    NyCore::System::WidgetPoint screen;
    Widget::screenSize(&screen);
    struct Case {
        char16_t const* place;
        int x, y;
    } const cases[] = {{u"", (screen.x - 300) / 2, (screen.y - 200) / 2},
                       {u" x=\"30\"", 30, (screen.y - 200) / 2},
                       {u" y=\"50\"", (screen.x - 300) / 2, 50},
                       {u" x=\"30\" y=\"50\"", 30, 50}};
    for (Case const& c : cases) {
        std::u16string text = u"<NyToolkit.Form w=\"300\" h=\"200\"" + std::u16string(c.place) + u"/>";
        Widget* form = readForm(text);
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(std::make_tuple(form->get$x(), form->get$y(), form->get$width(), form->get$height()),
                  std::make_tuple(c.x, c.y, 300, 200))
            << TestSupport::toUtf8(std::u16string(c.place));
        EXPECT_TRUE(form->get$flags() & WidgetFlags::TopLevel);
        form->close();
    }
}

TEST_F(LoaderTest, BrokenLinksAndUncreatableClassesAreReportedAndSkipped)
{
    TestSupport::registerOnce(&UncreatableMetaData);
    char16_t const* const widgets = u"<NyToolkit.NytkWidget id=\"a\" x=\"10\" y=\"10\" w=\"50\" h=\"30\"/>"
                                    u"<NyToolkit.NytkWidget id=\"b\" x=\"70\" y=\"10\" w=\"50\" h=\"30\"/>";
    // Loading goes on after each message: `present` is registered all the
    // same, `absent` (a sibling after a failed creation) is not.
    struct Case {
        char const* name;
        std::u16string body;
        std::string output;
        char16_t const* present;
        char16_t const* absent;
    } const cases[] = {
        {"a missing id before any id",
         u"<Link event=\"focusGained\" method=\"focus\" emitter=\"ghost\" listener=\"root\"/>" +
             std::u16string(widgets),
         "invalid widget name: \"ghost\"\n", u"b", u"ghost"},
        {"an id defined later",
         u"<Link event=\"focusGained\" method=\"focus\" emitter=\"root\" listener=\"late\"/>"
         u"<NyToolkit.NytkWidget id=\"late\" x=\"10\" y=\"10\" w=\"50\" h=\"30\"/>",
         "invalid widget name: \"late\"\n", u"late", u"b"},
        {"a missing listener",
         std::u16string(widgets) + u"<Link event=\"focusGained\" method=\"focus\" emitter=\"a\" listener=\"c\"/>",
         "invalid widget name: \"c\"\n", u"a", u"c"},
        {"an unknown event",
         std::u16string(widgets) + u"<Link event=\"explode\" method=\"focus\" emitter=\"a\" listener=\"b\"/>",
         "event not found, or method null: -1\nerror linking \"a\" to \"b\"\n", u"b", u"c"},
        {"an unknown method",
         std::u16string(widgets) + u"<Link event=\"focusGained\" method=\"explode\" emitter=\"a\" listener=\"b\"/>",
         "event not found, or method null: 1\nerror linking \"a\" to \"b\"\n", u"b", u"c"},
        {"a class without creation",
         u"<NyToolkit.NytkWidget id=\"a\"/><Tests.Uncreatable id=\"u\"/><NyToolkit.NytkWidget id=\"after\"/>",
         "failed to create \"Tests.Uncreatable\"\n", u"a", u"after"},
        {"a class that is not a widget", u"<NyCore.Double id=\"o\"/><NyToolkit.NytkWidget id=\"after\"/>",
         "failed to create \"NyCore.Double\"\n", nullptr, u"after"},
    };
    for (Case const& c : cases) {
        testing::internal::CaptureStdout();
        Form* form = inForm(c.body);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.output) << c.name;
        ASSERT_NE(form, nullptr) << c.name;
        if (c.present) {
            EXPECT_NE(TestSupport::child(form, c.present), nullptr) << c.name;
        }
        EXPECT_EQ(TestSupport::child(form, c.absent), nullptr) << c.name;
        EXPECT_EQ(static_cast<NyCore::Extenders::LinkableObject*>(form)->get$linkCount(), 0) << c.name << ": no link";
        form->close();
    }
}

TEST(LoaderFiles, AFormFileThatCannotBeReadIsFatalAndNamed)
{
    TestSupport::TempFolder folder;
    TestSupport::writeBytes(folder.at("broken.form"), "<NyToolkit.Form w=\"10\">\n<Link></NyToolkit.Form>");
    std::string const names[] = {folder.at("missing.form"), folder.at("broken.form")};
    for (std::string const& name : names) {
        auto result = TestSupport::runInChild([&] {
            TestSupport::OwnedString path(std::u16string(name.begin(), name.end()));
            Loader::load(path, nullptr, 0);
        });
        EXPECT_TRUE(result.exited && result.exitCode == NyCore::System::FatalExitCode) << result.output;
        EXPECT_NE(result.output.find("form file \"" + name + "\": "), std::string::npos) << result.output;
    }
}

TEST_F(LoaderTest, PreviewToolRefusesAMissingFileAndSavesAScreenshot)
{
    std::string const tool = TestSupport::programBesideTests("form_preview");
    TestSupport::TempFolder folder;
    auto missing = TestSupport::runProgram({tool, folder.at("none.form")}, "");
    EXPECT_TRUE(missing.exited && missing.exitCode != 0);
    EXPECT_NE((missing.output + missing.errors).find(folder.at("none.form")), std::string::npos) << missing.errors;

    TestSupport::writeBytes(folder.at("small.form"),
                            "<NyToolkit.Form w=\"120\" h=\"80\" bkgndColor=\"#FF0000\"/>");
    auto shot = TestSupport::runProgram({tool, folder.at("small.form"), "--screenshot", folder.at("small.png")}, "");
    EXPECT_TRUE(shot.exited && shot.exitCode == 0) << shot.output << shot.errors;
    std::string png = TestSupport::readBytes(folder.at("small.png"));
    ASSERT_GT(png.size(), 24u);
    // The header's big-endian width and height: the whole client area.
    auto word = [&](int at) {
        return (static_cast<unsigned char>(png[at]) << 24) | (static_cast<unsigned char>(png[at + 1]) << 16) |
               (static_cast<unsigned char>(png[at + 2]) << 8) | static_cast<unsigned char>(png[at + 3]);
    };
    EXPECT_EQ(std::make_tuple(png.substr(1, 3), word(16), word(20)), std::make_tuple(std::string("PNG"), 120, 80));

    // The gallery uses every control: it loads without a single loader message.
    auto gallery = TestSupport::runProgram(
        {tool, FORMS_DIR "/gallery.form", "--screenshot", folder.at("gallery.png")}, "");
    EXPECT_TRUE(gallery.exited && gallery.exitCode == 0) << gallery.errors;
    EXPECT_EQ(gallery.output + gallery.errors, "");
    EXPECT_GT(TestSupport::readBytes(folder.at("gallery.png")).size(), 24u);
}

}
