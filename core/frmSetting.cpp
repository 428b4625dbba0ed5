#include "core/frmSetting.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QLabel>
#include <QMetaObject>
#include <QPushButton>
#include <QRadioButton>

#include "core/DialogLayout.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/db/Database.h"
#include "platform/ui/Activation.h"
#include "platform/ui/DialogKeys.h"
#include "platform/ui/ScreenRegistry.h"

using core::Tail;
using core::layout::Place;

namespace {

const char* const kValues[3] = {"Hidden", "Default", "Private"};
constexpr int kDefault = 1;

}  // namespace

frmSetting::frmSetting(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmSetting"));
    setWindowTitle(QStringLiteral("Select Setting"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);

    BuildControls();
    ui::ScreenRegistry::instance().add(this);
    Form_Load();
}

frmSetting::~frmSetting() = default;

frmSetting* frmSetting::Open(QWidget* owner) {
    return ui::ShownActive(new frmSetting(owner));
}

void frmSetting::BuildControls() {
    Label1 = core::layout::Heading(this, QStringLiteral("Label1"),
                                   QStringLiteral(" Select the desired show/hide setting"));
    Place(Label1, 120, 120, 4320, 285);

    const QString captions[3] = {QStringLiteral("Hide in the drop-down Name Lists"),
                                 QStringLiteral("Show as Favorite (Default)"),
                                 QStringLiteral("Mark as Private")};
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        optSet[i] = new QRadioButton(captions[i], this);
        optSet[i]->setObjectName(QStringLiteral("optSet(%1)").arg(i));
        Place(optSet[i], 360, 540 + i * 360, 3960, 300);
        group->addButton(optSet[i], i);
        connect(optSet[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) optSet_Click(i);
        });
    }

    const QString buttons[2] = {QStringLiteral("&OK"), QStringLiteral("&Cancel")};
    for (int i = 0; i < 2; ++i) {
        cmdOpts[i] = new QPushButton(buttons[i], this);
        cmdOpts[i]->setObjectName(QStringLiteral("cmdOpts(%1)").arg(i));
        Place(cmdOpts[i], 2040 + i * 1200, 1740, 1080, 375);
        connect(cmdOpts[i], &QPushButton::clicked, this, [this, i] { cmdOpts_Click(i); });
    }
    ui::SetDialogKeys(this, cmdOpts[0]);
    setFixedSize(ui::twips::ToPixelsX(4560), ui::twips::ToPixelsY(2280));
}

void frmSetting::Form_Load() {
    m_strScreen = g_strCurScreen;
    m_lngRecordID = m_strScreen == QLatin1String("PEnt") ? g_lngCurProjID : g_lngCurContID;
    m_strSetting = QString::fromLatin1(kValues[kDefault]);
    m_blnCancelled = false;
    int selected = kDefault;
    core::trap(QStringLiteral("frmSetting.Form_Load"), Tail::ErrorBox, [&] {
        // Opens on the record's present setting, so OK without a choice changes nothing.
        QString sql;
        if (m_strScreen == QLatin1String("CEnt")) {
            sql = QStringLiteral("SELECT Setting FROM Contacts WHERE ContID = ") +
                  QString::number(m_lngRecordID);
        } else if (m_strScreen == QLatin1String("PEnt")) {
            sql = QStringLiteral("SELECT Setting FROM Projects WHERE ProjID = ") +
                  QString::number(m_lngRecordID);
        }
        if (sql.isEmpty()) return;
        db::Recordset rs = g_dbLocal->OpenRecordset(sql);
        if (!rs.Eof()) {
            const QString present = rs.Value(QStringLiteral("Setting")).toString();
            for (int i = 0; i < 3; ++i) {
                if (present.compare(QLatin1String(kValues[i]), Qt::CaseInsensitive) == 0) selected = i;
            }
        }
        rs.Close();
    });
    optSet[selected]->setChecked(true);
    m_strSetting = QString::fromLatin1(kValues[selected]);
}

void frmSetting::optSet_Click(int index) {
    m_strSetting = QString::fromLatin1(kValues[index]);
}

void frmSetting::cmdOpts_Click(int index) {
    if (index == 1) {
        m_blnCancelled = true;
        done(QDialog::Rejected);
        return;
    }
    core::trap(QStringLiteral("frmSetting.cmdOpts_Click"), Tail::Unknown, [&] {
        if (m_strScreen == QLatin1String("CEnt")) {
            PostContactEntry();
        } else if (m_strScreen == QLatin1String("PEnt")) {
            PostProjectEntry();
        }
    });
}

void frmSetting::PostContactEntry() {
    PostEntry(QStringLiteral("frmSetting.PostContactEntry"),
              QStringLiteral("SELECT * FROM Contacts WHERE ContID = ") + QString::number(m_lngRecordID));
}

void frmSetting::PostProjectEntry() {
    PostEntry(QStringLiteral("frmSetting.PostProjectEntry"),
              QStringLiteral("SELECT * FROM Projects WHERE ProjID = ") + QString::number(m_lngRecordID));
}

// A record that has gone makes the save fail with its message; the dialog then stays open.
void frmSetting::PostEntry(const QString& procName, const QString& sql) {
    const bool saved = core::trap(procName, Tail::Action, QStringLiteral("updating the record"), [&] {
        db::Recordset rs = g_dbLocal->OpenRecordset(sql);
        rs.Edit();
        rs.Fields(QStringLiteral("Setting")) = m_strSetting;
        rs.Update();
        rs.Close();
    });
    if (saved) done(QDialog::Accepted);
}

void frmSetting::Form_Unload() {
    if (m_blnUnloaded) return;
    m_blnUnloaded = true;
    if (m_blnCancelled) return;
    if (m_strScreen == QLatin1String("CEnt")) {
        modGeneral::CallLoader(QStringLiteral("frmContEntry"), "LoadMainContactInfo");
    } else if (m_strScreen == QLatin1String("PEnt")) {
        modGeneral::CallLoader(QStringLiteral("frmProjEntry"), "LoadMainProjectInfo");
    }
}

void frmSetting::done(int result) {
    Form_Unload();
    QDialog::done(result);
}

// Esc is the Cancel button.
void frmSetting::reject() {
    cmdOpts_Click(1);
}

// The close box is not Cancel: the editor is refreshed.
void frmSetting::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}
