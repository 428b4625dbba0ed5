#include "items/frmReminder.h"

#include <QCloseEvent>
#include <QFont>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

#include "core/DialogLayout.h"
#include "core/MainWindowLink.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "items/Reminders.h"
#include "platform/db/Database.h"
#include "platform/shell/Shell.h"
#include "platform/ui/Twips.h"

using core::Tail;
using core::layout::Place;

namespace {

const QColor kFrameColour(0x4B, 0x6A, 0x89);
const QColor kDetailsBack(0xFF, 0xFD, 0xDB);
const QColor kValueColour(0x00, 0x00, 0x80);
const QColor kBodyColour(0xF7, 0xF6, 0xF1);

constexpr int kDescription = 5;
constexpr int kEndRow = 4;
constexpr double kBandHeight = 345;

const QString kToDo = QStringLiteral("TD");
const QString kAppt = QStringLiteral("AP");

void SetColours(QWidget* w, const QColor& text, const QColor& back = QColor()) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, text);
    if (back.isValid()) {
        p.setColor(QPalette::Window, back);
        w->setAutoFillBackground(true);
    }
    w->setPalette(p);
}

// A stored date at its time as the pop-up shows it, "1/6/2025 at 9:00 AM"; a part that is Null is
// left out, the " at " stays.
QString DateAtTime(const QVariant& date, const QVariant& time) {
    const QString day =
        date.isNull() ? QString() : QLocale::c().toString(date.toDate(), QStringLiteral("M/d/yyyy"));
    const QString minute = time.isNull() ? QString() : items::TimeText(time.toTime());
    return day + QStringLiteral(" at ") + minute;
}

}  // namespace

