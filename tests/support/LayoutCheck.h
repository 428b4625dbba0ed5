#pragma once

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QFrame>
#include <QLabel>
#include <QList>
#include <QStringList>
#include <QWidget>

#include "platform/ui/Twips.h"

// Checks of a screen's layout: the main window at the sizes a screen must fit, and controls that
// cover each other.
namespace testsupport {

// The main window at its smallest size (12000 x 9000 twips, its frame included) or maximised. A title
// bar the platform does not draw (offscreen) is taken from the contents: about 798 x 575 remain.
inline void SizeMainWindow(QWidget& window, bool maximised) {
    if (maximised) {
        window.setContentsMargins(0, 0, 0, 0);
        window.showMaximized();
        return;
    }
    if (window.isMaximized()) window.showNormal();
    const QSize frame = window.frameGeometry().size() - window.geometry().size();
    window.setContentsMargins(0, qMax(0, 25 - frame.height()), 0, 0);
    window.setMinimumSize(0, 0);
    window.resize(QSize(ui::twips::ToPixelsX(12000), ui::twips::ToPixelsY(9000)) - frame);
}

// Visible sibling controls under `parent` that cover each other, as "a overlaps b in parent"; plain
// containers and labels are looked into. A list's frame ("shp...") surrounds the control it frames.
// `panes` are left out: they cover the screen when shown and are checked on their own.
inline QStringList Overlaps(QWidget* parent, const QList<QWidget*>& panes = {}) {
    QStringList found;
    QList<QWidget*> shown;
    for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isVisible() && !panes.contains(child)) shown << child;
    }
    // A label may be a band under other controls.
    const auto frames = [](const QWidget* frame, const QWidget* framed) {
        return ((qobject_cast<const QFrame*>(frame) &&
                 frame->objectName().startsWith(QLatin1String("shp"))) ||
                qobject_cast<const QLabel*>(frame)) &&
               frame->geometry().contains(framed->geometry());
    };
    for (int i = 0; i < shown.size(); ++i) {
        for (int j = i + 1; j < shown.size(); ++j) {
            // Neighbours sharing an edge (15 twips, two pixels once rounded) and lines do not cover.
            const QRect common = shown[i]->geometry().intersected(shown[j]->geometry());
            if (common.width() <= 2 || common.height() <= 2) continue;
            if (frames(shown[i], shown[j]) || frames(shown[j], shown[i])) continue;
            found << shown[i]->objectName() + QStringLiteral(" overlaps ") + shown[j]->objectName() +
                         QStringLiteral(" in ") + parent->objectName();
        }
        const QByteArray kind = shown[i]->metaObject()->className();
        if (kind == "QWidget" || kind == "QLabel") found << Overlaps(shown[i]);
    }
    return found;
}

// The part of `w` its window shows: its rectangle in the window's coordinates, cut by every parent.
inline QRect ShownPart(const QWidget* w) {
    QRect shown = w->rect();
    for (const QWidget* at = w; !at->isWindow() && at->parentWidget(); at = at->parentWidget()) {
        shown.translate(at->pos());
        shown &= at->parentWidget()->rect();
    }
    return shown;
}

// Lists with rows whose first row is not shown whole: the list lower than a row, or reaching past
// the edge of its window.
inline QStringList ListsWithoutAWholeRow(QWidget* form) {
    QStringList found;
    for (QAbstractItemView* list : form->findChildren<QAbstractItemView*>()) {
        if (!list->isVisible() || !list->model() || list->model()->rowCount() == 0) continue;
        const int row = list->sizeHintForRow(0);
        if (ShownPart(list->viewport()).height() < row) found << list->objectName();
    }
    return found;
}

// Enabled buttons that their window does not show whole.
inline QStringList ButtonsOutside(QWidget* form) {
    QStringList found;
    for (QAbstractButton* button : form->findChildren<QAbstractButton*>()) {
        if (!button->isVisible() || !button->isEnabled()) continue;
        if (ShownPart(button).size() != button->size()) found << button->objectName();
    }
    return found;
}

}  // namespace testsupport
