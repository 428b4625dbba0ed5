#include "shell/PlaceholderScreen.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Caption in large bold type above the "comes later" note; shared by both stand-ins.
void AddCaptionAndNote(QWidget* form, QVBoxLayout* column, const QString& caption, const QString& note) {
    auto* title = new QLabel(caption, form);
    title->setObjectName(QStringLiteral("lblCaption"));
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);

    auto* line = new QLabel(note, form);
    line->setObjectName(QStringLiteral("lblNote"));
    line->setAlignment(Qt::AlignCenter);

    column->addWidget(title);
    column->addWidget(line);
}

}  // namespace

PlaceholderScreen::PlaceholderScreen(const QString& name, const QString& caption, QWidget* parent)
    : QWidget(parent) {
    setObjectName(name);
    setWindowTitle(caption);

    auto* column = new QVBoxLayout(this);
    column->addStretch(1);
    AddCaptionAndNote(this, column, caption, QStringLiteral("This screen comes in a later version."));
    m_detail = new QLabel(this);
    m_detail->setObjectName(QStringLiteral("lblDetail"));
    m_detail->setAlignment(Qt::AlignCenter);
    m_detail->setTextFormat(Qt::PlainText);
    m_detail->hide();
    column->addWidget(m_detail);
    column->addStretch(1);
}

void PlaceholderScreen::SetDetail(const QString& text) {
    m_detail->setText(text);
    m_detail->setVisible(!text.isEmpty());
}

PlaceholderDialog::PlaceholderDialog(const QString& name, const QString& caption, QWidget* owner)
    : QDialog(owner) {
    setObjectName(name);
    setWindowTitle(caption);
    setAttribute(Qt::WA_DeleteOnClose);

    auto* column = new QVBoxLayout(this);
    AddCaptionAndNote(this, column, caption, QStringLiteral("This dialog comes in a later version."));
    m_detail = new QLabel(this);
    m_detail->setObjectName(QStringLiteral("lblDetail"));
    m_detail->setAlignment(Qt::AlignCenter);
    m_detail->setTextFormat(Qt::PlainText);
    m_detail->hide();
    column->addWidget(m_detail);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("cmdClose"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    column->addWidget(buttons);
}

void PlaceholderDialog::SetDetail(const QString& text) {
    m_detail->setText(text);
    m_detail->setVisible(!text.isEmpty());
}
