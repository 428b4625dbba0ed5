#include "core/frmPassLogon.h"

#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "core/DialogLayout.h"
#include "core/Trap.h"
#include "core/modEncrypt.h"
#include "core/modGeneral.h"
#include "platform/db/Database.h"
#include "platform/ui/DialogKeys.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ScreenRegistry.h"
#include "platform/ui/TextLimit.h"

using core::Tail;
using core::layout::Place;

namespace {

constexpr int kSeconds = 60;

}  // namespace

frmPassLogon::frmPassLogon(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmPassLogon"));
    setWindowTitle(QStringLiteral("Password Logon"));
    setModal(true);

    BuildControls();
    ui::ScreenRegistry::instance().add(this);
    Form_Load();
}

frmPassLogon::~frmPassLogon() = default;

void frmPassLogon::BuildControls() {
    Label1 = core::layout::Heading(this, QStringLiteral("Label1"), QStringLiteral(" Pomaret - User Login"));
    Place(Label1, 120, 120, 5400, 315);

    Label2[0] = new QLabel(
        QStringLiteral("[Note: You have 60 seconds to login to the system with the correct password, if "
                       "un-successful the program will terminate]"),
        this);
    Place(Label2[0], 240, 540, 5160, 660);

    const QString prompts[2] = {QStringLiteral("Enter User Name:"), QStringLiteral("Enter Password:")};
    for (int i = 0; i < 2; ++i) {
        Label3[i] = new QLabel(prompts[i], this);
        Label3[i]->setObjectName(QStringLiteral("Label3(%1)").arg(i));
        Place(Label3[i], 240, 1320 + i * 480, 1680, 315);

        Text1[i] = new QLineEdit(this);
        Text1[i]->setObjectName(QStringLiteral("Text1(%1)").arg(i));
        Place(Text1[i], 1980, 1320 + i * 480, 3420, 315);
        Text1[i]->installEventFilter(this);
    }
    ui::LimitLength(Text1[0], 50);
    ui::LimitLength(Text1[1], 15);
    Text1[1]->setEchoMode(QLineEdit::Password);
    Text1[1]->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));

    Label2[1] = new QLabel(QStringLiteral("[Note: This password Verification Is Case-Sensitive]"), this);
    Place(Label2[1], 1980, 2280, 3420, 255);
    for (int i = 0; i < 2; ++i) {
        Label2[i]->setObjectName(QStringLiteral("Label2(%1)").arg(i));
        Label2[i]->setWordWrap(true);
    }

    prbTimer = new QProgressBar(this);
    prbTimer->setObjectName(QStringLiteral("prbTimer"));
    prbTimer->setRange(0, kSeconds);
    prbTimer->setValue(0);
    prbTimer->setTextVisible(false);
    Place(prbTimer, 240, 2700, 5160, 255);

    lblTimeTicker = new QLabel(this);
    lblTimeTicker->setObjectName(QStringLiteral("lblTimeTicker"));
    Place(lblTimeTicker, 240, 3000, 3000, 255);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &frmPassLogon::Timer1_Timer);

    const QString captions[2] = {QStringLiteral("&OK"), QStringLiteral("&Cancel")};
    for (int i = 0; i < 2; ++i) {
        cmdOpts[i] = new QPushButton(captions[i], this);
        cmdOpts[i]->setObjectName(QStringLiteral("cmdOpts(%1)").arg(i));
        Place(cmdOpts[i], 3240 + i * 1140, 3360, 1035, 375);
        connect(cmdOpts[i], &QPushButton::clicked, this, [this, i] { cmdOpts_Click(i); });
    }

    setTabOrder(Text1[0], Text1[1]);
    setTabOrder(Text1[1], cmdOpts[0]);
    setTabOrder(cmdOpts[0], cmdOpts[1]);
    // No default: a name typed and confirmed with Enter must not try the log-on.
    ui::SetDialogKeys(this, nullptr);
    setFixedSize(ui::twips::ToPixelsX(5640), ui::twips::ToPixelsY(3900));
    core::layout::FitCaptions(this);
}

