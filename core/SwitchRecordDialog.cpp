#include "core/SwitchRecordDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/modGeneral.h"
#include "platform/ui/DialogKeys.h"
#include "platform/ui/ScreenRegistry.h"

SwitchRecordDialog::SwitchRecordDialog(const Kind& kind, QWidget* parent) : QDialog(parent), m_kind(kind) {
    setObjectName(m_kind.formName);
    setWindowTitle(m_kind.caption);
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);

    Label1 = new QLabel(m_kind.question, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);

    const QString captions[2] = {QStringLiteral("&OK"), QStringLiteral("&Cancel")};
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (int i = 0; i < 2; ++i) {
        cmdOpts[i] = new QPushButton(captions[i], this);
        cmdOpts[i]->setObjectName(QStringLiteral("cmdOpts(%1)").arg(i));
        connect(cmdOpts[i], &QPushButton::clicked, this, [this, i] { cmdOpts_Click(i); });
        buttons->addWidget(cmdOpts[i]);
    }
    // Esc is Cancel (the dialog's reject).
    ui::SetDialogKeys(this, cmdOpts[0]);

    auto* column = new QVBoxLayout(this);
    column->addWidget(Label1);
    column->addLayout(buttons);
}

void SwitchRecordDialog::cmdOpts_Click(int index) {
    m_blnConfirmed = index == 0;
    if (m_blnConfirmed) {
        accept();
    } else {
        reject();
    }
}

// OK, Cancel, Esc and the close box all end here.
void SwitchRecordDialog::done(int result) {
    QDialog::done(result);
    if (m_blnUnloaded) return;
    m_blnUnloaded = true;
    Form_Unload();
}

void SwitchRecordDialog::Form_Unload() {
    if (!m_blnConfirmed) return;
    // Every screen and dialog closes first (the old editor saves the box being edited), then the
    // editor opens on the chosen record.
    modGeneral::CloseAllChildForms(modGeneral::Closing::ScreenSwitch);
    *m_kind.currentNumber = ChosenRecord();
    ui::ScreenRegistry::instance().open(m_kind.editor);
}
