#include "contacts/dialogs/frmAddrDetail.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>

#include "core/DialogLayout.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/db/Database.h"
#include "platform/ui/Activation.h"
#include "platform/ui/DialogKeys.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/TextLimit.h"

using core::Tail;
using core::layout::Place;

namespace {

const char* const kColumns[] = {"Street", "City", "State", "Zip", "Country"};
const char* const kCaptions[] = {
    "Street:", "City:", "State/Province:", "ZIP/Postal Code:", "Country/Region:"};
constexpr int kLimits[] = {50, 35, 25, 10, 50};

// The street wraps over two lines but is one line of text: the editor shows it as the first line of
// its address box, where a line break would push the city into the street's place. Enter presses the
// dialog's default button, as in the other boxes, and a pasted line break becomes a blank.
class StreetBox : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            event->ignore();  // on to the dialog, which presses its default button
            return;
        }
        QPlainTextEdit::keyPressEvent(event);
    }

    void insertFromMimeData(const QMimeData* source) override {
        if (!source || !source->hasText()) return;
        static const QRegularExpression lineBreak(QStringLiteral("\r\n|[\r\n\u2028\u2029]"));
        QMimeData oneLine;
        oneLine.setText(source->text().replace(lineBreak, QStringLiteral(" ")));
        QPlainTextEdit::insertFromMimeData(&oneLine);
    }
};

}  // namespace