frmReminder::frmReminder(const ui::OpenValues& values)
    : QDialog(nullptr,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("frmReminder"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(true);
    // No caption text and no icon of its own.
    setWindowTitle(QStringLiteral(" "));
    QPixmap noIcon(16, 16);
    noIcon.fill(Qt::transparent);
    setWindowIcon(QIcon(noIcon));

    m_lngRemindID = values.value(QStringLiteral("m_lngRemindID")).toInt();
    m_lngToDoID = values.value(QStringLiteral("m_lngToDoID")).toInt();
    m_lngApptID = values.value(QStringLiteral("m_lngApptID")).toInt();
    m_strType = values.value(QStringLiteral("m_strType")).toString();

    BuildControls();
    Form_Load();
}

void frmReminder::BuildControls() {
    const auto label = [this](const QString& name, const QString& caption) {
        auto* l = new QLabel(caption, this);
        l->setObjectName(name);
        return l;
    };
    // Drawn first: the labels lie over it.
    Shape1 = new QFrame(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setStyleSheet(QStringLiteral("#Shape1 { border: 1px solid %1; }").arg(kFrameColour.name()));
    Place(Shape1, 75, 1125, 4055, 3990);

    lblBanner = label(QStringLiteral("lblBanner"), QStringLiteral("Pomaret - Contact Manager Reminder"));
    lblTitle = label(QStringLiteral("lblTitle"), QString());
    for (QLabel* heading : {lblBanner, lblTitle}) {
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
        heading->setAlignment(Qt::AlignCenter);
    }
    SetColours(lblBanner, Qt::white);
    Place(lblBanner, 150, 50, 3915, 240);
    Place(lblTitle, 75, 675, 4065, 240);

    Label1 = label(QStringLiteral("Label1"), QStringLiteral(" Details:"));
    SetColours(Label1, kFrameColour, kDetailsBack);
    Place(Label1, 225, 1020, 615, 240);

    const QString captions[6] = {QStringLiteral("Contact:"), QStringLiteral("Project:"),
                                 QStringLiteral("Subject:"), QStringLiteral("Due:"),
                                 QStringLiteral("To:"),      QStringLiteral("Description:")};
    for (int i = 0; i < 6; ++i) {
        const double top = 1275 + i * 300;
        lblCaption[i] = label(QStringLiteral("lblCaption(%1)").arg(i), captions[i]);
        Place(lblCaption[i], 150, top, 840, 240);
        lblText[i] = label(QStringLiteral("lblText(%1)").arg(i), QString());
        SetColours(lblText[i], kValueColour);
        lblText[i]->setTextFormat(Qt::PlainText);
        Place(lblText[i], 1050, top, 3015, i == kDescription ? 2265 : 240);
    }
    lblText[kDescription]->setWordWrap(true);
    lblText[kDescription]->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Place(Line1, 75, 5310, 4050, 30);

    shpClose = new QFrame(this);
    shpClose->setObjectName(QStringLiteral("shpClose"));
    shpClose->setStyleSheet(
        QStringLiteral("#shpClose { border: 1px solid %1; border-radius: 5px; background: white; }")
            .arg(kFrameColour.name()));
    Place(shpClose, 2625, 5400, 1440, 315);
    lblClose = label(QStringLiteral("lblClose"), QStringLiteral("Close"));
    lblClose->setAlignment(Qt::AlignCenter);
    lblClose->setCursor(Qt::PointingHandCursor);
    lblClose->installEventFilter(this);
    Place(lblClose, 2700, 5455, 1290, 240);

    setFixedSize(ui::twips::ToPixelsX(4200), ui::twips::ToPixelsY(5970));
    core::layout::FitCaptions(this);
    // Centred on the screen it opens on.
    if (const QScreen* on = screen()) move(on->availableGeometry().center() - rect().center());
}

// The pop-up's own background: a band in the frame's colour behind the banner over a light body.
void frmReminder::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(rect(), kBodyColour);
    painter.fillRect(QRect(0, 0, width(), ui::twips::ToPixelsY(kBandHeight)), kFrameColour);
    QDialog::paintEvent(event);
}

bool frmReminder::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblClose && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        lblClose_Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// Load

void frmReminder::Form_Load() {
    core::trap(QStringLiteral("frmReminder.Form_Load"), Tail::ErrorBox, [&] { InitializeScreen(); });
}

void frmReminder::InitializeScreen() {
    core::trap(QStringLiteral("frmReminder.InitializeScreen"), Tail::Silent, [&] {
        if (m_strType == kAppt) {
            LoadApptReminder();
        } else if (m_strType == kToDo) {
            lblCaption[kEndRow]->hide();
            LoadToDoReminder();
        }
        // Started, not waited for; with no sound to play there is nothing to report.
        shell::PlaySound(QStringLiteral(":/alert.wav"));
    });
}

// The item's texts from its row: name, project, subject, start (its date at its time) and
// description; a row that has gone leaves them empty.
void frmReminder::ShowItemTexts(db::Recordset& rs, const QString& dateColumn, const QString& timeColumn) {
    if (rs.Eof()) return;
    rs.MoveFirst();
    const QVariant contId = rs.Value(QStringLiteral("fkContID"));
    if (!contId.isNull()) lblText[0]->setText(modGeneral::ConvertContactName(contId.toInt()));
    const QVariant projId = rs.Value(QStringLiteral("fkProjID"));
    if (!projId.isNull()) lblText[1]->setText(modGeneral::ConvertProjectName(projId.toInt()));
    lblText[2]->setText(rs.Value(QStringLiteral("Subject")).toString());
    lblText[3]->setText(DateAtTime(rs.Value(dateColumn), rs.Value(timeColumn)));
    lblText[kDescription]->setText(rs.Value(QStringLiteral("TextBody"))
                                       .toString()
                                       .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void frmReminder::LoadToDoReminder() {
    db::Recordset rs = g_dbLocal->OpenRecordset(
        QStringLiteral("SELECT RefNum, Subject, fkContID, fkProjID, DueDate, DueTime, TextBody FROM ToDo ") +
            QStringLiteral("WHERE RefNum = ?"),
        {m_lngToDoID});
    ShowItemTexts(rs, QStringLiteral("DueDate"), QStringLiteral("DueTime"));
    lblTitle->setText(QStringLiteral("Reminder for scheduled To Do item"));
    rs.Close();
}

void frmReminder::LoadApptReminder() {
    db::Recordset rs = g_dbLocal->OpenRecordset(
        QStringLiteral(
            "SELECT RefNum, Subject, fkContID, fkProjID, DateFrom, DateTo, TimeFrom, TimeTo, TextBody ") +
            QStringLiteral("FROM Appts WHERE RefNum = ?"),
        {m_lngApptID});
    ShowItemTexts(rs, QStringLiteral("DateFrom"), QStringLiteral("TimeFrom"));
    if (!rs.Eof())
        lblText[kEndRow]->setText(
            DateAtTime(rs.Value(QStringLiteral("DateTo")), rs.Value(QStringLiteral("TimeTo"))));
    lblTitle->setText(QStringLiteral("Reminder for scheduled Appointment"));
    rs.Close();
}

// ---------------------------------------------------------------------------------------------
// Close

void frmReminder::lblClose_Click() {
    close();
}

// Whichever way it closes, Close, Esc or the window manager.
void frmReminder::done(int result) {
    Form_Unload();
    QDialog::done(result);
}

void frmReminder::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

// A step that fails is reported and the steps after it skipped; the pop-up closes all the same.
void frmReminder::Form_Unload() {
    if (m_blnUnloaded) return;
    m_blnUnloaded = true;
    core::trap(QStringLiteral("frmReminder.Form_Unload"), Tail::ErrorBox, [&] {
        MarkReminderDone();
        core::MainWindowLink* window = core::MainWindow();
        if (window) window->RemoveTrayIcon();
        setWindowFlag(Qt::WindowStaysOnTopHint, false);
        hide();
        // The window is back before the item's dialog opens over it.
        if (window) window->ShowFromTray();
        // The user closed a notice and asked for no dialog: the item's is the program's doing too.
        const ui::RaisedByProgram unasked;
        if (m_strType == kToDo) {
            modGeneral::OpenToDo(modGeneral::StoredItem(m_lngToDoID));
        } else if (m_strType == kAppt) {
            modGeneral::OpenAppt(modGeneral::StoredItem(m_lngApptID));
        }
    });
}

// A reminder row that has gone meanwhile changes nothing.
void frmReminder::MarkReminderDone() {
    g_dbLocal->Execute(QStringLiteral("UPDATE Remind SET Completed = True WHERE RefNum = ?"),
                       {m_lngRemindID});
}
