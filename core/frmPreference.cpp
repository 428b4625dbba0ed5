#include "core/frmPreference.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

#include "core/DialogLayout.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/db/Database.h"
#include "platform/ui/Activation.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/DialogKeys.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ScreenRegistry.h"
#include "platform/ui/TextLimit.h"

using core::Tail;
using core::layout::Place;

namespace {

constexpr int kAddressBox = 1;
// Columns of Company in box order, with what each box takes.
const char* const kColumns[frmPreference::kBoxCount] = {"CompName", "Address", "Country", "Phone",
                                                        "Fax",      "Email",   "WebSite"};
constexpr int kLimits[frmPreference::kBoxCount] = {50, 255, 50, 25, 25, 50, 50};

}  // namespace

frmPreference::frmPreference(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmPreference"));
    setWindowTitle(QStringLiteral("Preferences"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);

    BuildControls();
    ui::ScreenRegistry::instance().add(this);
    Form_Load();
}

frmPreference::~frmPreference() {
    try {
        m_rsCompany.Close();
    } catch (...) {
    }
}

frmPreference* frmPreference::Open(QWidget* owner) {
    return ui::ShownActive(new frmPreference(owner));
}

void frmPreference::BuildControls() {
    tbsMain = new QTabWidget(this);
    tbsMain->setObjectName(QStringLiteral("tbsMain"));
    Place(tbsMain, 120, 120, 7320, 4680);

    // Tab 1: the list options.
    picLists = new QWidget;
    picLists->setObjectName(QStringLiteral("picLists"));
    Label1 = new QLabel(QStringLiteral("Set the list grid properties for the entire system"), picLists);
    Label1->setObjectName(QStringLiteral("Label1"));
    Place(Label1, 240, 240, 6600, 255);
    chkAltColor = new QCheckBox(
        QStringLiteral("Check this to have all populated lists show an alternating grid color"), picLists);
    chkAltColor->setObjectName(QStringLiteral("chkAltColor"));
    Place(chkAltColor, 360, 720, 6600, 300);
    Label2 = new QLabel(
        QStringLiteral(
            "Note : An advantage of not having the alternating gridline colors is that the screens "
            "will have a slightly faster loading speed. If you're experiencing a little lag in "
            "loading screens, try un-checking this item."),
        picLists);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setWordWrap(true);
    Place(Label2, 660, 1080, 6300, 900);
    chkGridLines = new QCheckBox(
        QStringLiteral("Check this so that all of the system grid lists will show standard grid lines"),
        picLists);
    chkGridLines->setObjectName(QStringLiteral("chkGridLines"));
    Place(chkGridLines, 360, 2160, 6600, 300);
    connect(chkAltColor, &QCheckBox::toggled, this, [this] { chkAltColor_Click(); });
    connect(chkGridLines, &QCheckBox::toggled, this, [this] { chkGridLines_Click(); });

    // Tab 2: the company details.
    picComp = new QWidget;
    picComp->setObjectName(QStringLiteral("picComp"));
    const QString labels[kBoxCount] = {QStringLiteral("Company:"), QStringLiteral("Address:"),
                                       QStringLiteral("Country:"), QStringLiteral("Phone:"),
                                       QStringLiteral("Fax:"),     QStringLiteral("E-Mail:"),
                                       QStringLiteral("Web Site:")};
    double top = 180;
    for (int i = 0; i < kBoxCount; ++i) {
        const double height = i == kAddressBox ? 960 : 315;
        Label3[i] = new QLabel(labels[i], picComp);
        Label3[i]->setObjectName(QStringLiteral("Label3(%1)").arg(i));
        Place(Label3[i], 180, top + 30, 1200, 255);
        if (i == kAddressBox) {
            auto* memo = new QPlainTextEdit(picComp);
            memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            memo->setTabChangesFocus(true);
            ui::LimitLength(memo, kLimits[kAddressBox]);
            connect(memo, &QPlainTextEdit::textChanged, this, [this] { Text1_Change(); });
            Text1[i] = memo;
        } else {
            auto* box = new QLineEdit(picComp);
            ui::LimitLength(box, kLimits[i]);
            connect(box, &QLineEdit::textChanged, this, [this] { Text1_Change(); });
            Text1[i] = box;
        }
        Text1[i]->setObjectName(QStringLiteral("Text1(%1)").arg(i));
        Text1[i]->installEventFilter(this);
        Place(Text1[i], 1440, top, 5520, height);
        top += height + 120;
    }

    tbsMain->addTab(picLists, QStringLiteral("List Properties"));
    tbsMain->addTab(picComp, QStringLiteral("Company Info"));
    connect(tbsMain, &QTabWidget::currentChanged, this, [this] { tbsMain_Click(); });

    const QString captions[2] = {QStringLiteral("&OK"), QStringLiteral("&Cancel")};
    for (int i = 0; i < 2; ++i) {
        cmdOpts[i] = new QPushButton(captions[i], this);
        cmdOpts[i]->setObjectName(QStringLiteral("cmdOpts(%1)").arg(i));
        Place(cmdOpts[i], 5160 + i * 1200, 4920, 1080, 375);
        connect(cmdOpts[i], &QPushButton::clicked, this, [this, i] { cmdOpts_Click(i); });
    }
    ui::SetDialogKeys(this, nullptr);  // Enter belongs to the address box's lines
    setFixedSize(ui::twips::ToPixelsX(7560), ui::twips::ToPixelsY(5430));
    const int tabsRight = tbsMain->geometry().right();
    core::layout::FitCaptions(this);
    // OK and Cancel stay under the right end of the tabs when those had to grow.
    for (QPushButton* button : cmdOpts)
        button->move(button->pos() + QPoint(tbsMain->geometry().right() - tabsRight, 0));
}

QString frmPreference::Text1Text(int index) const {
    if (auto* memo = qobject_cast<QPlainTextEdit*>(Text1[index])) return ui::PlainText(memo);
    return static_cast<QLineEdit*>(Text1[index])->text();
}

void frmPreference::SetText1Text(int index, const QString& text) {
    if (auto* memo = qobject_cast<QPlainTextEdit*>(Text1[index])) {
        memo->setPlainText(text);
    } else {
        ui::ShowText(static_cast<QLineEdit*>(Text1[index]), text);
    }
}

void frmPreference::Form_Load() {
    core::trap(QStringLiteral("frmPreference.Form_Load"), Tail::ErrorBox, [&] {
        m_rsCompany = g_dbLocal->OpenRecordset(QStringLiteral("Company"));
        for (QWidget* box : Text1) modAPI::FlatBorder(box);
        InitializeScreen();
    });
}

void frmPreference::InitializeScreen() {
    core::trap(QStringLiteral("frmPreference.InitializeScreen"), Tail::Silent, [&] {
        chkAltColor->setChecked(g_blnAltColors);
        chkGridLines->setChecked(g_blnGridLines);
        if (m_rsCompany.RecordCount() > 0) {
            m_rsCompany.MoveFirst();
            for (int i = 0; i < kBoxCount; ++i) {
                const QVariant value = m_rsCompany.Value(QString::fromLatin1(kColumns[i]));
                if (value.isNull()) continue;
                // Stored line breaks are CR LF; the box shows LF.
                SetText1Text(i, value.toString().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
            }
        }
    });
    m_blnChanged = false;
}

void frmPreference::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (ui::ActivatedFromProgram(this, event)) Form_Activate();
}

void frmPreference::Form_Activate() {
    {
        const QSignalBlocker block(tbsMain);
        tbsMain->setCurrentIndex(0);
    }
    tbsMain_Click();
}

void frmPreference::tbsMain_Click() {
    if (tbsMain->currentIndex() == 0) {
        chkAltColor->setFocus();
    } else {
        Text1[0]->setFocus();
    }
}

void frmPreference::chkAltColor_Click() {
    core::trap(QStringLiteral("frmPreference.chkAltColor_Click"), Tail::Silent, [&] {
        g_blnAltColors = chkAltColor->isChecked();
        modAPI::SaveRegSetting(QStringLiteral("AltColors"),
                               g_blnAltColors ? QStringLiteral("-1") : QStringLiteral("0"));
    });
}

void frmPreference::chkGridLines_Click() {
    core::trap(QStringLiteral("frmPreference.chkGridLines_Click"), Tail::Silent, [&] {
        g_blnGridLines = chkGridLines->isChecked();
        modAPI::SaveRegSetting(QStringLiteral("GridLines"),
                               g_blnGridLines ? QStringLiteral("-1") : QStringLiteral("0"));
    });
}

void frmPreference::Text1_Change() {
    m_blnChanged = true;
}

bool frmPreference::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        for (int i = 0; i < kBoxCount; ++i) {
            if (watched == Text1[i]) Text1_GotFocus(i);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmPreference::Text1_GotFocus(int index) {
    modGeneral::highLightOnFocus(Text1[index]);
}

void frmPreference::cmdOpts_Click(int index) {
    if (index == 1) {
        reject();
        return;
    }
    core::trap(QStringLiteral("frmPreference.cmdOpts_Click"), Tail::ErrorBox, [&] {
        if (ValidateEntry()) PostEntry();
    });
}

bool frmPreference::ValidateEntry() {
    if (!Text1Text(0).isEmpty()) return true;
    ui::MsgBox(QStringLiteral("You Must Enter A Company Name"), ui::OKOnly | ui::Information,
               QStringLiteral("Validate : Company Name"));
    // The box lies on the second tab: show it, so the focus can go there.
    {
        const QSignalBlocker block(tbsMain);
        tbsMain->setCurrentIndex(1);
    }
    Text1[0]->setFocus();
    return false;
}

void frmPreference::PostEntry() {
    core::trap(QStringLiteral("frmPreference.PostEntry"), Tail::Action,
               QStringLiteral("Posting the information"), [&] {
                   ui::SetBusy();
                   modGeneral::SetStatus(QStringLiteral("Posting Company Information Entry"), true);
                   m_rsCompany.MoveFirst();
                   m_rsCompany.Edit();
                   for (int i = 0; i < kBoxCount; ++i) {
                       const QString text = Text1Text(i);
                       // A box the user cleared clears its column.
                       m_rsCompany.Fields(QString::fromLatin1(kColumns[i])) =
                           text.isEmpty()
                               ? QVariant()
                               : QVariant(QString(text).replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
                   }
                   try {
                       m_rsCompany.Update();
                   } catch (...) {
                       m_rsCompany.CancelUpdate();
                       throw;
                   }
                   modGeneral::SetStatus(QString());
                   m_blnChanged = false;
                   accept();
               });
}

bool frmPreference::Form_QueryUnload() {
    if (!m_blnChanged) return true;
    const ui::Answer answer = ui::MsgBox(
        QStringLiteral("The Company information has changed.\nWould you like to save the changes?"),
        ui::YesNo | ui::Question, QStringLiteral("Save Changes"));
    if (answer != ui::Answer::Yes) return true;
    // The closing stops here; OK itself then saves and closes, or shows why it cannot.
    ui::MsgBox(QStringLiteral("Press the OK button to save the changes?"), ui::OKOnly);
    cmdOpts_Click(0);
    return false;
}

void frmPreference::done(int result) {
    if (!Form_QueryUnload()) return;
    QDialog::done(result);
}
