#include "calendar/DisplayFormat.h"

#include <vector>

namespace calendar {

namespace {

enum class Field {
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
    Field field;
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
        Field field = Field::Text;
        qsizetype length = 1;
        if (rest.startsWith(u"AMPM")) {
            field = Field::Marker;
            length = 4;
        } else if (rest.startsWith(u"a/p")) {
            field = Field::LowerMarker;
            length = 3;
        } else if (rest.startsWith(u"yyyy")) {
            field = Field::Year4;
            length = 4;
        } else if (rest.startsWith(u"nn")) {
            field = Field::Minute2;
            length = 2;
        } else if (rest[0] == u'd') {
            length = Run(pattern, i, u'd', 4);
            field = length == 1   ? Field::Day
                    : length == 2 ? Field::Day2
                    : length == 3 ? Field::DayShort
                                  : Field::DayLong;
        } else if (rest[0] == u'm') {
            length = Run(pattern, i, u'm', 4);
            field = length == 1   ? Field::Month
                    : length == 2 ? Field::Month2
                    : length == 3 ? Field::MonthShort
                                  : Field::MonthLong;
        } else if (rest[0] == u'h') {
            length = Run(pattern, i, u'h', 2);
            field = length == 1 ? Field::Hour : Field::Hour2;
        }
        out.push_back({field, pattern.mid(i, length)});
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
        const Field p = tokens[k].field;
        markerFollows[k] = markerFollows[k + 1] || p == Field::Marker || p == Field::LowerMarker;
    }

    QString out;
    out.reserve(pattern.size() + 16);
    const bool hasDate = date.isValid();
    const bool hasTime = time.isValid();
    for (size_t k = 0; k < tokens.size(); ++k) {
        const Token& t = tokens[k];
        const bool datePart = t.field >= Field::Day && t.field <= Field::Year4;
        const bool timePart = t.field >= Field::Hour;
        if ((datePart && !hasDate) || (timePart && !hasTime)) continue;
        int hour = hasTime ? time.hour() : 0;
        if ((t.field == Field::Hour || t.field == Field::Hour2) && markerFollows[k + 1]) {
            hour %= 12;
            if (hour == 0) hour = 12;
        }
        switch (t.field) {
            case Field::Text:
                out += t.text;
                break;
            case Field::Day:
                out += QString::number(date.day());
                break;
            case Field::Day2:
                out += TwoDigits(date.day());
                break;
            case Field::DayShort:
                out += locale.dayName(date.dayOfWeek(), QLocale::ShortFormat);
                break;
            case Field::DayLong:
                out += locale.dayName(date.dayOfWeek(), QLocale::LongFormat);
                break;
            case Field::Month:
                out += QString::number(date.month());
                break;
            case Field::Month2:
                out += TwoDigits(date.month());
                break;
            case Field::MonthShort:
                out += locale.monthName(date.month(), QLocale::ShortFormat);
                break;
            case Field::MonthLong:
                out += locale.monthName(date.month(), QLocale::LongFormat);
                break;
            case Field::Year4:
                out += QString::number(date.year()).rightJustified(4, u'0');
                break;
            case Field::Hour:
                out += QString::number(hour);
                break;
            case Field::Hour2:
                out += TwoDigits(hour);
                break;
            case Field::Minute2:
                out += TwoDigits(time.minute());
                break;
            case Field::LowerMarker:
                out += time.hour() < 12 ? u'a' : u'p';
                break;
            case Field::Marker:
                out += time.hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM");
                break;
        }
    }
    return out;
}

}  // namespace calendar
