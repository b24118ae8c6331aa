// The catalogue widgets on a real X server: what their form parameters set,
// the events that clicks, keys and the wheel send, and a few pixels.
#include <gtest/gtest.h>

#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <functional>

#include <string>

#include "nycore/graphics/gc.h"
#include "nycore/system/boxed_values.h"
#include "nycore/system/time.h"
#include "nytoolkit/widgets/animated_bar.h"
#include "nytoolkit/widgets/calendar.h"
#include "nytoolkit/widgets/icon_text_box.h"
#include "nytoolkit/widgets/image.h"
#include "nytoolkit/widgets/label.h"
#include "nytoolkit/widgets/progress_bar.h"
#include "nytoolkit/widgets/tab_bar.h"
#include "nytoolkit/widgets/value_spin.h"
#include "tests/support/bmp_builder.h"
#include "tests/support/event_log.h"
#include "tests/support/forms.h"
#include "tests/support/strings.h"
#include "tests/support/temp_folder.h"

using namespace NyToolkit;
using namespace TestSupport;
using NyCore::System::Widget;
namespace TF = NyCore::Graphics::TextFlags;

namespace {

char16_t const* const FormText = uR"(<NyToolkit.Form x="40" y="40" w="430" h="300" caption="Widgets">
  <NyToolkit.Label id="label" x="10" y="10" w="120" h="20" textAlign="Center Middle">Hello</NyToolkit.Label>
  <NyToolkit.Label id="empty" x="140" y="10" w="60" h="20" textAlign="Center Middle"/>
  <NyToolkit.IconTextBox id="box" x="10" y="40" w="160" h="22" value="file.txt"/>
  <NyToolkit.ValueSpin id="spin" x="180" y="40" w="90" h="22" min="-2" max="5" rate="2" value="1" format="%d px"/>
  <NyToolkit.ProgressBar id="progress" x="10" y="70" w="164" h="16" value="30" maximum="60" speed="5"/>
  <NyToolkit.AnimatedBar id="busy" x="180" y="70" w="160" h="16" maximum="10"/>
  <NyToolkit.TabBar id="tabs" x="10" y="95" w="200" h="120" active="1">
    <NyToolkit.Label label="One">Page one</NyToolkit.Label>
    <NyToolkit.Label label="Second">Page two</NyToolkit.Label>
    <NyToolkit.NytkWidget label="Three">
      <NyToolkit.Label id="inner" x="4" y="4" w="80" h="20">In</NyToolkit.Label>
    </NyToolkit.NytkWidget>
  </NyToolkit.TabBar>
  <NyToolkit.Calendar id="cal" x="220" y="95" w="200" h="180" year="2024" month="2"/>
</NyToolkit.Form>)";

// The local year and month as the widgets see them.
std::pair<int, int> localMonth()
{
    NyCore::DateTime now;
    NyCore::System::Time::getLocalTime(&now);
    return {now.year, now.month};
}

// The form of the text (whose root gives its own place) as a mapped window with the focus.
Form* openForm(std::u16string const& text)
{
    NyCore::XML::Document document;
    xml_doc_ctor(&document);
    xml_parse_buffer(&document, text.data(), static_cast<int>(text.size()), true);
    auto* form = static_cast<Form*>(Loader::read(&document, nullptr, 0));
    xml_node_dtor(&document);
    runUntil([&] { return mapped(form); });
    form->focus();
    return form;
}

class WidgetsTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        form = openForm(FormText);
    }
    void TearDown() override { form->close(); }

    // Lets the widget read the attributes of `elementText` as from a form file.
    static void configure(Widget* widget, std::u16string const& elementText)
    {
        NyCore::XML::Document document;
        xml_doc_ctor(&document);
        xml_parse_buffer(&document, elementText.data(), static_cast<int>(elementText.size()), true);
        widget->setParameters(xml_doc_element(&document));
        xml_node_dtor(&document);
    }
    static void focusOn(Widget* widget)
    {
        widget->focus();
        ASSERT_TRUE(runUntil([&] { return Widget::get$focused() == widget; }));
    }
    static void clickAt(Widget* widget, int x, int y, unsigned button = 1)
    {
        pointerTo(widget, x, y);
        click(button);
    }

    Form* form = nullptr;
};

