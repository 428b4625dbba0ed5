#pragma once

#include <QFrame>
#include <QList>
#include <QStringList>
#include <QWidget>

#include "platform/ui/Twips.h"

// Checks of a screen's layout: the main window at the sizes a screen must fit, and controls that
// cover each other.
namespace testsupport {

// The main window at its smallest size (12000 x 9000 twips, its frame included) or maximised.
inline void SizeMainWindow(QWidget& window, bool maximised) {
    if (maximised) {
        window.showMaximized();
        return;
    }
    const QSize frame = window.frameGeometry().size() - window.geometry().size();
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
    const auto frames = [](const QWidget* frame, const QWidget* framed) {
        return qobject_cast<const QFrame*>(frame) && frame->objectName().startsWith(QLatin1String("shp")) &&
               frame->geometry().contains(framed->geometry());
    };
    for (int i = 0; i < shown.size(); ++i) {
        for (int j = i + 1; j < shown.size(); ++j) {
            if (!shown[i]->geometry().intersects(shown[j]->geometry())) continue;
            if (frames(shown[i], shown[j]) || frames(shown[j], shown[i])) continue;
            found << shown[i]->objectName() + QStringLiteral(" overlaps ") + shown[j]->objectName() +
                         QStringLiteral(" in ") + parent->objectName();
        }
        const QByteArray kind = shown[i]->metaObject()->className();
        if (kind == "QWidget" || kind == "QLabel") found << Overlaps(shown[i]);
    }
    return found;
}

}  // namespace testsupport
