// The appointment boxes of the week and day views (calendar::hours::PlaceBoxes) for any day columns
// and appointments, with or without start and end times.
//
// Invariants: one box per appointment; each has a positive height and lies inside the canvas and
// inside its column's cell; boxes of one column that share any height never share any width; a box
// that shares no height with another spans its cell; a box is narrower than a twip only when its
// column has more boxes than its cell has twips.
#include <fuzzer/FuzzedDataProvider.h>

#include <vector>

#include "FuzzCommon.h"
#include "calendar/HourGrid.h"

namespace hours = calendar::hours;

namespace {

QTime StoredTime(FuzzedDataProvider& in) {
    // Now and then none; mostly on the half hour, as the lists give them; any minute otherwise.
    switch (in.ConsumeIntegralInRange<int>(0, 3)) {
        case 0:
            return QTime();
        case 1:
        case 2:
            return QTime::fromMSecsSinceStartOfDay(in.ConsumeIntegralInRange<int>(0, 47) * 30 * 60 * 1000);
        default:
            return QTime::fromMSecsSinceStartOfDay(in.ConsumeIntegralInRange<int>(0, 24 * 60 * 60 * 1000 - 1));
    }
}

QString Describe(const std::vector<hours::BoxSource>& boxes, const std::vector<hours::ColumnSpan>& columns) {
    QString out;
    for (const hours::ColumnSpan& c : columns) out += QStringLiteral("[%1+%2]").arg(c.left).arg(c.width);
    for (const hours::BoxSource& b : boxes)
        out += QStringLiteral(" %1:%2-%3").arg(b.column).arg(b.start.toString(u"HH:mm:ss"), b.end.toString(u"HH:mm:ss"));
    return out;
}

QString Shown(std::size_t i, const hours::BoxPlace& p) {
    return QStringLiteral("box %1 at %2,%3 size %4x%5").arg(i).arg(p.left).arg(p.top).arg(p.width).arg(p.height);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    // Day columns side by side, as the views lay them out (two for the day view, five for the week).
    std::vector<hours::ColumnSpan> columns(in.ConsumeIntegralInRange<std::size_t>(1, 7));
    double right = in.ConsumeIntegralInRange<int>(0, 2000);
    for (hours::ColumnSpan& c : columns) {
        c.left = right + in.ConsumeIntegralInRange<int>(0, 200);
        c.width = in.ConsumeIntegralInRange<int>(1, 12000);
        right = c.left + c.width;
    }
    std::vector<hours::BoxSource> boxes;
    while (in.remaining_bytes() > 0 && boxes.size() < 200) {
        hours::BoxSource b;
        b.column = in.ConsumeIntegralInRange<int>(0, static_cast<int>(columns.size()) - 1);
        b.start = StoredTime(in);
        b.end = StoredTime(in);
        boxes.push_back(b);
    }

    const std::vector<hours::BoxPlace> places = hours::PlaceBoxes(boxes, columns);
    const QString input = Describe(boxes, columns);
    FUZZ_CHECK(places.size() == boxes.size(), input, QString::number(places.size()));
    std::vector<int> perColumn(columns.size(), 0);
    for (const hours::BoxSource& b : boxes) ++perColumn[b.column];

    for (std::size_t i = 0; i < places.size(); ++i) {
        const hours::BoxPlace& p = places[i];
        const hours::ColumnSpan& cell = columns[boxes[i].column];
        FUZZ_CHECK(p.height > 0, input, Shown(i, p));
        FUZZ_CHECK(p.top >= 0 && p.bottom() <= hours::kCanvasHeight, input, Shown(i, p));
        FUZZ_CHECK(p.width >= 0 && p.left >= cell.left && p.left + p.width <= cell.left + cell.width, input,
                   Shown(i, p));
        if (cell.width >= perColumn[boxes[i].column]) FUZZ_CHECK(p.width >= 1, input, Shown(i, p));

        bool alone = true;
        for (std::size_t j = 0; j < places.size(); ++j) {
            if (j == i || boxes[j].column != boxes[i].column) continue;
            const hours::BoxPlace& q = places[j];
            if (p.top >= q.bottom() || q.top >= p.bottom()) continue;
            alone = false;
            FUZZ_CHECK(p.left + p.width <= q.left || q.left + q.width <= p.left, input,
                       Shown(i, p) + QStringLiteral(" and ") + Shown(j, q));
        }
        if (alone) FUZZ_CHECK(p.left == cell.left && p.width == cell.width, input, Shown(i, p));
    }
    return 0;
}
