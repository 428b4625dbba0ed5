#include "calendar/DisplayFormat.h"

#include <vector>

namespace calendar {

namespace {

enum class Part {
    Text,
    Day,
    Day2,
    DayShort,
    DayLong,
    Month,
    Month2,
    MonthShort,
    MonthLong,
    Year4,
    Hour,
    Hour2,
    Minute2,
    LowerMarker,
    Marker
};

struct Token {
    Part part;
    QStringView text;  // the characters it was read from
};

// The length of the run of `c` at `at`, at most `most`.
qsizetype Run(QStringView s, qsizetype at, QChar c, qsizetype most) {
    qsizetype n = 0;
    while (at + n < s.size() && n < most && s[at + n] == c) ++n;
    return n;
}

std::vector<Token> Tokens(QStringView pattern) {
    std::vector<Token> out;
    qsizetype i = 0;
    while (i < pattern.size()) {
        const QStringView rest = pattern.mid(i);
        Part part = Part::Text;
        qsizetype length = 1;
        if (rest.startsWith(u"AMPM")) {
            part = Part::Marker;
            length = 4;
        } else if (rest.startsWith(u"a/p")) {
            part = Part::LowerMarker;
            length = 3;
        } else if (rest.startsWith(u"yyyy")) {
            part = Part::Year4;
            length = 4;
        } else if (rest.startsWith(u"nn")) {
            part = Part::Minute2;
            length = 2;
        } else if (rest[0] == u'd') {
            length = Run(pattern, i, u'd', 4);
            part = length == 1   ? Part::Day
                   : length == 2 ? Part::Day2
                   : length == 3 ? Part::DayShort
                                 : Part::DayLong;
        } else if (rest[0] == u'm') {
            length = Run(pattern, i, u'm', 4);
            part = length == 1   ? Part::Month
                   : length == 2 ? Part::Month2
                   : length == 3 ? Part::MonthShort
                                 : Part::MonthLong;
        } else if (rest[0] == u'h') {
            length = Run(pattern, i, u'h', 2);
            part = length == 1 ? Part::Hour : Part::Hour2;
        }
        out.push_back({part, pattern.mid(i, length)});
        i += length;
    }
    return out;
}

QString TwoDigits(int n) {
    return QString::number(n).rightJustified(2, u'0');
}

}  // namespace

QString FormatDisplay(const QDate& date, const QTime& time, QStringView pattern, const QLocale& locale) {
    const std::vector<Token> tokens = Tokens(pattern);

    // An hour is on the 12-hour clock when a marker comes anywhere after it.
    std::vector<bool> markerFollows(tokens.size() + 1, false);
    for (size_t k = tokens.size(); k-- > 0;) {
        const Part p = tokens[k].part;
        markerFollows[k] = markerFollows[k + 1] || p == Part::Marker || p == Part::LowerMarker;
    }

    QString out;
    out.reserve(pattern.size() + 16);
    const bool hasDate = date.isValid();
    const bool hasTime = time.isValid();
    for (size_t k = 0; k < tokens.size(); ++k) {
        const Token& t = tokens[k];
        const bool datePart = t.part >= Part::Day && t.part <= Part::Year4;
        const bool timePart = t.part >= Part::Hour;
        if ((datePart && !hasDate) || (timePart && !hasTime)) continue;
        int hour = hasTime ? time.hour() : 0;
        if ((t.part == Part::Hour || t.part == Part::Hour2) && markerFollows[k + 1]) {
            hour %= 12;
            if (hour == 0) hour = 12;
        }
        switch (t.part) {
            case Part::Text:
                out += t.text;
                break;
            case Part::Day:
                out += QString::number(date.day());
                break;
            case Part::Day2:
                out += TwoDigits(date.day());
                break;
            case Part::DayShort:
                out += locale.dayName(date.dayOfWeek(), QLocale::ShortFormat);
                break;
            case Part::DayLong:
                out += locale.dayName(date.dayOfWeek(), QLocale::LongFormat);
                break;
            case Part::Month:
                out += QString::number(date.month());
                break;
            case Part::Month2:
                out += TwoDigits(date.month());
                break;
            case Part::MonthShort:
                out += locale.monthName(date.month(), QLocale::ShortFormat);
                break;
            case Part::MonthLong:
                out += locale.monthName(date.month(), QLocale::LongFormat);
                break;
            case Part::Year4:
                out += QString::number(date.year()).rightJustified(4, u'0');
                break;
            case Part::Hour:
                out += QString::number(hour);
                break;
            case Part::Hour2:
                out += TwoDigits(hour);
                break;
            case Part::Minute2:
                out += TwoDigits(time.minute());
                break;
            case Part::LowerMarker:
                out += time.hour() < 12 ? u'a' : u'p';
                break;
            case Part::Marker:
                out += time.hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM");
                break;
        }
    }
    return out;
}

}  // namespace calendar
