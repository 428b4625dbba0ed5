#include "shell/PlaceholderScreen.h"

#include <QLabel>
#include <QVBoxLayout>

PlaceholderScreen::PlaceholderScreen(const QString& name, const QString& caption, QWidget* parent)
    : QWidget(parent) {
    setObjectName(name);
    setWindowTitle(caption);

    auto* title = new QLabel(caption, this);
    title->setObjectName(QStringLiteral("lblCaption"));
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);

    auto* note = new QLabel(QStringLiteral("This screen comes in a later version."), this);
    note->setObjectName(QStringLiteral("lblNote"));
    note->setAlignment(Qt::AlignCenter);

    auto* column = new QVBoxLayout(this);
    column->addStretch(1);
    column->addWidget(title);
    column->addWidget(note);
    column->addStretch(1);
}
