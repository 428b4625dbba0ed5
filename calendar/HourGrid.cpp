#include "calendar/HourGrid.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <numeric>

#include "calendar/DisplayFormat.h"

namespace calendar::hours {

const QStringList& HourCaptions() {
    static const QStringList captions = [] {
        QStringList out;
        for (int h = 0; h < kRows; ++h) {
            const int twelve = h % 12 == 0 ? 12 : h % 12;
            out << QString::number(twelve) + QStringLiteral(":00") +
                       (h < 12 ? QLatin1Char('a') : QLatin1Char('p'));
        }
        return out;
    }();
    return captions;
}

int FindHourRow(QStringView caption) {
    const QStringList& captions = HourCaptions();
    for (int row = 0; row < captions.size(); ++row)
        if (captions.at(row) == caption) return row;
    return 0;
}

QDate WeekMonday(const QDate& base) {
    // Monday 1 ... Sunday 7.
    const int weekday = base.dayOfWeek();
    if (weekday == 7) return base.addDays(1);
    if (weekday == 6) return base.addDays(-5);
    return base.addDays(1 - weekday);
}

QString WeekTitle(const QDate& monday) {
    const QDate friday = monday.addDays(4);
    const QString end = monday.month() == friday.month() ? FormatDisplay(friday, u"d, yyyy")
                                                         : FormatDisplay(friday, u"mmm d, yyyy");
    return FormatDisplay(monday, u"mmm d - ") + end;
}

BoxPlace VerticalPlace(const QTime& start, const QTime& end) {
    // A time's row is the one captioned with its hour; the minutes do not count.
    const auto row = [](const QTime& time) {
        return FindHourRow(FormatDisplay(time, u"h:00a/p", QLocale::c()));
    };
    BoxPlace box;
    if (!start.isValid()) {
        box.height = kHalfRow;
        return box;
    }
    box.top = RowTop(row(start)) + (start.minute() == 30 ? kHalfRow : 0);
    if (!end.isValid()) {
        box.height = kHalfRow;
        return box;
    }
    // An end at half past 11 PM ends as if a row followed the last one.
    const int endRow = row(end);
    const double height =
        end.minute() == 30 ? RowTop(endRow + 1) - box.top - kHalfRow : RowTop(endRow) - box.top;
    box.height = height > 0 ? height : kHalfRow;
    return box;
}

std::vector<BoxPlace> PlaceBoxes(const std::vector<BoxSource>& boxes, const std::vector<ColumnSpan>& columns) {
    std::vector<BoxPlace> out(boxes.size());
    std::vector<int> lane(boxes.size(), 0);
    for (std::size_t i = 0; i < boxes.size(); ++i) out[i] = VerticalPlace(boxes[i].start, boxes[i].end);

    for (int column = 0; column < static_cast<int>(columns.size()); ++column) {
        // This column's boxes by their tops, ties in the order given.
        std::vector<std::size_t> order;
        for (std::size_t i = 0; i < boxes.size(); ++i)
            if (boxes[i].column == column) order.push_back(i);
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return out[a].top < out[b].top; });

        const ColumnSpan span = columns[column];
        std::size_t groupStart = 0;
        double groupBottom = 0;
        std::vector<double> laneBottoms;  // where each lane of the group is free again
        const auto closeGroup = [&](std::size_t endIndex) {
            const int lanes = static_cast<int>(laneBottoms.size());
            const double width = lanes > 1 ? std::floor(span.width / lanes) : span.width;
            for (std::size_t k = groupStart; k < endIndex; ++k) {
                const std::size_t i = order[k];
                out[i].left = span.left + lane[i] * width;
                out[i].width = width;
            }
        };
        for (std::size_t k = 0; k < order.size(); ++k) {
            const std::size_t i = order[k];
            if (k > groupStart && out[i].top >= groupBottom) {
                closeGroup(k);
                groupStart = k;
                laneBottoms.clear();
            }
            if (k == groupStart) groupBottom = out[i].bottom();
            groupBottom = std::max(groupBottom, out[i].bottom());
            const auto free = std::find_if(laneBottoms.begin(), laneBottoms.end(),
                                           [&](double bottom) { return bottom <= out[i].top; });
            if (free == laneBottoms.end()) {
                lane[i] = static_cast<int>(laneBottoms.size());
                laneBottoms.push_back(out[i].bottom());
            } else {
                lane[i] = static_cast<int>(free - laneBottoms.begin());
                *free = out[i].bottom();
            }
        }
        closeGroup(order.size());
    }
    return out;
}

}  // namespace calendar::hours
