// Calendar: one month as a grid of days under a header with the month's name
// and buttons to the months before and after. A click selects a day (with
// "SelectByWeek", the whole week row shows selected); the arrow keys move the
// selected day (Up and Down by a week) and the shown month follows it; Page
// Up and Page Down go a month back and on, Home and End to the month's first
// and last day. Weeks start on Sunday; days of the neighbouring months fill
// the first and last rows, dimmed.
#pragma once

#include "nytoolkit/forms/loader.h"
#include "nytoolkit/forms/nytk_widget.h"

namespace NyToolkit {

class Calendar : public NytkWidget {
    NY_REFLECTIVE(Calendar)
public:
    enum CalendarFlags { SelectByWeek = 1, ShortDayLabels = 2 };
    static Loader::FlagDescrip const FlagWords[];
    static constexpr int Rows = 6;

    // Shows the current local month with today selected.
    Calendar();
    static NyCore::Object* __create();

    void onCreate() override;
    // "year" and "month": when either is given (non-zero), the missing one is
    // the current local date's; when neither is, the shown month stays. "flags".
    void setParameters(NyCore::XML::Element* element) override;
    void onDraw(NyCore::Graphics::GC* gc) override;
    void onStyleChange() override { redraw(); }
    void onMouseDown(int x, int y, int button, int keys) override;
    void onDoubleClick(int x, int y, int button, int keys) override;
    void onMouseUp(int x, int y, int button, int keys) override;
    void onSystemKeyDown(int code, int modifiers) override;
    void onFocusGained() override;
    void onFocusLost() override;

    // The month shown; a month outside 1 ... 12 is brought into it.
    void setMonth(int year, int month);
    // Selects a day of the shown month (clamped to its days); 0 clears the selection.
    void selectDay(int day);
    void clearSelection();
    void gotoNextYear() { setMonth(year + 1, month); }
    void gotoPrevYear() { setMonth(year - 1, month); }
    void gotoNextMonth() { setMonth(year, month + 1); }
    void gotoPrevMonth() { setMonth(year, month - 1); }

    int get$year() const { return year; }
    int get$month() const { return month; }
    int get$calendarFlags() const { return calendarFlags; }
    void set$calendarFlags(int value);
    // The selected date; false (and nothing written) when nothing is selected.
    bool getSelection(int* selectedYear, int* selectedMonth, int* selectedDay) const;
    // The selected day when it lies in the shown month, else 0.
    int get$selectedDay() const;

    // Layout: the header's height, the day-label row's, and a cell of the grid (row 0 ... 5, column 0 ... 6).
    int get$headerHeight() const;
    int get$labelHeight() const;
    void getCellRect(int row, int column, NyCore::System::WidgetRect* rect) const;
    // The date of a cell as a day number (days since 1970-01-01).
    long cellDate(int row, int column) const;
    // Day numbers and their calendar dates.
    static long dayNumber(int year, int month, int day);
    static void dateOf(long number, int* year, int* month, int* day);
    static int daysInMonth(int year, int month);

private:
    void selectNumber(long number, bool followMonth);
    // -1 left arrow, 1 right arrow, 0 neither.
    int arrowAt(int x, int y) const;

    int year = 1970;
    int month = 1;
    // The selected day number (days since 1970-01-01), valid while hasSelection.
    long selected = 0;
    long today = 0;
    bool hasSelection = false;
    int calendarFlags = 0;
    int pressedArrow = 0;
};

}
