// The display-pattern formatter (calendar::FormatDisplay) on any pattern, date, time and locale.
//
// Invariants: without a date and a time only the pattern's own characters come out, in order; a
// pattern without field letters comes out as it stands; a pattern cut in two by a character that is
// no field gives the two halves' texts joined by it (when no AM/PM marker follows the cut); every
// field gives the value's part (numbers, the locale's names, the 12-hour clock with its marker).
#include <fuzzer/FuzzedDataProvider.h>

#include <QLocale>
#include <QRegularExpression>

#include "FuzzCommon.h"
#include "calendar/DisplayFormat.h"

namespace {

using calendar::FormatDisplay;

const QLocale& PickLocale(FuzzedDataProvider& in) {
    static const QLocale locales[] = {QLocale::c(), QLocale(QLocale::English, QLocale::UnitedStates),
                                      QLocale(QLocale::German, QLocale::Germany),
                                      QLocale(QLocale::Arabic, QLocale::Egypt),
                                      QLocale(QLocale::Japanese, QLocale::Japan)};
    return locales[in.ConsumeIntegralInRange<int>(0, std::size(locales) - 1)];
}

// True when `part` can be had from `whole` by leaving characters out.
bool Subsequence(const QString& part, const QString& whole) {
    qsizetype at = 0;
    for (const QChar c : part) {
        at = whole.indexOf(c, at);
        if (at < 0) return false;
        ++at;
    }
    return true;
}

bool HasMarker(const QString& pattern) {
    return pattern.contains(QLatin1String("AMPM")) || pattern.contains(QLatin1String("a/p"));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const QLocale& locale = PickLocale(in);
    const qint64 day = in.ConsumeBool() ? in.ConsumeIntegralInRange<qint64>(QDate(1, 1, 1).toJulianDay(),
                                                                             QDate(9999, 12, 31).toJulianDay())
                                        : in.ConsumeIntegral<qint64>();
    const QDate date = QDate::fromJulianDay(day);
    const int msecs = in.ConsumeIntegralInRange<int>(-1, 24 * 60 * 60 * 1000 - 1);
    const QTime time = msecs < 0 ? QTime() : QTime::fromMSecsSinceStartOfDay(msecs);
    const std::string bytes = in.ConsumeRemainingBytesAsString();
    const QString pattern = QString::fromStdString(bytes);
    const QString input = QStringLiteral("%1 | %2 | %3 | %4")
                              .arg(fuzz::Shown(pattern), date.toString(Qt::ISODate),
                                   time.toString(QStringLiteral("HH:mm:ss.zzz")), locale.name());

    const QString out = FormatDisplay(date, time, pattern, locale);

    // Nothing to show: only the pattern's own characters.
    const QString bare = FormatDisplay(QDate(), QTime(), pattern, locale);
    FUZZ_CHECK(Subsequence(bare, pattern), input, fuzz::Shown(bare));

    // Without the letters that start a field the pattern is plain text.
    QString plain = pattern;
    plain.remove(QRegularExpression(QStringLiteral("[dmhynaA]")));
    const QString plainOut = FormatDisplay(date, time, plain, locale);
    FUZZ_CHECK(plainOut == plain, input, fuzz::Shown(plainOut));

    // Cut at every "|": the halves format on their own, the hours of the first on the 12-hour
    // clock when the second has a marker.
    const qsizetype cut = pattern.indexOf(u'|');
    if (cut >= 0) {
        const QString head = pattern.left(cut);
        const QString tail = pattern.mid(cut + 1);
        if (!HasMarker(tail)) {
            const QString joined = FormatDisplay(date, time, head, locale) + QLatin1Char('|') +
                                   FormatDisplay(date, time, tail, locale);
            FUZZ_CHECK(out == joined, input, fuzz::Shown(out) + QStringLiteral(" vs ") + fuzz::Shown(joined));
        }
    }

    // The fields, each read back.
    if (date.isValid() && date.year() >= 1 && date.year() <= 9999) {
        const QString fields = FormatDisplay(date, time, u"d|dd|ddd|dddd|m|mm|mmm|mmmm|yyyy", locale);
        const QStringList expected{QString::number(date.day()),
                                   QStringLiteral("%1").arg(date.day(), 2, 10, QLatin1Char('0')),
                                   locale.dayName(date.dayOfWeek(), QLocale::ShortFormat),
                                   locale.dayName(date.dayOfWeek(), QLocale::LongFormat),
                                   QString::number(date.month()),
                                   QStringLiteral("%1").arg(date.month(), 2, 10, QLatin1Char('0')),
                                   locale.monthName(date.month(), QLocale::ShortFormat),
                                   locale.monthName(date.month(), QLocale::LongFormat),
                                   QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'))};
        FUZZ_CHECK(fields == expected.join(u'|'), input, fuzz::Shown(fields));
    }
    if (time.isValid()) {
        const QString clock24 = FormatDisplay(date, time, u"h|hh|nn", locale);
        FUZZ_CHECK(clock24 == QStringLiteral("%1|%2|%3")
                                  .arg(time.hour())
                                  .arg(time.hour(), 2, 10, QLatin1Char('0'))
                                  .arg(time.minute(), 2, 10, QLatin1Char('0')),
                   input, fuzz::Shown(clock24));
        const QString clock12 = FormatDisplay(date, time, u"h hh a/p AMPM", locale);
        const QStringList parts = clock12.split(u' ');
        FUZZ_CHECK(parts.size() == 4, input, fuzz::Shown(clock12));
        const int hour = parts[0].toInt();
        const bool pm = parts[2] == QLatin1String("p");
        FUZZ_CHECK(hour >= 1 && hour <= 12 && parts[1].size() == 2 && parts[1].toInt() == hour, input, clock12);
        FUZZ_CHECK(parts[3] == (pm ? QLatin1String("PM") : QLatin1String("AM")), input, clock12);
        FUZZ_CHECK(hour % 12 + (pm ? 12 : 0) == time.hour(), input, clock12);
    }
    return 0;
}
