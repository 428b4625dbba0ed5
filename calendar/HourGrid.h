#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QTime>
#include <vector>

// The arithmetic of the week and day views' hour grid: where each hour row lies, which dates a view
// shows, and where each appointment box goes. No widgets: the views, their tests and the fuzzer
// share it. All measures are twips, in the coordinates of the scrolled canvas.
namespace calendar::hours {

inline constexpr int kRows = 24;
inline constexpr double kRowPitch = 675;    // row r starts at 675 x r
inline constexpr double kRowHeight = 690;   // neighbouring rows share one border line
inline constexpr double kHalfRow = 345;     // half a row: a half-past start, the least box height
inline constexpr double kCanvasHeight = 16250;

inline double RowTop(int row) {
    return kRowPitch * row;
}

// "12:00a", "1:00a" ... "11:00p": the captions of the 24 rows.
const QStringList& HourCaptions();
// The first row whose caption is exactly `caption`, as a time written "h:00a/p" gives it ("8:45 AM"
// gives "8:00a", row 8); 0 when no caption matches.
int FindHourRow(QStringView caption);

// The Monday of the week a base date shows: its own week from Monday to Friday, the week just ended
// on a Saturday, the coming week on a Sunday. From the date alone, never from the locale.
QDate WeekMonday(const QDate& base);
// "Jan 6 - 10, 2025", "Mar 31 - Apr 4, 2025": Monday to Friday, the year once, that of the Friday.
QString WeekTitle(const QDate& monday);

// One appointment to place: its column and its times (a null time for none stored).
struct BoxSource {
    int column = 0;
    QTime start;
    QTime end;
};

// A column's cells: their left edge and width.
struct ColumnSpan {
    double left = 0;
    double width = 0;
};

struct BoxPlace {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    double bottom() const { return top + height; }
};

// The top and height of one box: from the start row (half a row lower for a start at half past) to
// the top of the end row, or half a row short of the next row's top for an end at half past. A box
// that would get no positive height, and one without a start or end time, is half a row high; one
// without a start time stands at row 0.
BoxPlace VerticalPlace(const QTime& start, const QTime& end);

// Every box, in the order given: a box overlapping no other in its column spans the column's cell;
// boxes of one column whose heights overlap form a group and stand side by side, each in the first
// lane free at its top (in the order given), the cell's width split evenly in whole twips.
std::vector<BoxPlace> PlaceBoxes(const std::vector<BoxSource>& boxes, const std::vector<ColumnSpan>& columns);

}  // namespace calendar::hours
