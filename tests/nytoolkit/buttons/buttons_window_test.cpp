// Buttons on a real X server, driven with XTest: toggle, sticky and grouped
// clicks, presses that do not end in a click, Space and Enter, the state
// pictures of check boxes, and Tab through a form with a group.
#include <gtest/gtest.h>

#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <map>
#include <string>

#include "nytoolkit/buttons/check_button.h"
#include "nytoolkit/buttons/group.h"
#include "nytoolkit/buttons/text_button.h"
#include "tests/support/event_log.h"
#include "tests/support/forms.h"
#include "tests/support/strings.h"

using namespace NyToolkit;
using namespace NyToolkit::Buttons;
using namespace TestSupport;

namespace {

char16_t const* const FormText =
    uR"(<NyToolkit.Form w="320" h="220" caption="Buttons">
  <NyToolkit.Buttons.TextButton id="toggle" x="10" y="10" w="90" h="24" flags="TabStop Toggle" label="Toggle"/>
  <NyToolkit.Buttons.TextButton id="stick" x="110" y="10" w="90" h="24" flags="TabStop Stickey" label="Sticky"/>
  <NyToolkit.Group id="group" x="10" y="44" w="190" h="74" label="Choice" selected="a">
    <NyToolkit.Buttons.RadioButton id="a" x="10" y="20" w="80" h="20" flags="TabStop Stickey Grouped" label="A"/>
    <NyToolkit.Buttons.RadioButton id="b" x="10" y="46" w="80" h="20" flags="TabStop Stickey Grouped" label="B"/>
  </NyToolkit.Group>
  <NyToolkit.Buttons.CheckButton id="check" x="10" y="126" w="120" h="20" flags="TabStop" label="Check"/>
  <NyToolkit.Buttons.CheckButton id="on" x="10" y="150" w="120" h="20" flags="Active" label="On"/>
  <NyToolkit.Buttons.CheckButton id="offDis" x="10" y="170" w="120" h="20" flags="Disabled" label="Off"/>
  <NyToolkit.Buttons.CheckButton id="onDis" x="10" y="190" w="120" h="20" flags="Disabled Active" label="On"/>
  <NyToolkit.Buttons.TextButton id="push" x="210" y="10" w="90" h="24" flags="TabStop" label="Push"/>
</NyToolkit.Form>)";

class ButtonsTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        form = formFromText(FormText);
        for (char16_t const* id : {u"toggle", u"stick", u"a", u"b", u"check", u"push"})
            ASSERT_TRUE(clicks[id].listen(button(id), u"click"));
        ASSERT_TRUE(selects.listen(child(form, u"group"), u"select"));
    }
    void TearDown() override { form->close(); }

    ButtonBase* button(std::u16string const& id) { return child<ButtonBase>(form, id.c_str()); }
    void pointAt(std::u16string const& id) { pointerTo(button(id), 4, button(id)->get$height() / 2); }
    // Clicks the button and waits for its "click".
    void clickOn(std::u16string const& id)
    {
        int before = clicks[id].count();
        pointAt(id);
        click();
        EXPECT_TRUE(runUntil([&] { return clicks[id].count() == before + 1; })) << toUtf8(id);
    }
    bool pushed(std::u16string const& id) { return button(id)->get$buttonFlags() & ButtonFlags::Pushed; }

    Form* form = nullptr;
    std::map<std::u16string, EventLog> clicks;
    EventLog selects;
};

TEST_F(ButtonsTest, ClicksToggleStickAndSelectOneOfTheGroup)
{
    struct Case {
        char16_t const* id;
        int clicks;
        bool active;
    } const cases[] = {{u"toggle", 1, true}, {u"toggle", 1, false}, {u"stick", 3, true},
                       {u"check", 1, true},  {u"check", 1, false},  {u"push", 2, false}};
    for (Case const& c : cases) {
        for (int i = 0; i < c.clicks; ++i)
            clickOn(c.id);
        EXPECT_EQ(button(c.id)->get$active(), c.active) << toUtf8(c.id);
    }

    auto* group = child<Group>(form, u"group");
    EXPECT_EQ(std::make_tuple(button(u"a")->get$active(), toU16(group->get$selected())),
              std::make_tuple(true, std::u16string(u"a")));
    clickOn(u"a");
    clickOn(u"b");
    EXPECT_EQ(std::make_tuple(button(u"a")->get$active(), button(u"b")->get$active(), selects.count()),
              std::make_tuple(false, true, 2));
    EXPECT_EQ(toU16(reinterpret_cast<NyCore::String const*>(selects.last()[0])), u"b");
    // Turning off a button that is not selected leaves the selection alone.
    button(u"a")->deactivate();
    EXPECT_EQ(std::make_tuple(button(u"b")->get$active(), selects.count(), toU16(group->get$selected())),
              std::make_tuple(true, 2, std::u16string(u"b")));
    group->clearSelected();
    EXPECT_EQ(std::make_tuple(button(u"b")->get$active(), group->get$selected()), std::make_tuple(false, nullptr));
    // A selected button that goes away leaves the group without it.
    OwnedString b(u"b");
    group->set$selected(b);
    button(u"b")->close();
    EXPECT_TRUE(runUntil([&] { return group->getButton(b) == nullptr; }));
    EXPECT_EQ(group->get$selected(), nullptr);
}