TEST_F(WidgetsTest, FormParametersGiveTheState)
{
    auto* label = child<Label>(form, u"label");
    EXPECT_EQ(label->get$textAlign(), TF::CenterHorizontal | TF::CenterVertical);
    EXPECT_EQ(OwnedString(string_copy(label->get$text())).text(), u"Hello");
    EXPECT_EQ(child<Label>(form, u"empty")->get$text()->count, 0);
    struct AlignCase {
        char16_t const* words;
        int flags;
    } const aligns[] = {{u"Right Bottom Wrap", TF::AlignRight | TF::AlignBottom | TF::WordWrap},
                        {u"Top Left", 0},
                        {u"Center\tBogus Middle", TF::CenterHorizontal | TF::CenterVertical}};
    for (AlignCase const& c : aligns) {
        configure(label, u"<NyToolkit.Label textAlign=\"" + std::u16string(c.words) + u"\">x</NyToolkit.Label>");
        EXPECT_EQ(label->get$textAlign(), c.flags) << toUtf8(c.words);
    }

    // Each row starts from May 1999.
    auto* calendar = child<Calendar>(form, u"cal");
    EXPECT_EQ(std::pair(calendar->get$year(), calendar->get$month()), std::pair(2024, 2));
    auto const [nowYear, nowMonth] = localMonth();
    struct CalendarCase {
        char16_t const* attributes;
        int year, month, flags;
    } const calendars[] = {{u"year=\"2030\" month=\"11\"", 2030, 11, 0},
                           {u"year=\"2030\"", 2030, nowMonth, 0},
                           {u"month=\"7\" flags=\"ShortDayLabels\"", nowYear, 7, Calendar::ShortDayLabels},
                           {u"year=\"0\" month=\"0\" flags=\"SelectByWeek ShortDayLabels\"", 1999, 5, 3},
                           {u"", 1999, 5, 0}};
    for (CalendarCase const& c : calendars) {
        calendar->setMonth(1999, 5);
        configure(calendar, u"<NyToolkit.Calendar " + std::u16string(c.attributes) + u"/>");
        EXPECT_EQ(std::tuple(calendar->get$year(), calendar->get$month(), calendar->get$calendarFlags()),
                  std::tuple(c.year, c.month, c.flags))
            << toUtf8(c.attributes);
    }

    auto* spin = child<ValueSpin>(form, u"spin");
    struct SpinCase {
        char16_t const* attributes;
        double min, max, value;
        char16_t const* shown;
    } const spins[] = {{u"min=\"-2\" max=\"5\" value=\"10\"", -2, 5, 5, u"5"},
                       {u"min=\"-2\" max=\"5\" value=\"-3\" format=\"%d px\"", -2, 5, -2, u"-2 px"},
                       {u"min=\"5\" max=\"1\" format=\"%.2f%%\"", 1, 5, 1, u"1.00%"},
                       {u"max=\"9\" value=\"2.5\" format=\"[%05.1f]\"", 0, 9, 2.5, u"[002.5]"},
                       {u"value=\"7.5\" format=\"%d\"", 0, 100, 7.5, u"8"},
                       {u"value=\"0.25\" format=\"%s %q\"", 0, 100, 0.25, u"0.25"}};
    for (SpinCase const& c : spins) {
        configure(spin, u"<NyToolkit.ValueSpin " + std::u16string(c.attributes) + u"/>");
        EXPECT_EQ(std::tuple(spin->get$min(), spin->get$max(), spin->get$value()), std::tuple(c.min, c.max, c.value))
            << toUtf8(c.attributes);
        EXPECT_EQ(OwnedString(spin->formatValue()).text(), c.shown) << toUtf8(c.attributes);
    }

    auto* progress = child<ProgressBar>(form, u"progress");
    EXPECT_EQ(std::tuple(progress->get$value(), progress->get$maximum(), progress->get$fillWidth()),
              std::tuple(30, 60, (164 - 4) / 2));
    progress->increment();
    EXPECT_EQ(progress->get$value(), 35) << "by the speed";
    progress->set$maximum(20);
    EXPECT_EQ(std::pair(progress->get$value(), progress->get$fillWidth()), std::pair(20, 164 - 4));
    auto* tabs = child<TabBar>(form, u"tabs");
    EXPECT_EQ(std::tuple(tabs->get$count(), tabs->get$active(), OwnedString(string_copy(tabs->getLabel(2))).text()),
              std::tuple(3, 1, std::u16string(u"Three")));
    EXPECT_EQ(child(form, u"inner")->get$parent(), tabs->getPage(2)) << "a plain page builds its children";

    auto* box = child<IconTextBox>(form, u"box");
    EXPECT_EQ(std::pair(OwnedString(string_copy(box->get$text())).text(), box->get$icons()),
              std::pair(std::u16string(u"file.txt"), box->get$style()->getIcons(Style::DropArrow)));
    configure(box, u"<NyToolkit.IconTextBox icon=\"icons/close.icons\"/>");
    EXPECT_EQ(box->get$icons()->get$count(), 3) << "the icon file's own set";
}

