#include "items/ItemLists.h"

#include <QPair>
#include <QVector>

#include "core/DialogLayout.h"
#include "items/Reminders.h"
#include "platform/ui/PickList.h"

namespace items {

namespace {

constexpr qint64 kNoTime = -1;

qint64 SecondsOf(const QTime& time) {
    return time.msecsSinceStartOfDay() / 1000;
}

QVector<QPair<QString, qint64>> Entries(const ui::ComboBox& list) {
    QVector<QPair<QString, qint64>> entries;
    for (int i = 0; i < list.count(); ++i) entries.append({list.itemText(i), list.itemData(i)});
    return entries;
}

// The lists are short: rebuilt whole with the new entry.
void InsertAndShow(ui::ComboBox& list, int at, const QString& text, qint64 data) {
    QVector<QPair<QString, qint64>> entries = Entries(list);
    entries.insert(at, {text, data});
    list.clear();
    list.addItems(entries);
    list.setListIndex(at);
}

}  // namespace

const QString& SelectEntry() {
    static const QString text = QStringLiteral("<Select>");
    return text;
}

void FillTimeList(ui::ComboBox& list, bool withSelect) {
    QVector<QPair<QString, qint64>> entries;
    for (const QTime& time : HalfHourTimes()) entries.append({TimeText(time), SecondsOf(time)});
    if (withSelect) entries.append({SelectEntry(), kNoTime});
    list.addItems(entries);
}

void FillIntervalList(ui::ComboBox& list) {
    QVector<QPair<QString, qint64>> entries;
    for (const QString& text : IntervalTexts()) entries.append({text, 0});
    entries.append({SelectEntry(), kNoTime});
    list.addItems(entries);
}

void ShowTime(ui::ComboBox& list, const QTime& time) {
    const qint64 seconds = SecondsOf(time);
    const int found = list.findData(seconds);
    if (found >= 0) {
        list.setListIndex(found);
        return;
    }
    int at = 0;
    while (at < list.count() && list.itemData(at) != kNoTime && list.itemData(at) < seconds) ++at;
    InsertAndShow(list, at, TimeText(time), seconds);
}

void ShowInterval(ui::ComboBox& list, const QString& text) {
    // Compared exactly: the list's own search ignores case.
    for (int i = 0; i < list.count(); ++i) {
        if (list.itemText(i) == text) {
            list.setListIndex(i);
            return;
        }
    }
    int at = list.count();
    if (at > 0 && list.itemData(at - 1) == kNoTime) --at;
    InsertAndShow(list, at, text, 0);
}

void ShowSelect(ui::ComboBox& list) {
    list.setListIndex(list.findData(kNoTime));
}

std::optional<QTime> ListTime(const ui::ComboBox& list) {
    const int at = list.listIndex();
    if (at < 0 || list.itemData(at) == kNoTime) return std::nullopt;
    return QTime::fromMSecsSinceStartOfDay(static_cast<int>(list.itemData(at) * 1000));
}

void SetListEnabled(ui::ComboBox& list, bool on) {
    list.setEnabled(on);
    core::layout::PaintBox(&list, on);
}

}  // namespace items
