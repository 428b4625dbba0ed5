#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionTab>
#include <QTabBar>
#include <QTableView>
#include <QTreeView>

// Checks that texts are shown whole at the program's font; each gives the names of what is cut.
namespace testsupport {

// Captions of a dialog, on hidden tabs too: a one-line caption wider than the room its control
// leaves the text, or a word-wrapped label needing more height than it has.
inline QStringList CutCaptions(QWidget* dialog) {
    QStringList cut;
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
        auto* label = qobject_cast<QLabel*>(w);
        auto* button = qobject_cast<QAbstractButton*>(w);
        const QString text = label    ? label->text()
                             : button ? QString(button->text()).remove(QLatin1Char('&'))
                                      : QString();
        if (w->isHidden() || text.isEmpty()) continue;
        int room = 0;
        if (label && label->wordWrap()) {
            if (label->heightForWidth(label->width()) > label->height()) cut << w->objectName();
            continue;
        }
        if (label) {
            room = label->contentsRect().width() - 2 * qMax(label->indent(), 0);
        } else {
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            const auto contents = qobject_cast<QCheckBox*>(button) ? QStyle::SE_CheckBoxContents
                                                                   : QStyle::SE_PushButtonContents;
            room = button->style()->subElementRect(contents, &option, button).width();
        }
        if (QFontMetrics(w->font()).horizontalAdvance(text) > room) cut << w->objectName();
    }
    // Tab captions inside their tabs, and the tabs inside their strip; the style draws a tab not
    // chosen lower by its shift.
    const int shift = QApplication::style()->pixelMetric(QStyle::PM_TabBarTabShiftVertical);
    for (QTabBar* bar : dialog->findChildren<QTabBar*>()) {
        for (int i = 0; i < bar->count() && !bar->isHidden(); ++i) {
            QStyleOptionTab tab;
            tab.initFrom(bar);
            tab.rect = bar->tabRect(i);
            tab.text = bar->tabText(i);
            const QRect text = bar->style()->subElementRect(QStyle::SE_TabBarTabText, &tab, bar);
            const QFontMetrics metrics(bar->font());
            if (!bar->rect().contains(tab.rect) || metrics.horizontalAdvance(tab.text) > text.width() ||
                metrics.height() + shift > text.height())
                cut << bar->objectName() + QStringLiteral(" tab ") + tab.text;
        }
    }
    // Dates in their boxes: a frameless line edit keeps 2 pixels either side of its text.
    for (QDateTimeEdit* date : dialog->findChildren<QDateTimeEdit*>()) {
        const auto* edit = date->findChild<QLineEdit*>();
        const QRect room = edit->contentsRect().marginsRemoved(edit->textMargins()).adjusted(2, 0, -2, 0);
        if (!date->isHidden() && QFontMetrics(edit->font()).horizontalAdvance(edit->text()) > room.width())
            cut << date->objectName();
    }
    // A month view's day headers in their cells, measured as its list view lays out a cell's text
    // (inside a margin, at the font the view gives the header, in fractions of a pixel) before it cuts
    // one that does not fit to "W...".
    for (QCalendarWidget* calendar : dialog->findChildren<QCalendarWidget*>()) {
        auto* view = calendar->findChild<QTableView*>();
        if (!calendar->isVisible() || !view ||
            calendar->horizontalHeaderFormat() == QCalendarWidget::NoHorizontalHeader)
            continue;
        const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
        for (int column = 0; column < view->model()->columnCount(); ++column) {
            const QModelIndex header = view->model()->index(0, column);
            const QString text = header.data(Qt::DisplayRole).toString();
            const QFont font = qvariant_cast<QFont>(header.data(Qt::FontRole));
            if (QFontMetricsF(font).horizontalAdvance(text) > view->visualRect(header).width() - 2 * margin)
                cut << calendar->objectName() + QStringLiteral(" header ") + text;
        }
    }
    return cut;
}

// Texts of a list column wider than the room the column leaves them, or the column reaching past
// the list's view.
inline QStringList CutCells(QTreeView& list, int column, const QStringList& texts) {
    QStringList cut;
    const int margin = list.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &list) + 1;
    if (list.header()->sectionPosition(column) + list.columnWidth(column) > list.viewport()->width())
        cut << QStringLiteral("<column past the view>");
    for (const QString& text : texts) {
        if (QFontMetrics(list.font()).horizontalAdvance(text) > list.columnWidth(column) - 2 * margin)
            cut << text;
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