TEST_F(WidgetsTest, SpinClicksKeysAndWheelChangeTheValueWithinItsLimits)
{
    auto* spin = child<ValueSpin>(form, u"spin");
    EventLog changes;
    ASSERT_TRUE(changes.listen(spin, u"change"));
    NyCore::System::WidgetRect up, down;
    spin->getButtonRect(ValueSpin::UpButton, &up);
    spin->getButtonRect(ValueSpin::DownButton, &down);
    auto press = [&](NyCore::System::WidgetRect const& r) {
        clickAt(spin, r.x + r.width / 2, r.y + r.height / 2);
    };
    auto wheel = [&](unsigned button) { clickAt(spin, 10, 10, button); };
    auto type = [](std::initializer_list<KeySym> keys) {
        for (KeySym k : keys)
            tap(k);
    };
    struct Step {
        char const* what;
        std::function<void()> act;
        double value;
        char const* events;
    } const steps[] = {{"up button", [&] { press(up); }, 3, "3"},
                       {"up key", [&] { tap(XK_Up); }, 5, "3 5"},
                       {"up key at the maximum", [&] { tap(XK_Up); }, 5, "3 5"},
                       {"down button", [&] { press(down); }, 3, "3 5 3"},
                       {"wheel down", [&] { wheel(5); }, 1, "3 5 3 1"},
                       {"down key", [&] { tap(XK_Down); }, -1, "3 5 3 1 -1"},
                       {"wheel down to the minimum", [&] { wheel(5); }, -2, "3 5 3 1 -1 -2"},
                       {"wheel up", [&] { wheel(4); }, 0, "3 5 3 1 -1 -2 0"},
                       {"End", [&] { tap(XK_End); }, 5, "3 5 3 1 -1 -2 0 5"},
                       {"typed -1.5 and Enter", [&] { type({XK_minus, XK_1, XK_period, XK_5, XK_Return}); }, -1.5,
                        "3 5 3 1 -1 -2 0 5 -2"},
                       {"typed 9 and Enter, clamped", [&] { type({XK_9, XK_Return}); }, 5, "3 5 3 1 -1 -2 0 5 -2 5"},
                       {"typed 3 and Escape, then Backspace from 5 and 2",
                        [&] { type({XK_3, XK_Escape, XK_BackSpace, XK_2, XK_Return}); }, 2,
                        "3 5 3 1 -1 -2 0 5 -2 5 2"},
                       {"typed text that is no number", [&] { type({XK_minus, XK_Return, XK_Up}); }, 4,
                        "3 5 3 1 -1 -2 0 5 -2 5 2 4"}};
    focusOn(spin);
    for (Step const& s : steps) {
        s.act();
        // A change at the limit sends nothing, so the next step's event shows it was ignored.
        EXPECT_TRUE(runUntil([&] { return changes.firstArguments() == s.events && spin->get$value() == s.value; }))
            << s.what << ": " << changes.firstArguments() << " value " << spin->get$value();
    }
    EXPECT_EQ(OwnedString(spin->formatValue()).text(), u"4 px");
}

