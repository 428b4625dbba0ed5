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

// What the window cuts off: enabled buttons it does not show whole ("cmdAdd cut"), lists with rows
// that show no whole row ("lvRelPrj cut").
inline QStringList CutOff(QWidget* form) {
    const auto shown = [](const QWidget* w) {  // in the window's coordinates, cut by every parent
        QRect part = w->rect();
        for (; !w->isWindow() && w->parentWidget(); w = w->parentWidget())
            part = part.translated(w->pos()) & w->parentWidget()->rect();
        return part;
    };
    QStringList found;
    for (QAbstractButton* b : form->findChildren<QAbstractButton*>())
        if (b->isVisible() && b->isEnabled() && shown(b).size() != b->size())
            found << b->objectName() + " cut";
    for (QAbstractItemView* list : form->findChildren<QAbstractItemView*>())
        if (list->isVisible() && list->model()->rowCount() > 0 &&
            shown(list->viewport()).height() < list->sizeHintForRow(0))
            found << list->objectName() + " cut";
    return found;
}

}  // namespace testsupport
