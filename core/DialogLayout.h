#pragma once

#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QStyle>
#include <QString>
#include <QWidget>

#include "platform/ui/Twips.h"

// Small layout helpers shared by the dialogs of core: positions in twips and the section headings.
namespace core::layout {

inline void Place(QWidget* w, double left, double top, double width, double height) {
    using namespace ui::twips;
    w->setGeometry(ToPixelsX(left), ToPixelsY(top), ToPixelsX(width), ToPixelsY(height));
}

// A section heading: a bold band in the selection colours.
inline QLabel* Heading(QWidget* parent, const QString& name, const QString& caption) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setAutoFillBackground(true);
    QPalette band = label->palette();
    band.setColor(QPalette::Window, band.color(QPalette::Highlight));
    band.setColor(QPalette::WindowText, band.color(QPalette::HighlightedText));
    label->setPalette(band);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

// An edit box's background: white while it takes input, the button face while it is locked. Under
// the flat border's style sheet the palette paints no background: its rule reads the box's "locked"
// property, which takes effect once the box is polished anew.
inline void PaintBox(QWidget* box, bool editable) {
    QPalette p = box->palette();
    p.setColor(QPalette::Base, editable ? QColor(Qt::white) : p.color(QPalette::Button));
    box->setPalette(p);
    box->setProperty("locked", !editable);
    if (!box->styleSheet().isEmpty()) {
        box->style()->unpolish(box);
        box->style()->polish(box);
    }
}

// Makes room for every caption of a dialog that its font does not show whole, once its controls
// are placed: a caption control grows (a word-wrapped label in height), the controls after it on its
// line or below it move along, and the dialog grows by as much.
void FitCaptions(QWidget* dialog);

}  // namespace core::layout