TEST_F(WidgetsTest, TabClicksAndKeysChangeThePageShown)
{
    auto* tabs = child<TabBar>(form, u"tabs");
    EventLog changes;
    ASSERT_TRUE(changes.listen(tabs, u"changeActive"));
    auto clickTab = [&](int index) {
        NyCore::System::WidgetRect r;
        tabs->getTabRect(index, &r);
        clickAt(tabs, r.x + r.width / 2, r.height / 2);
    };
    auto chord = [](KeySym modifier, KeySym sym) {
        key(modifier, true);
        tap(sym);
        key(modifier, false);
    };
    struct Step {
        char const* what;
        std::function<void()> act;
        int active;
        char const* events;
    } const steps[] = {{"click the first tab", [&] { clickTab(0); }, 0, "0"},
                       {"Left at the first", [&] { tap(XK_Left); }, 0, "0"},
                       {"Right", [&] { tap(XK_Right); }, 1, "0 1"},
                       {"click the third tab", [&] { clickTab(2); }, 2, "0 1 2"},
                       {"Ctrl+Tab wraps", [&] { chord(XK_Control_L, XK_Tab); }, 0, "0 1 2 0"},
                       {"click the active tab", [&] { clickTab(0); }, 0, "0 1 2 0"},
                       {"Left", [&] { tap(XK_Left); }, 0, "0 1 2 0"},
                       {"Right", [&] { tap(XK_Right); }, 1, "0 1 2 0 1"}};
    for (Step const& s : steps) {
        s.act();
        EXPECT_TRUE(runUntil([&] { return changes.firstArguments() == s.events; }))
            << s.what << ": " << changes.firstArguments();
        EXPECT_EQ(tabs->get$active(), s.active) << s.what;
        for (int i = 0; i < tabs->get$count(); ++i)
            EXPECT_EQ(mapped(tabs->getPage(i)), i == s.active) << s.what << ", page " << i;
    }
    EXPECT_EQ(Widget::get$focused(), tabs) << "a tab click focuses the bar";

    Widget* second = tabs->getPage(1);
    tabs->removeTab(1);
    // The page after the removed active one takes its place.
    EXPECT_EQ(std::tuple(tabs->get$count(), tabs->get$active(), changes.last()[0]), std::tuple(2, 1, 1));
    OwnedString back(u"Back");
    tabs->insertTab(0, second, back);
    EXPECT_EQ(std::tuple(tabs->get$count(), tabs->get$active(), tabs->getPage(0)), std::tuple(3, 2, second));
    EXPECT_TRUE(runUntil([&] { return !mapped(second) && mapped(tabs->getPage(2)); }));
    EXPECT_EQ(OwnedString(string_copy(tabs->getLabel(0))).text(), u"Back");
}