TEST_F(ButtonsTest, OnlyThePressOfTheButtonItselfEndsInAClick)
{
    // Dragged off and released outside: raised again and no click.
    pointAt(u"push");
    XTestFakeButtonEvent(display(), 1, True, CurrentTime);
    EXPECT_TRUE(runUntil([&] { return pushed(u"push"); }));
    pointerTo(button(u"push"), -30, 40);
    EXPECT_TRUE(runUntil([&] { return !pushed(u"push"); })) << "dragging off shows it raised";
    XTestFakeButtonEvent(display(), 1, False, CurrentTime);

    // Pressed on the dialog, whose grab then ends as a pop-up's does when it
    // closes on the press, and released over the check box.
    pointerTo(form, 250, 120);
    XTestFakeButtonEvent(display(), 1, True, CurrentTime);
    form->pointerRelease();
    pointAt(u"check");
    XTestFakeButtonEvent(display(), 1, False, CurrentTime);
    clickOn(u"toggle");
    EXPECT_EQ(std::make_tuple(clicks[u"push"].count(), clicks[u"check"].count(), button(u"check")->get$active()),
              std::make_tuple(0, 0, false));
}

TEST_F(ButtonsTest, SpaceAndEnterShowThePressAndClickOnRelease)
{
    ButtonBase* push = button(u"push");
    pointerTo(form, 250, 200);
    // Enter went down elsewhere; its release here is no click.
    key(XK_Return, true);
    push->focus();
    ASSERT_TRUE(runUntil([&] { return NyCore::System::Widget::get$focused() == push; }));
    key(XK_Return, false);
    clickOn(u"toggle");
    EXPECT_EQ(clicks[u"push"].count(), 0);
    for (KeySym sym : {XK_space, XK_Return}) {
        push->focus();
        ASSERT_TRUE(runUntil([&] { return NyCore::System::Widget::get$focused() == push; }));
        key(sym, true);
        auto shows = [&](int slot) { return pixelAt(push->get$nativeWindow(), 5, 5) == push->getColor(slot); };
        ASSERT_TRUE(runUntil([&] { return pushed(u"push") && shows(Style::HighlightBackground); }));
        EXPECT_EQ(clicks[u"push"].count(), 0) << "no click while held";
        key(sym, false);
        ASSERT_TRUE(runUntil([&] { return clicks[u"push"].count() == 1 && !pushed(u"push"); }));
        EXPECT_TRUE(runUntil([&] { return shows(Style::Background); }));
        clicks[u"push"].clear();
    }
}

TEST_F(ButtonsTest, CheckBoxesShowThePictureOfTheirState)
{
    pointerTo(form, 250, 200);
    struct Case {
        char16_t const* id;
        int picture;
    } const cases[] = {{u"check", 0}, {u"on", 3}, {u"offDis", 6}, {u"onDis", 7}};
    for (Case const& c : cases) {
        auto* box = child<CheckButton>(form, c.id);
        ASSERT_EQ(box->iconIndex(), c.picture) << toUtf8(c.id);
        NyCore::Graphics::IconStrip* strip = box->get$icons()->get$strip();
        int w = strip->width, h = strip->height;
        auto icon = readPixels(strip->gc.surface, c.picture * w, 0, w, h);
        auto mask = readPixels(strip->gc.surface, c.picture * w, h, w, h);
        auto shown = readPixels(box->get$nativeWindow(), 0, (box->get$height() - h) / 2, w, h);
        int compared = 0;
        for (std::size_t i = 0; i < icon.size(); ++i) {
            if (mask[i] == 0xFFFFFF)
                continue;
            ++compared;
            EXPECT_EQ(shown[i], icon[i]) << toUtf8(c.id) << " pixel " << i;
        }
        EXPECT_GT(compared, w * h / 2) << toUtf8(c.id);
    }
}

TEST_F(ButtonsTest, TabAndArrowsMoveThroughTheFormInCreationOrder)
{
    struct Step {
        KeySym key;
        char16_t const* focused;
    } const steps[] = {{XK_Tab, u"toggle"}, {XK_Tab, u"stick"},  {XK_Tab, u"a"},     {XK_Tab, u"b"},
                       {XK_Tab, u"check"},  {XK_Tab, u"push"},   {XK_Tab, u"toggle"}, {XK_Left, u"push"},
                       {XK_Up, u"check"},   {XK_Up, u"b"},       {XK_Down, u"check"}};
    for (Step const& step : steps) {
        tap(step.key);
        EXPECT_TRUE(runUntil([&] { return NyCore::System::Widget::get$focused() == button(step.focused); }))
            << toUtf8(step.focused);
    }
}

}