frmAddrDetail::frmAddrDetail(const ui::OpenValues& values, QWidget* owner)
    : QDialog(owner),
      m_strAddrType(values.value(QStringLiteral("m_strAddrType")).toString()),
      m_lngContID(g_lngCurContID) {
    setObjectName(QStringLiteral("frmAddrDetail"));
    setWindowTitle(QStringLiteral("Verify Address Details"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);

    BuildControls();
    ui::ScreenRegistry::instance().add(this);
    Form_Load();
}

frmAddrDetail::~frmAddrDetail() {
    m_rsAddress.Close();
}

frmAddrDetail* frmAddrDetail::Open(QWidget* owner, const ui::OpenValues& values) {
    return ui::ShownActive(new frmAddrDetail(values, owner));
}

void frmAddrDetail::BuildControls() {
    lblBanner = core::layout::Heading(this, QStringLiteral("lblBanner"),
                                      QStringLiteral(" Verify that the address is correct"));
    Place(lblBanner, 120, 120, 5160, 285);

    // The street two lines high, the other boxes one line each below it.
    const int tops[kBoxCount] = {540, 1320, 1710, 2100, 2490};
    for (int i = 0; i < kBoxCount; ++i) {
        Label1[i] = new QLabel(QString::fromLatin1(kCaptions[i]), this);
        Label1[i]->setObjectName(QStringLiteral("Label1(%1)").arg(i));
        Place(Label1[i], 240, tops[i] + 30, 1560, 255);

        if (i == 0) {
            auto* street = new StreetBox(this);
            street->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            street->setTabChangesFocus(true);
            ui::LimitLength(street, kLimits[i]);
            Text1[i] = street;
            Place(street, 1920, tops[i], 3240, 660);
        } else {
            auto* line = new QLineEdit(this);
            ui::LimitLength(line, kLimits[i]);
            Text1[i] = line;
            Place(line, 1920, tops[i], 3240, 315);
        }
        Text1[i]->setObjectName(QStringLiteral("Text1(%1)").arg(i));
        Text1[i]->installEventFilter(this);
    }

    const QString captions[3] = {QStringLiteral("&OK"), QStringLiteral("&Cancel"), QStringLiteral("&Delete")};
    const int lefts[3] = {2880, 4080, 240};
    for (int i = 0; i < 3; ++i) {
        cmdOpts[i] = new QPushButton(captions[i], this);
        cmdOpts[i]->setObjectName(QStringLiteral("cmdOpts(%1)").arg(i));
        Place(cmdOpts[i], lefts[i], 3000, 1080, 375);
        connect(cmdOpts[i], &QPushButton::clicked, this, [this, i] { cmdOpts_Click(i); });
    }
    ui::SetDialogKeys(this, cmdOpts[0]);  // Esc reaches reject(), which Cancel is

    for (int i = 1; i < kBoxCount; ++i) setTabOrder(Text1[i - 1], Text1[i]);
    setTabOrder(Text1[kBoxCount - 1], cmdOpts[0]);
    setTabOrder(cmdOpts[0], cmdOpts[1]);
    setTabOrder(cmdOpts[1], cmdOpts[2]);

    setFixedSize(ui::twips::ToPixelsX(5400), ui::twips::ToPixelsY(3540));
    core::layout::FitCaptions(this);
}

void frmAddrDetail::Form_Load() {
    core::trap(QStringLiteral("frmAddrDetail.Form_Load"), Tail::ErrorBox, [&] {
        for (QWidget* box : Text1) modAPI::FlatBorder(box);
        InitializeScreen();
    });
}

void frmAddrDetail::InitializeScreen() {
    LoadCurrentAddress();
}

void frmAddrDetail::LoadCurrentAddress() {
    core::trap(QStringLiteral("frmAddrDetail.LoadCurrentAddress"), Tail::Action,
               QStringLiteral("loading the Address Information"), [&] {
                   // Read afresh each time: nothing of an earlier reading stays in the boxes.
                   m_rsAddress.Close();
                   for (int i = 0; i < kBoxCount; ++i) ShowStored(i, QString());
                   m_rsAddress = g_dbLocal->OpenRecordset(
                       QStringLiteral("SELECT fkContID, fkLookup, Street, City, State, Zip, Country ") +
                           QStringLiteral("FROM CAddress WHERE fkContID = ") + QString::number(m_lngContID) +
                           QStringLiteral(" AND fkLookup = ?"),
                       {m_strAddrType});
                   if (m_rsAddress.Eof()) return;
                   m_rsAddress.MoveFirst();
                   for (int i = 0; i < kBoxCount; ++i)
                       ShowStored(i, m_rsAddress.Value(QString::fromLatin1(kColumns[i])));
               });
}

// A stored part is shown whole, however much longer than a user may type into its box; Null as empty.
void frmAddrDetail::ShowStored(int index, const QVariant& value) {
    const QString stored = value.toString();
    if (auto* line = qobject_cast<QLineEdit*>(Text1[index])) {
        ui::ShowText(line, stored);
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(Text1[index])) {
        memo->setPlainText(QString(stored).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    }
    m_strStored[index] = stored;
    m_strShown[index] = BoxText(index);
}

QString frmAddrDetail::BoxText(int index) const {
    if (const auto* line = qobject_cast<const QLineEdit*>(Text1[index])) return line->text();
    return ui::PlainText(qobject_cast<const QPlainTextEdit*>(Text1[index]));
}

bool frmAddrDetail::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        for (QWidget* box : Text1) {
            if (watched == box) modGeneral::highLightOnFocus(box);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmAddrDetail::cmdOpts_Click(int index) {
    switch (index) {
        case 0:
            if (ValidateEntry()) PostEntry();
            break;
        case 1:
            QDialog::reject();
            break;
        case 2:
            DeleteAddress();
            break;
        default:
            break;
    }
}

bool frmAddrDetail::ValidateEntry() {
    if (!BoxText(0).isEmpty()) return true;
    ui::MsgBox(QStringLiteral("You Must Enter A Street Address"), ui::OKOnly | ui::Information,
               QStringLiteral("Validate : Street Address"));
    Text1[0]->setFocus();
    return false;
}

void frmAddrDetail::PostEntry() {
    const bool posted = core::trap(QStringLiteral("frmAddrDetail.PostEntry"), Tail::Action,
                                   QStringLiteral("Posting this entry"), [&] {
                                       // The row read at load: one deleted meanwhile fails the edit or
                                       // the update, and nothing is written.
                                       m_rsAddress.Edit();
                                       for (int i = 0; i < kBoxCount; ++i) {
                                           const QString text = BoxText(i);
                                           m_rsAddress.Fields(QString::fromLatin1(kColumns[i])) =
                                               text == m_strShown[i] ? m_strStored[i] : text;
                                       }
                                       m_rsAddress.Update();
                                   });
    if (!posted) {
        m_rsAddress.CancelUpdate();
        return;
    }
    done(QDialog::Accepted);
    modGeneral::CallLoader(QStringLiteral("frmContEntry"), "LoadAddressInfo");
}

void frmAddrDetail::DeleteAddress() {
    core::trap(QStringLiteral("frmAddrDetail.DeleteAddress"), Tail::Action,
               QStringLiteral("deleting this address"), [&] {
                   const ui::Answer answer = ui::MsgBox(
                       QStringLiteral("Are you sure you want to DELETE this ") + QStringLiteral("\n") +
                           QStringLiteral("[ ") + m_strAddrType + QStringLiteral(" ]") +
                           QStringLiteral(" address listing for this contact?"),
                       ui::YesNo | ui::Question, QStringLiteral("Warning : Delete Contact Address"));
                   if (answer != ui::Answer::Yes) return;
                   g_dbLocal->Execute(QStringLiteral("DELETE * FROM CAddress WHERE fkContID = ") +
                                          QString::number(m_lngContID) + QStringLiteral(" AND fkLookup = ?"),
                                      {m_strAddrType});
                   modGeneral::CallLoader(QStringLiteral("frmContEntry"), "LoadAddressInfo");
                   done(QDialog::Accepted);
               });
}

// OK, Cancel, Esc, Delete and the close box all end here.
void frmAddrDetail::done(int result) {
    QDialog::done(result);
    Form_Unload();
}

void frmAddrDetail::Form_Unload() {
    if (m_blnUnloaded) return;
    m_blnUnloaded = true;
    m_rsAddress.Close();
}
