// The month calendar.
#include "nytoolkit/widgets/calendar.h"

#include "nycore/graphics/gc.h"
#include "nycore/graphics/gc_text.h"
#include "nycore/system/boxed_values.h"
#include "nycore/system/time.h"
#include "nycore/text/print.h"
#include "nycore/text/string_functions.h"
#include "nycore/xml/xml_node.h"

namespace NyToolkit {

namespace {

NyCore::MethodEntry const CalendarMethods[] = {{u"setMonth", NY_METHOD(Calendar::setMonth)},
                                               {u"selectDay", NY_METHOD(Calendar::selectDay)},
                                               {u"clearSelection", NY_METHOD(Calendar::clearSelection)},
                                               {u"gotoNextYear", NY_METHOD(Calendar::gotoNextYear)},
                                               {u"gotoPrevYear", NY_METHOD(Calendar::gotoPrevYear)},
                                               {u"gotoNextMonth", NY_METHOD(Calendar::gotoNextMonth)},
                                               {u"gotoPrevMonth", NY_METHOD(Calendar::gotoPrevMonth)},
                                               {nullptr, nullptr}};

namespace WidgetFlags = NyCore::System::WidgetFlags;
namespace SystemKeys = NyCore::System::SystemKeys;

char16_t const* const MonthNames[12] = {u"January", u"February", u"March",     u"April",   u"May",      u"June",
                                        u"July",    u"August",   u"September", u"October", u"November", u"December"};
char16_t const* const DayLabels[7] = {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
char16_t const* const ShortLabels[7] = {u"Su", u"Mo", u"Tu", u"We", u"Th", u"Fr", u"Sa"};

// The header's month buttons are the style's horizontal arrows: 0 left, 4 right, pressed 2 and 6.
constexpr int LeftArrow = 0;
constexpr int RightArrow = 4;
constexpr int ArrowPressed = 2;

// 0 = Sunday; 1970-01-01 was a Thursday.
int weekday(long number)
{
    long w = (number + 4) % 7;
    return static_cast<int>(w < 0 ? w + 7 : w);
}

void drawText(NyCore::Graphics::GC* gc, char16_t const* text, NyCore::System::WidgetRect const& r, int flags)
{
    int count = 0;
    while (text[count])
        ++count;
    gc_characters(gc, text, 0, count, r.x, r.y, r.width, r.height, flags);
}

}

NyCore::TypeData Calendar::MetaData = {&NytkWidget::MetaData, nullptr, u"NyToolkit.Calendar"_str, CalendarMethods,
                                       NyCore::NoEvents, &Calendar::__create, sizeof(Calendar), 0, nullptr};

Loader::FlagDescrip const Calendar::FlagWords[] = {
    {u"SelectByWeek"_str, SelectByWeek}, {u"ShortDayLabels"_str, ShortDayLabels}, {nullptr, 0}};

Calendar::Calendar()
{
    NyCore::DateTime now;
    NyCore::System::Time::getLocalTime(&now);
    year = now.year;
    month = now.month;
    today = dayNumber(now.year, now.month, now.day);
    selected = today;
    hasSelection = true;
}

NyCore::Object* Calendar::__create()
{
    return new Calendar();
}

void Calendar::onCreate()
{
    setStyleClass(Style::Display, false);
    flags |= WidgetFlags::TabStop;
}

long Calendar::dayNumber(int y, int m, int d)
{
    // Days from the civil date, in the proleptic Gregorian calendar (eras of 400 years).
    long yy = y - (m <= 2 ? 1 : 0);
    long era = (yy >= 0 ? yy : yy - 399) / 400;
    long yearOfEra = yy - era * 400;
    long dayOfYear = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void Calendar::dateOf(long number, int* y, int* m, int* d)
{
    long z = number + 719468;
    long era = (z >= 0 ? z : z - 146096) / 146097;
    long dayOfEra = z - era * 146097;
    long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    long mp = (5 * dayOfYear + 2) / 153;
    *d = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    *m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    *y = static_cast<int>(yearOfEra + era * 400 + (*m <= 2 ? 1 : 0));
}

int Calendar::daysInMonth(int y, int m)
{
    int nextYear = m == 12 ? y + 1 : y;
    int nextMonth = m == 12 ? 1 : m + 1;
    return static_cast<int>(dayNumber(nextYear, nextMonth, 1) - dayNumber(y, m, 1));
}

void Calendar::setParameters(NyCore::XML::Element* element)
{
    calendarFlags = static_cast<int>(Loader::flagsParse(xml_get_attribute(element, u"flags"), FlagWords));
    int readYear = Loader::intAttribute(element, u"year");
    int readMonth = Loader::intAttribute(element, u"month");
    if (readYear != 0 || readMonth != 0) {
        NyCore::DateTime now;
        NyCore::System::Time::getLocalTime(&now);
        setMonth(readYear != 0 ? readYear : now.year, readMonth != 0 ? readMonth : now.month);
    }
    redraw();
}

void Calendar::set$calendarFlags(int value)
{
    calendarFlags = value;
    redraw();
}

void Calendar::setMonth(int newYear, int newMonth)
{
    // Months past either end carry into the years.
    int index = newMonth - 1;
    newYear += index >= 0 ? index / 12 : -((11 - index) / 12);
    index = ((index % 12) + 12) % 12;
    year = newYear;
    month = index + 1;
    redraw();
}

void Calendar::selectDay(int day)
{
    if (day <= 0) {
        clearSelection();
        return;
    }
    int last = daysInMonth(year, month);
    selectNumber(dayNumber(year, month, day > last ? last : day), false);
}

void Calendar::clearSelection()
{
    hasSelection = false;
    redraw();
}

void Calendar::selectNumber(long number, bool followMonth)
{
    selected = number;
    hasSelection = true;
    if (followMonth) {
        int y, m, d;
        dateOf(number, &y, &m, &d);
        if (y != year || m != month) {
            setMonth(y, m);
            return;
        }
    }
    redraw();
}

bool Calendar::getSelection(int* selectedYear, int* selectedMonth, int* selectedDay) const
{
    if (!hasSelection)
        return false;
    dateOf(selected, selectedYear, selectedMonth, selectedDay);
    return true;
}

int Calendar::get$selectedDay() const
{
    int y, m, d;
    if (!getSelection(&y, &m, &d) || y != year || m != month)
        return 0;
    return d;
}

int Calendar::get$headerHeight() const
{
    int h = style->get$font()->get$height() + 10;
    return h < 20 ? 20 : h;
}

int Calendar::get$labelHeight() const
{
    return style->get$font()->get$height() + 4;
}

void Calendar::getCellRect(int row, int column, NyCore::System::WidgetRect* rect) const
{
    int top = get$headerHeight() + get$labelHeight() + 1;
    int cellWidth = (width - 2) / 7;
    int cellHeight = (height - top - 1) / Rows;
    int left = (width - 7 * cellWidth) / 2;
    *rect = {left + column * cellWidth, top + row * cellHeight, cellWidth, cellHeight};
}

long Calendar::cellDate(int row, int column) const
{
    long first = dayNumber(year, month, 1);
    return first - weekday(first) + row * 7 + column;
}

int Calendar::arrowAt(int px, int py) const
{
    int h = get$headerHeight();
    if (py < 0 || py >= h)
        return 0;
    if (px >= 2 && px < 2 + h)
        return -1;
    if (px >= width - 2 - h && px < width - 2)
        return 1;
    return 0;
}

void Calendar::onDraw(NyCore::Graphics::GC* gc)
{
    namespace TF = NyCore::Graphics::TextFlags;
    int const centred = TF::CenterHorizontal | TF::CenterVertical | TF::Clip;
    bool focused = flags & WidgetFlags::HasFocus;
    int header = get$headerHeight();
    int labels = get$labelHeight();
    gc_set_font(gc, style->get$font());
    gc_set_foreground(gc, focused ? getColor(Style::HighlightFrame) : getColor(Style::Frame));
    gc_set_background(gc, background);
    gc_rect(gc, 0, 0, width, height);

    // Header: the month's buttons either side of its name.
    gc_set_background(gc, getColor(Style::Light));
    gc_rect_fill(gc, 1, 1, width - 2, header - 1);
    gc_set_foreground(gc, getColor(Style::Separator));
    gc_line(gc, 1, header, width - 2, header);
    if (IconSet* arrows = style->getIcons(Style::HArrow)) {
        int ay = (header - arrows->get$height()) / 2 + 1;
        arrows->draw(gc, 2 + (header - arrows->get$width()) / 2, ay, LeftArrow + (pressedArrow < 0 ? ArrowPressed : 0));
        arrows->draw(gc, width - 2 - header + (header - arrows->get$width()) / 2, ay,
                     RightArrow + (pressedArrow > 0 ? ArrowPressed : 0));
    }
    NyCore::String* title = string_print(u"%s %d", MonthNames[month - 1], year);
    gc_set_foreground(gc, getColor(flags & WidgetFlags::Disabled ? Style::Dim : Style::Text));
    gc_string(gc, title, header, 1, width - 2 * header, header - 1, centred);
    string_free(title);

    NyCore::System::WidgetRect cell;
    for (int column = 0; column < 7; ++column) {
        getCellRect(0, column, &cell);
        NyCore::System::WidgetRect labelBox{cell.x, header + 1, cell.width, labels};
        gc_set_foreground(gc, getColor(Style::Frame));
        drawText(gc, (calendarFlags & ShortDayLabels ? ShortLabels : DayLabels)[column], labelBox, centred);
    }
    gc_set_foreground(gc, getColor(Style::Separator));
    gc_line(gc, 4, header + labels, width - 5, header + labels);

    long weekStart = selected - weekday(selected);
    for (int row = 0; row < Rows; ++row) {
        for (int column = 0; column < 7; ++column) {
            getCellRect(row, column, &cell);
            long date = cellDate(row, column);
            int y, m, d;
            dateOf(date, &y, &m, &d);
            bool isSelected = hasSelection && (calendarFlags & SelectByWeek ? date >= weekStart && date < weekStart + 7
                                                                             : date == selected);
            bool dimmed = m != month || (flags & WidgetFlags::Disabled);
            std::uint32_t ink = getColor(dimmed ? Style::Dim : Style::Text);
            if (isSelected) {
                gc_set_background(gc, getColor(Style::HighlightBackground));
                gc_rect_fill(gc, cell.x, cell.y, cell.width, cell.height);
                ink = getColor(Style::HighlightText);
            }
            if (date == today) {
                gc_set_foreground(gc, getColor(Style::HighlightFrame));
                gc_rect_line(gc, cell.x, cell.y, cell.width, cell.height);
            }
            NyCore::String* number = string_from_int(d, 10);
            gc_set_foreground(gc, ink);
            gc_string(gc, number, cell.x, cell.y, cell.width, cell.height, centred);
            string_free(number);
        }
    }
}

void Calendar::onMouseDown(int px, int py, int button, int)
{
    if (button != 0)
        return;
    focus();
    if (int arrow = arrowAt(px, py)) {
        pressedArrow = arrow;
        if (arrow < 0)
            gotoPrevMonth();
        else
            gotoNextMonth();
        return;
    }
    for (int row = 0; row < Rows; ++row) {
        for (int column = 0; column < 7; ++column) {
            NyCore::System::WidgetRect cell;
            getCellRect(row, column, &cell);
            if (px >= cell.x && px < cell.x + cell.width && py >= cell.y && py < cell.y + cell.height) {
                selectNumber(cellDate(row, column), true);
                return;
            }
        }
    }
}

void Calendar::onDoubleClick(int px, int py, int button, int keys)
{
    onMouseDown(px, py, button, keys);
}

void Calendar::onMouseUp(int, int, int, int)
{
    if (pressedArrow) {
        pressedArrow = 0;
        redraw();
    }
}

void Calendar::onSystemKeyDown(int code, int)
{
    long base = hasSelection ? selected : dayNumber(year, month, 1);
    int y, m, d;
    dateOf(base, &y, &m, &d);
    switch (code) {
    case SystemKeys::Left: selectNumber(base - 1, true); break;
    case SystemKeys::Right: selectNumber(base + 1, true); break;
    case SystemKeys::Up: selectNumber(base - 7, true); break;
    case SystemKeys::Down: selectNumber(base + 7, true); break;
    case SystemKeys::PageUp:
    case SystemKeys::PageDown: {
        // A month back or on; the day is kept where that month has it.
        setMonth(year, month + (code == SystemKeys::PageUp ? -1 : 1));
        if (hasSelection)
            selectDay(d);
        break;
    }
    case SystemKeys::Home: selectDay(1); break;
    case SystemKeys::End: selectDay(daysInMonth(year, month)); break;
    default: break;
    }
}

void Calendar::onFocusGained()
{
    redraw();
}

void Calendar::onFocusLost()
{
    redraw();
}

}