TEST_F(WidgetsTest, IconButtonSendsClickAndRelease)
{
    auto* box = child<IconTextBox>(form, u"box");
    EventLog clicks, releases;
    ASSERT_TRUE(clicks.listen(box, u"buttonClick"));
    ASSERT_TRUE(releases.listen(box, u"buttonRelease"));
    NyCore::System::WidgetRect button;
    box->getButtonRect(&button);
    EXPECT_EQ(button.x + button.width, box->get$width() - 1) << "at the right end";

    clickAt(box, 10, 10);
    ASSERT_TRUE(runUntil([&] { return Widget::get$focused() == box; }));
    pointerTo(box, button.x + button.width / 2, button.y + button.height / 2);
    XTestFakeButtonEvent(display(), 1, True, 0);
    XFlush(display());
    ASSERT_TRUE(runUntil([&] { return clicks.count() == 1 && box->get$pressed(); }));
    EXPECT_EQ(releases.count(), 0) << "the text part sends nothing, the press only the click";
    XTestFakeButtonEvent(display(), 1, False, 0);
    XFlush(display());
    ASSERT_TRUE(runUntil([&] { return releases.count() == 1 && !box->get$pressed(); }));
    tap(XK_space);
    EXPECT_TRUE(runUntil([&] { return clicks.count() == 2 && releases.count() == 2; }));
}

TEST_F(WidgetsTest, CalendarClicksAndKeysMoveTheSelection)
{
    auto* calendar = child<Calendar>(form, u"cal");
    focusOn(calendar);
    auto clickDay = [&](int row, int column) {
        NyCore::System::WidgetRect r;
        calendar->getCellRect(row, column, &r);
        clickAt(calendar, r.x + r.width / 2, r.y + r.height / 2);
    };
    // February 2024 starts on a Thursday: row 0 holds 28 to 31 January, then 1 to 3 February.
    struct Step {
        char const* what;
        std::function<void()> act;
        int year, month, day;
        int shownMonth;
    } const steps[] = {{"click 14 February", [&] { clickDay(2, 3); }, 2024, 2, 14, 2},
                       {"Right", [&] { tap(XK_Right); }, 2024, 2, 15, 2},
                       {"Down", [&] { tap(XK_Down); }, 2024, 2, 22, 2},
                       {"Down to the leap day", [&] { tap(XK_Down); }, 2024, 2, 29, 2},
                       {"Right into March", [&] { tap(XK_Right); }, 2024, 3, 1, 3},
                       {"Page Up", [&] { tap(XK_Page_Up); }, 2024, 2, 1, 2},
                       {"Left into January", [&] { tap(XK_Left); }, 2024, 1, 31, 1},
                       {"Page Down keeps the day within February", [&] { tap(XK_Page_Down); }, 2024, 2, 29, 2},
                       {"click a dimmed January day", [&] { clickDay(0, 0); }, 2024, 1, 28, 1},
                       {"End", [&] { tap(XK_End); }, 2024, 1, 31, 1}};
    for (Step const& s : steps) {
        s.act();
        int y = 0, m = 0, d = 0;
        EXPECT_TRUE(runUntil([&] {
            return calendar->getSelection(&y, &m, &d) && std::tuple(y, m, d) == std::tuple(s.year, s.month, s.day);
        })) << s.what << ": " << y << "-" << m << "-" << d;
        EXPECT_EQ(calendar->get$month(), s.shownMonth) << s.what;
    }
    clickAt(calendar, calendar->get$width() - 10, calendar->get$headerHeight() / 2);
    EXPECT_TRUE(runUntil([&] { return calendar->get$month() == 2; })) << "the right arrow";
    EXPECT_EQ(calendar->get$selectedDay(), 0) << "January's selection is not in February";
    calendar->selectDay(40);
    EXPECT_EQ(calendar->get$selectedDay(), 29);
    calendar->clearSelection();
    int y, m, d;
    EXPECT_FALSE(calendar->getSelection(&y, &m, &d));
}

