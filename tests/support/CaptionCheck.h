#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTreeView>
#include <QWidget>

// Checks that texts are shown whole at the program's font.
//
// The captions of a dialog that its font does not show whole: a one-line caption wider than the
// room its control gives the text, or a word-wrapped label needing more lines than its height
// holds. Controls on a hidden tab count as well.
namespace testsupport {

namespace detail {

// The width a button's style leaves its text.
inline int TextRoom(QAbstractButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    if (qobject_cast<QCheckBox*>(button)) contents = QStyle::SE_CheckBoxContents;
    if (qobject_cast<QRadioButton*>(button)) contents = QStyle::SE_RadioButtonContents;
    int room = button->style()->subElementRect(contents, &option, button).width();
    if (qobject_cast<QPushButton*>(button) && !button->icon().isNull())
        room -= button->iconSize().width() + 4;
    return room;
}

}  // namespace detail

inline QStringList CutCaptions(QWidget* dialog) {
    QStringList cut;
    const auto check = [&](QWidget* w, QString text, int room) {
        text.remove(QLatin1Char('&'));
        if (w->isHidden() || text.isEmpty()) return;
        const int need = QFontMetrics(w->font()).horizontalAdvance(text);
        if (need > room)
            cut << QStringLiteral("%1 \"%2\" needs %3 px, has %4")
                       .arg(w->objectName(), text)
                       .arg(need)
                       .arg(room);
    };
    for (QLabel* label : dialog->findChildren<QLabel*>()) {
        if (label->isHidden() || label->text().isEmpty()) continue;
        if (label->wordWrap()) {
            const int need = label->heightForWidth(label->width());
            if (need > label->height())
                cut << QStringLiteral("%1 \"%2\" needs %3 px high, has %4")
                           .arg(label->objectName(), label->text())
                           .arg(need)
                           .arg(label->height());
            continue;
        }
        check(label, label->text(), label->contentsRect().width() - 2 * qMax(label->indent(), 0));
    }
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
        check(button, button->text(), detail::TextRoom(button));
    return cut;
}

// The cells of a list column that are not shown whole: wider than the column leaves its text, or
// the column reaching past the list's view.
inline QStringList CutCells(QTreeView& list, int column, const QStringList& texts) {
    QStringList cut;
    const int margin = list.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &list) + 1;
    const int room = list.columnWidth(column) - 2 * margin;
    const int right = list.header()->sectionPosition(column) + list.columnWidth(column);
    if (right > list.viewport()->width())
        cut << QStringLiteral("column %1 ends at %2 px, the view at %3")
                   .arg(column)
                   .arg(right)
                   .arg(list.viewport()->width());
    for (const QString& text : texts) {
        const int need = QFontMetrics(list.font()).horizontalAdvance(text);
        if (need > room) cut << QStringLiteral("\"%1\" needs %2 px, has %3").arg(text).arg(need).arg(room);
    }
    return cut;
}

// The program's font made larger for one test, for layouts that must hold at any font.
class ScaledFont {
public:
    explicit ScaledFont(double factor) : m_saved(QApplication::font()) {
        QFont font = m_saved;
        font.setPointSizeF(font.pointSizeF() * factor);
        QApplication::setFont(font);
    }
    ~ScaledFont() { QApplication::setFont(m_saved); }
    ScaledFont(const ScaledFont&) = delete;
    ScaledFont& operator=(const ScaledFont&) = delete;

private:
    QFont m_saved;
};

}  // namespace testsupport
