#include "core/DialogLayout.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabWidget>

namespace core::layout {

namespace {

// How much wider (x) or taller (y) a caption control must be to show its text whole at its font:
// the twips of a layout are a guess at one font's size, the program's font may be larger.
QSize Shortfall(QWidget* w) {
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (label->text().isEmpty()) return {};
        if (label->wordWrap()) return {0, label->heightForWidth(label->width()) - label->height()};
        return {label->sizeHint().width() - label->width(), 0};
    }
    auto* button = qobject_cast<QAbstractButton*>(w);
    if (!button) return {};
    const QString text = QString(button->text()).remove(QLatin1Char('&'));
    if (text.isEmpty()) return {};
    // The room the style leaves the text inside the button as it is now.
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
    return {QFontMetrics(button->font()).horizontalAdvance(text) - room, 0};
}

// Grows a control and makes room for it: the controls after it on its line move right, with those
// aligned under or over them, the controls below it move down, and its parent grows by as much as
// its contents spread, up to the window.
void Grow(QWidget* w, int dx, int dy) {
    dx = qMax(dx, 0);
    dy = qMax(dy, 0);
    if (dx == 0 && dy == 0) return;
    if (w->isWindow()) {
        w->setFixedSize(w->size() + QSize(dx, dy));
        return;
    }
    QWidget* parent = w->parentWidget();
    const QRect before = parent->childrenRect();
    const QRect old = w->geometry();
    w->resize(old.size() + QSize(dx, dy));
    const QList<QWidget*> siblings = parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    // The columns that start after it on its line move right whole, so boxes stay aligned.
    QList<int> columns;
    for (QWidget* sibling : siblings) {
        const QRect g = sibling->geometry();
        if (dx > 0 && sibling != w && g.left() > old.right() && g.top() <= old.bottom() &&
            g.bottom() >= old.top())
            columns << g.left();
    }
    for (QWidget* sibling : siblings) {
        if (sibling == w || sibling->isWindow()) continue;
        const QRect g = sibling->geometry();
        QPoint by;
        if (columns.contains(g.left())) by.rx() = dx;
        if (g.top() > old.bottom()) by.ry() = dy;
        if (!by.isNull()) sibling->move(g.topLeft() + by);
    }
    const QRect after = parent->childrenRect();
    // A tab's page takes the size its tab widget gives it: the tab widget grows instead.
    QWidget* holder = parent;
    if (qobject_cast<QStackedWidget*>(holder->parentWidget())) holder = holder->parentWidget();
    if (qobject_cast<QTabWidget*>(holder->parentWidget())) holder = holder->parentWidget();
    Grow(holder, after.right() - before.right(), after.bottom() - before.bottom());
}

}  // namespace

void FitCaptions(QWidget* dialog) {
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
        if (w->isHidden()) continue;
        const QSize more = Shortfall(w);
        Grow(w, more.width(), more.height());
    }
}

}  // namespace core::layout