void frmPassLogon::Form_Load() {
    core::trap(QStringLiteral("frmPassLogon.Form_Load"), Tail::ErrorBox, [&] {
        modAPI::FlatBorder(Text1[0]);
        modAPI::FlatBorder(Text1[1]);
        Text1[0]->setFocus();
        Timer1->start();
        m_blnLoggedOn = false;
    });
}

bool frmPassLogon::eventFilter(QObject* watched, QEvent* event) {
    for (int i = 0; i < 2; ++i) {
        if (watched != Text1[i]) continue;
        if (event->type() == QEvent::FocusIn) {
            Text1_GotFocus(i);
        } else if (event->type() == QEvent::FocusOut) {
            // Only a move within the dialog counts as leaving the box, not another window coming up.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) Text1_LostFocus(i);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmPassLogon::Text1_GotFocus(int index) {
    modGeneral::highLightOnFocus(Text1[index]);
}

void frmPassLogon::Text1_LostFocus(int index) {
    core::trap(QStringLiteral("frmPassLogon.Text1_LostFocus"), Tail::Silent, [&] {
        if (index != 0 || Text1[0]->text().isEmpty()) return;
        GetUserPassword(Text1[0]->text(), true);
    });
}

void frmPassLogon::GetUserPassword(const QString& name, bool duringFocusChange) {
    // Whatever an earlier look-up found belongs to another name from here on.
    m_strUserName = name;
    m_strStoredPwd.clear();
    core::trap(QStringLiteral("frmPassLogon.GetUserPassword"), Tail::Silent, [&] {
        db::Recordset rs =
            g_dbLocal->OpenRecordset(QStringLiteral("SELECT UserName, Password FROM Security ") +
                                         QStringLiteral("WHERE UserName = ? "),
                                     {name});
        if (rs.Eof()) {
            rs.Close();
            const auto show = [] {
                ui::MsgBox(QStringLiteral("In-Correct User Name, Please Re-Enter."), ui::OKOnly,
                           QStringLiteral("User Name Not On File"));
            };
            if (duringFocusChange) {
                ui::afterEvent(this, show);
            } else {
                show();
            }
            return;
        }
        rs.MoveFirst();
        // A stored value that is not Base64 at all counts as no password: OK then does nothing.
        const QVariant stored = rs.Value(QStringLiteral("Password"));
        if (!stored.isNull() && !modEncrypt::Base64Decode(stored.toString()).isEmpty())
            m_strStoredPwd = stored.toString();
        rs.Close();
    });
}

void frmPassLogon::cmdOpts_Click(int index) {
    if (index == 1) {
        reject();
        return;
    }
    core::trap(QStringLiteral("frmPassLogon.cmdOpts_Click"), Tail::ErrorBox, [&] {
        // The password is checked against the name in the box now, looked up again when it is not
        // the one found last (a key press on OK does not leave the box).
        const QString name = Text1[0]->text();
        const QString password = Text1[1]->text();
        if (name.isEmpty() || password.isEmpty()) return;
        if (name != m_strUserName) GetUserPassword(name, false);
        if (m_strStoredPwd.isEmpty()) return;

        if (!modEncrypt::VerifyPassword(password, m_strStoredPwd)) {
            ui::MsgBox(QStringLiteral("In-Valid Password, Please Re-Enter!"), ui::OKOnly | ui::Critical,
                       QStringLiteral("Password Did Not Match"));
            Text1[1]->setFocus();
            return;
        }
        m_blnEmerShutdown = false;
        m_blnLoggedOn = true;
        accept();
    });
}

void frmPassLogon::Timer1_Timer() {
    ++m_intTicks;
    prbTimer->setValue(qMin(m_intTicks, kSeconds));
    lblTimeTicker->setText(QStringLiteral("Time remaining is ") + QString::number(kSeconds - m_intTicks) +
                           QStringLiteral(" seconds."));
    if (m_intTicks >= kSeconds) {
        m_blnLoggedOn = false;
        reject();
    }
}

void frmPassLogon::done(int result) {
    Form_QueryUnload();
    QDialog::done(result);
}

void frmPassLogon::Form_QueryUnload() {
    Timer1->stop();
    m_blnEmerShutdown = !m_blnLoggedOn;
}
