#include "core/frmSecurity.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include "core/DialogLayout.h"
#include "core/Trap.h"
#include "core/modEncrypt.h"
#include "core/modGeneral.h"
#include "platform/db/Database.h"
#include "platform/ui/Activation.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/DialogKeys.h"
#include "platform/ui/ListView.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ScreenRegistry.h"
#include "platform/ui/TextLimit.h"

using core::Tail;
using core::layout::Place;

namespace {

constexpr int kNameLength = 50;
constexpr int kPasswordLength = 15;

}  // namespace

frmSecurity::frmSecurity(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmSecurity"));
    setWindowTitle(QStringLiteral("Program Security"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);

    BuildControls();
    ui::ScreenRegistry::instance().add(this);
    Form_Load();
}

frmSecurity::~frmSecurity() {
    try {
        m_rsSecurity.Close();
    } catch (...) {
    }
}

frmSecurity* frmSecurity::Open(QWidget* owner) {
    return ui::ShownActive(new frmSecurity(owner));
}

void frmSecurity::BuildControls() {
    lblHeader[0] = core::layout::Heading(this, QStringLiteral("lblHeader(0)"),
                                         QStringLiteral(" Enable / Disable Program Security"));
    Place(lblHeader[0], 120, 120, 6120, 285);

    Check1 = new QCheckBox(QStringLiteral("Check to Enable Security"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Place(Check1, 240, 480, 4200, 300);
    connect(Check1, &QCheckBox::toggled, this, [this] { Check1_Click(); });

    lblHeader[1] =
        core::layout::Heading(this, QStringLiteral("lblHeader(1)"), QStringLiteral(" Authorized Users"));
    Place(lblHeader[1], 120, 900, 6120, 285);

    lvUser = new ui::ListView(this);
    lvUser->setObjectName(QStringLiteral("lvUser"));
    lvUser->addColumn(QStringLiteral("User Names"), 2600);
    lvUser->setIcons({style()->standardIcon(QStyle::SP_FileDialogInfoView)});
    Place(lvUser, 120, 1260, 2940, 3000);
    connect(lvUser, &ui::ListView::rowClicked, this, [this](int, Qt::MouseButton button) {
        if (button == Qt::LeftButton) lvUser_Click();
    });
    connect(lvUser, &ui::ListView::emptyAreaClicked, this, [this](Qt::MouseButton button) {
        if (button == Qt::LeftButton) lvUser_Click();
    });

    const QString labels[3] = {QStringLiteral("User Name:"), QStringLiteral("Enter Password:"),
                               QStringLiteral("Validate Password:")};
    for (int i = 0; i < 3; ++i) {
        Label1[i] = new QLabel(labels[i], this);
        Label1[i]->setObjectName(QStringLiteral("Label1(%1)").arg(i));
        Place(Label1[i], 3240, 1260 + i * 720, 3000, 255);

        Text1[i] = new QLineEdit(this);
        Text1[i]->setObjectName(QStringLiteral("Text1(%1)").arg(i));
        ui::LimitLength(Text1[i], i == 0 ? kNameLength : kPasswordLength);
        if (i > 0) {
            Text1[i]->setEchoMode(QLineEdit::Password);
            Text1[i]->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
        }
        Place(Text1[i], 3240, 1500 + i * 720, 3000, 315);
        Text1[i]->installEventFilter(this);
        connect(Text1[i], &QLineEdit::textChanged, this, [this] { Text1_Change(); });
    }

    Label2 = new QLabel(QStringLiteral("Password Max. Length is 15 characters (letters or numbers)"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setWordWrap(true);
    Place(Label2, 3240, 3600, 3000, 480);

    const QString captions[5] = {QStringLiteral("&Add New User"), QStringLiteral("&Remove User"),
                                 QStringLiteral("Change &Password"), QString(), QStringLiteral("&Close")};
    const double lefts[5] = {120, 1620, 3120, 4680, 5220};
    const double widths[5] = {1440, 1440, 1500, 480, 1020};
    for (int i = 0; i < 5; ++i) {
        cmdOpts[i] = new QPushButton(captions[i], this);
        cmdOpts[i]->setObjectName(QStringLiteral("cmdOpts(%1)").arg(i));
        Place(cmdOpts[i], lefts[i], 4440, widths[i], 375);
        connect(cmdOpts[i], &QPushButton::clicked, this, [this, i] { cmdOpts_Click(i); });
    }
    cmdOpts[3]->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    cmdOpts[3]->setToolTip(QStringLiteral("Save"));
    ui::SetDialogKeys(this, nullptr);

    setFixedSize(ui::twips::ToPixelsX(6360), ui::twips::ToPixelsY(4980));
    core::layout::FitCaptions(this);
}

void frmSecurity::Form_Load() {
    core::trap(QStringLiteral("frmSecurity.Form_Load"), Tail::ErrorBox, [&] {
        m_rsSecurity = g_dbLocal->OpenRecordset(QStringLiteral("Security"));
        modAPI::FlatBorder(lvUser);
        for (QLineEdit* box : Text1) modAPI::FlatBorder(box);
        // Opens idle: boxes locked and empty, nothing to remove, change or save.
        SetBoxesEditable(false);
        for (int i = 1; i <= 3; ++i) cmdOpts[i]->setEnabled(false);
        m_lngEntryMode = g_lngEntryMode;
        InitializeScreen();
    });
}

void frmSecurity::InitializeScreen() {
    core::trap(QStringLiteral("frmSecurity.InitializeScreen"), Tail::Silent, [&] {
        {
            // Setting the box writes the key back, as a click does.
            const QSignalBlocker block(Check1);
            Check1->setChecked(g_blnSecurity);
        }
        Check1_Click();
        LoadAllUsers();
        m_blnChanged = false;
    });
}

void frmSecurity::LoadAllUsers() {
    core::trap(QStringLiteral("frmSecurity.LoadAllUsers"), Tail::Silent, [&] {
        db::Recordset rs = g_dbLocal->OpenRecordset(
            QStringLiteral("SELECT RefNum, UserName FROM Security ORDER BY UserName"));
        if (rs.Eof()) {
            // Nobody could log on: the log-on is switched off.
            Check1->setEnabled(false);
            lvUser->clear();
            modAPI::SaveRegSetting(QStringLiteral("Security"), QStringLiteral("0"));
            g_blnSecurity = false;
            const QSignalBlocker block(Check1);
            Check1->setChecked(false);
            return;
        }
        Check1->setEnabled(true);
        lvUser->clear();
        {
            ui::ListView::Batch batch(*lvUser);
            for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
                const QVariant refNum = rs.Value(QStringLiteral("RefNum"));
                if (refNum.isNull()) continue;
                lvUser->addRow(QStringLiteral("ID") + QString::number(refNum.toLongLong()),
                               rs.Value(QStringLiteral("UserName")).toString(), 0);
            }
        }
        rs.Close();
    });
}

void frmSecurity::Check1_Click() {
    core::trap(QStringLiteral("frmSecurity.Check1_Click"), Tail::Silent, [&] {
        g_blnSecurity = Check1->isChecked();
        modAPI::SaveRegSetting(QStringLiteral("Security"),
                               g_blnSecurity ? QStringLiteral("-1") : QStringLiteral("0"));
    });
}

void frmSecurity::lvUser_Click() {
    if (modGeneral::NothingSelected(lvUser->selectedRow())) return;
    core::trap(QStringLiteral("frmSecurity.lvUser_Click"), Tail::Unknown, [&] {
        const int row = lvUser->selectedRow();
        m_lngSelID = lvUser->key(row).mid(2).toInt();
        m_strSelName = lvUser->text(row);
        cmdOpts[1]->setEnabled(true);
        cmdOpts[2]->setEnabled(true);
    });
}

void frmSecurity::cmdOpts_Click(int index) {
    if (index == 4) {
        reject();  // Esc and the close box come the same way, through the save question
        return;
    }
    core::trap(QStringLiteral("frmSecurity.cmdOpts_Click"), Tail::ErrorBox, [&] {
        switch (index) {
            case 0:
                m_lngEntryMode = 0;
                SetBoxesEditable(true);
                Text1[0]->setFocus();
                m_blnChanged = false;
                break;
            case 1:
            case 2:
                if (m_lngSelID == 0) {
                    ui::MsgBox(QStringLiteral("You must select a User Name from the list first."),
                               ui::OKOnly | ui::Information, ui::ProgramTitle());
                } else if (index == 1) {
                    DeleteUserProfile();
                } else {
                    GetUserPassword();
                    VerifyUserPassword();
                }
                break;
            case 3:
                if (ValidateEntry()) PostEntry();
                break;
            default:
                break;
        }
    });
}

void frmSecurity::Text1_Change() {
    m_blnChanged = true;
    cmdOpts[3]->setEnabled(true);
}

bool frmSecurity::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        for (int i = 0; i < 3; ++i) {
            if (watched == Text1[i]) Text1_GotFocus(i);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmSecurity::Text1_GotFocus(int index) {
    modGeneral::highLightOnFocus(Text1[index]);
}

bool frmSecurity::ValidateEntry() {
    struct Check {
        bool failed;
        const char* message;
        const char* title;
        QLineEdit* focus;
    };
    const Check checks[] = {
        {Text1[0]->text().isEmpty(), "You Must Enter A User Name", "Validate : User Name", Text1[0]},
        {Text1[1]->text().isEmpty(), "You Must Enter A Password (15 chrs. max.)", "Validate : Password",
         Text1[1]},
        {Text1[2]->text().isEmpty(), "You Must Re-Enter The Password (15 chrs. max.)",
         "Validate : Re-Enter The Password", Text1[2]},
        {Text1[1]->text() != Text1[2]->text(), "The two password entries do not match. Please Re-Enter",
         "Verify Password Entries", Text1[1]},
    };
    for (const Check& check : checks) {
        if (!check.failed) continue;
        ui::MsgBox(QString::fromLatin1(check.message), ui::OKOnly | ui::Information,
                   QString::fromLatin1(check.title));
        check.focus->setFocus();
        return false;
    }
    return true;
}

void frmSecurity::PostEntry() {
    core::trap(QStringLiteral("frmSecurity.PostEntry"), Tail::Action,
               QStringLiteral("Posting the information"), [&] {
                   ui::SetBusy();
                   modGeneral::SetStatus(QStringLiteral("Posting User Security Entry"), true);
                   if (m_lngEntryMode != 0) {
                       m_rsSecurity.setIndex(QStringLiteral("PrimaryKey"));
                       m_rsSecurity.Seek(QStringLiteral("="), m_lngChangeID);
                       if (m_rsSecurity.NoMatch()) {
                           ui::SetArrow();
                           ui::MsgBox(QStringLiteral("Error Posting Record"), ui::OKOnly,
                                      QStringLiteral("Posting Error"));
                           modGeneral::SetStatus(QString());
                           return;
                       }
                       m_rsSecurity.Edit();
                   } else {
                       m_rsSecurity.AddNew();
                   }
                   if (!Text1[0]->text().isEmpty())
                       m_rsSecurity.Fields(QStringLiteral("UserName")) = Text1[0]->text();
                   if (!Text1[2]->text().isEmpty())
                       m_rsSecurity.Fields(QStringLiteral("Password")) =
                           modEncrypt::HashPassword(Text1[2]->text());
                   try {
                       m_rsSecurity.Update();
                   } catch (...) {
                       // A failed save leaves the boxes and the mode as they were, for another try.
                       m_rsSecurity.CancelUpdate();
                       throw;
                   }
                   ResetSecurityScreen();
                   modGeneral::SetStatus(QString());
               });
}

void frmSecurity::ResetSecurityScreen() {
    m_lngEntryMode = 0;
    m_lngChangeID = 0;
    ClearSelection();
    m_strStoredPwd.clear();
    for (QLineEdit* box : Text1) box->clear();
    SetBoxesEditable(false);
    m_blnChanged = false;
    for (int i = 1; i <= 3; ++i) cmdOpts[i]->setEnabled(false);
    LoadAllUsers();
    cmdOpts[0]->setFocus();
}

void frmSecurity::DeleteUserProfile() {
    core::trap(QStringLiteral("frmSecurity.DeleteUserProfile"), Tail::Action,
               QStringLiteral("Deleting the User Profile"), [&] {
                   const ui::Answer answer =
                       ui::MsgBox(QStringLiteral("Are you sure you want to remove [ ") + m_strSelName +
                                      QStringLiteral(" ]\nas a User Name from the system?"),
                                  ui::YesNo | ui::Question, QStringLiteral("Verify User Name Delete"));
                   if (answer == ui::Answer::Yes) {
                       g_dbLocal->Execute(QStringLiteral("DELETE * FROM Security WHERE RefNum = ") +
                                          QString::number(m_lngSelID));
                       ResetSecurityScreen();
                   } else {
                       ClearSelection();
                       cmdOpts[1]->setEnabled(false);
                       cmdOpts[2]->setEnabled(false);
                   }
               });
}

void frmSecurity::GetUserPassword() {
    m_strStoredPwd.clear();
    core::trap(QStringLiteral("frmSecurity.GetUserPassword"), Tail::Silent, [&] {
        db::Recordset rs =
            g_dbLocal->OpenRecordset(QStringLiteral("SELECT RefNum, Password FROM Security ") +
                                     QStringLiteral("WHERE RefNum = ") + QString::number(m_lngSelID));
        if (!rs.Eof()) {
            const QVariant stored = rs.Value(QStringLiteral("Password"));
            if (!stored.isNull()) m_strStoredPwd = stored.toString();
        }
        rs.Close();
    });
}

void frmSecurity::VerifyUserPassword() {
    core::trap(QStringLiteral("frmSecurity.VerifyUserPassword"), Tail::Action,
               QStringLiteral("Verifying the User Password"), [&] {
                   ui::InputRequest request;
                   request.prompt =
                       QStringLiteral("Enter your current password.\nRemember, it is Case Sensitive");
                   request.title = QStringLiteral("Verify User Password");
                   request.masked = true;
                   request.topLeft = frameGeometry().topLeft() +
                                     QPoint(ui::twips::ToPixelsX(1500), ui::twips::ToPixelsY(1500));
                   const QString answer = ui::InputBoxEx(request).value_or(QString());

                   if (answer.isEmpty() || !modEncrypt::VerifyPassword(answer, m_strStoredPwd)) {
                       ui::MsgBox(QStringLiteral("You are not authorized to change this password."),
                                  ui::OKOnly | ui::Information, QStringLiteral("Dis-allow Password Change"));
                       ClearSelection();
                       m_strStoredPwd.clear();
                       cmdOpts[1]->setEnabled(false);
                       cmdOpts[2]->setEnabled(false);
                       return;
                   }
                   // The stored password cannot be shown again: the new one is typed twice.
                   m_lngEntryMode = 2;
                   m_lngChangeID = m_lngSelID;
                   SetBoxesEditable(true);
                   Text1[0]->setText(m_strSelName);
                   Text1[1]->clear();
                   Text1[2]->clear();
                   Text1[0]->setFocus();
                   m_blnChanged = true;
                   cmdOpts[3]->setEnabled(true);
               });
}

void frmSecurity::SetBoxesEditable(bool editable) {
    for (QLineEdit* box : Text1) {
        box->setEnabled(editable);
        core::layout::PaintBox(box, editable);
    }
}

void frmSecurity::ClearSelection() {
    m_strSelName.clear();
    m_lngSelID = 0;
}

bool frmSecurity::Form_QueryUnload() {
    if (!m_blnChanged) return true;
    // "Yes" only keeps the dialog open, for the user to press the save button.
    const ui::Answer answer =
        ui::MsgBox(QStringLiteral("The User Information has changed.\nWould you like to save the changes?"),
                   ui::YesNo | ui::Question, QStringLiteral("Verify Changes"));
    return answer != ui::Answer::Yes;
}

void frmSecurity::done(int result) {
    if (!Form_QueryUnload()) return;
    QDialog::done(result);
}
