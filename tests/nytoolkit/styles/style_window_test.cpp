// Styles: the default styles and their colour table, the icon sets loaded
// once and shared, copy on write in widgets, and duplicates that keep their
// own colours.
#include <gtest/gtest.h>

#include "nytoolkit/forms/nytk_widget.h"
#include "nytoolkit/styles/style.h"
#include "tests/support/windows.h"

using namespace NyToolkit;

namespace {

class StyleTest : public TestSupport::WindowTest {};

TEST_F(StyleTest, DefaultStylesShareOneFontAndTheSevenIconSets)
{
    Style* control = Style::getDefaultStyle(Style::Control);
    Style* display = Style::getDefaultStyle(Style::Display);
    Style* button = Style::getDefaultStyle(Style::Button);
    EXPECT_EQ(Style::getDefaultStyle(Style::Control), control) << "made once";
    EXPECT_EQ(control->get$font(), button->get$font());
    EXPECT_EQ(control->get$images(), display->get$images());
    EXPECT_EQ(control->get$font()->get$size(), 12);
    EXPECT_EQ(control->get$size(), 16);
    EXPECT_EQ(control->get$gap(), 1);

    struct Case {
        Style* style;
        int slot;
        std::uint32_t rgb;
    } const cases[] = {{control, Style::Background, 0xF0F0F0}, {display, Style::Background, 0xFFFFFF},
                       {button, Style::Background, 0xDCDCDC}, {button, Style::HighlightText, 0x000000},
                       {control, Style::HighlightText, 0xFFFFFF}, {button, Style::Accent, 0xD19900}};
    for (Case const& c : cases)
        EXPECT_EQ(c.style->getColor(c.slot), c.rgb) << "slot " << c.slot;

    // The widgets count on these icon numbers: eight check and radio
    // pictures, arrows up to 6.
    int const leastCounts[Style::CommonIconCount] = {8, 8, 7, 7, 3, 6, 3};
    for (int i = 0; i < Style::CommonIconCount; ++i) {
        ASSERT_NE(control->getIcons(i), nullptr) << "icon set " << i;
        EXPECT_GE(control->getIcons(i)->get$count(), leastCounts[i]) << "icon set " << i;
    }
    EXPECT_EQ(control->getIcons(Style::VArrow)->get$width(), control->get$size()) << "arrows fill the bar";
}

TEST_F(StyleTest, DuplicatesAndWidgetsCopyBeforeTheyChange)
{
    Style* control = Style::getDefaultStyle(Style::Control);
    Style* copy = control->duplicate();
    copy->setColor(Style::Text, 0x123456);
    EXPECT_EQ(control->getColor(Style::Text), 0x000000u);
    Style* copyOfCopy = copy->duplicate();
    copy->setColor(Style::Text, 0x654321);
    EXPECT_EQ(copyOfCopy->getColor(Style::Text), 0x123456u);
    copyOfCopy->release();
    copy->release();

    NyCore::System::Widget* window = TestSupport::topWindow(100, 60, u"NyToolkit.NytkWidget");
    auto* widget = static_cast<NytkWidget*>(window);
    EXPECT_EQ(widget->get$style(), control);
    widget->setColor(Style::Frame, 0xFF0000);
    EXPECT_NE(widget->get$style(), control) << "a shared style is copied first";
    EXPECT_EQ(widget->getColor(Style::Frame), 0xFF0000u);
    EXPECT_EQ(control->getColor(Style::Frame), 0x808080u);
    Style* own = widget->get$style();
    widget->setColor(Style::Frame, 0x00FF00);
    EXPECT_EQ(widget->get$style(), own) << "a private style is changed in place";
    window->close();
}

}