TEST_F(WidgetsTest, PixelsOfLabelsBarsAndTabs)
{
    auto* label = child<Label>(form, u"label");
    auto* empty = child<Label>(form, u"empty");
    auto inkIn = [](Widget* widget) {
        int ink = 0;
        unsigned long window = widget->get$nativeWindow();
        for (std::uint32_t rgb : readPixels(window, 0, 0, widget->get$width(), widget->get$height()))
            ink += rgb != widget->get$background();
        return ink;
    };
    EXPECT_TRUE(runUntil([&] { return inkIn(label) > 20; })) << "the text is drawn";
    EXPECT_EQ(inkIn(empty), 0) << "a label without text shows nothing";

    auto* progress = child<ProgressBar>(form, u"progress");
    std::uint32_t const fill = progress->getColor(Style::HighlightBackground);
    std::uint32_t const frame = progress->getColor(Style::Frame);
    std::uint32_t const paper = progress->get$background();
    unsigned long window = progress->get$nativeWindow();
    ASSERT_TRUE(runUntil([&] { return pixelAt(window, 3, 8) == fill; }));
    expectPixels(window, {{"frame", 0, 0, frame},
                          {"frame bottom right", 163, 15, frame},
                          {"filled half", 2 + 79, 8, fill},
                          {"empty half", 2 + 80, 8, paper}});

    auto* tabs = child<TabBar>(form, u"tabs");
    NyCore::System::WidgetRect active, other;
    tabs->getTabRect(1, &active);
    tabs->getTabRect(0, &other);
    expectPixels(tabs->get$nativeWindow(), {{"active tab's top edge", active.x + 5, 0, frame},
                                            {"active tab opens onto the page", active.x + 5, active.height - 1,
                                             tabs->get$background()},
                                            {"inactive tab's face", other.x + 3, other.height - 3,
                                             tabs->getColor(Style::Light)},
                                            {"page frame under an inactive tab", other.x + 3, other.height - 1,
                                             frame}});

    auto* busy = child<AnimatedBar>(form, u"busy");
    EXPECT_TRUE(busy->get$running());
    int start = busy->get$position();
    EXPECT_TRUE(runUntil([&] { return busy->get$position() != start; })) << "the timer moves the block";
    busy->hide();
    EXPECT_FALSE(busy->get$running());
    busy->show();
    EXPECT_TRUE(busy->get$running());
}

TEST_F(WidgetsTest, ImagesStretchOrKeepTheirSize)
{
    TempFolder folder;
    BmpPicture picture;
    picture.width = 2;
    picture.height = 2;
    picture.values = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00};
    writeBytes(folder.at("four.bmp"), buildBmp(picture));
    std::string const file = folder.at("four.bmp");
    std::u16string const path(file.begin(), file.end());
    std::u16string text = u"<NyToolkit.Form x=\"60\" y=\"60\" w=\"100\" h=\"60\">"
                          u"<NyToolkit.Image id=\"wide\" x=\"0\" y=\"0\" w=\"40\" h=\"20\" image=\"" + path + u"\"/>"
                          u"<NyToolkit.Image id=\"small\" x=\"50\" y=\"0\" w=\"40\" h=\"20\" flags=\"NoStretch\" "
                          u"image=\"" + path + u"\"/></NyToolkit.Form>";
    Form* pictures = openForm(text);
    auto* wide = child<Image>(pictures, u"wide");
    auto* small = child<Image>(pictures, u"small");
    EXPECT_EQ(std::pair(wide->get$hasImage(), small->get$imageFlags()), std::pair(true, int(Image::NoStretch)));
    ASSERT_TRUE(runUntil([&] { return pixelAt(wide->get$nativeWindow(), 39, 19) == 0xFFFF00; }));
    expectPixels(wide->get$nativeWindow(), {{"top left quarter", 5, 5, 0xFF0000},
                                            {"top right quarter", 30, 5, 0x00FF00},
                                            {"bottom left quarter", 5, 15, 0x0000FF}});
    ASSERT_TRUE(runUntil([&] { return pixelAt(small->get$nativeWindow(), 1, 1) == 0xFFFF00; }));
    expectPixels(small->get$nativeWindow(), {{"own size", 1, 0, 0x00FF00},
                                             {"beside it the background", 5, 5, small->get$background()}});
    pictures->close();
}

}
