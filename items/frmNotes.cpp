#include "items/frmNotes.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLocale>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <iterator>

#include "core/Clock.h"
#include "core/DialogLayout.h"
#include "core/modGeneral.h"
#include "items/ItemPrint.h"
#include "platform/ui/Activation.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/PickList.h"
#include "platform/ui/TextLimit.h"
#include "platform/ui/Twips.h"

using core::Tail;
using core::layout::Place;

namespace {

const QString kNote = QStringLiteral("N");
const QString kCall = QStringLiteral("C");

const ItemDialogSetup& Setup() {
    static const ItemDialogSetup setup{
        "frmNotes",
        "New / Edit Note",
        "m_lngNoteID",
        "Attach",
        "Posting Notes/Calls Entry",
        "Are you sure you want to DELETE this Call/Notes item?",
        "Print this Note/Call on printer ",
        "Please finish or cancel the open Note/Call first.",
        {Tail::Unknown, {}, {}},
        {Tail::Action, QStringLiteral("Loading the information"), {}},
        {Tail::Action, QStringLiteral("Posting the information"), {}},
        {Tail::Action, QStringLiteral("Deleting the information"), {}},
        {{"Home", "frmHome", {"LoadNotes"}},
         {"CEnt", "frmContEntry", {"LoadContactHistory"}},
         {"PEnt", "frmProjEntry", {"LoadProjectHistory"}}},
        // A delete reloads these at once, and the unload then once more.
        {{"Home", "frmHome", {"LoadNotes"}}, {"CEnt", "frmContEntry", {"LoadContactHistory"}}},
    };
    return setup;
}

}  // namespace

frmNotes::frmNotes(const ui::OpenValues& values, QWidget* owner) : ItemDialog(Setup(), values, owner) {
    BuildControls();
    Form_Load();
}

frmNotes* frmNotes::Open(const ui::OpenValues& values, QWidget* owner) {
    return ui::ShownActive(new frmNotes(values, owner));
}

void frmNotes::BuildControls() {
    lblBanner[0] = NewBand("lblBanner(0)", QStringLiteral(" Note"));
    Place(lblBanner[0], 120, 120, 6960, 285);

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    SetUpTextBox(Text1);
    Place(Text1, 120, 510, 3600, 2715);

    const QString captions[3] = {QStringLiteral("Name:"), QStringLiteral("Project:"),
                                 QStringLiteral("This is a:")};
    for (int i = 0; i < 3; ++i) {
        Label1[i] = NewLabel(qPrintable(QStringLiteral("Label1(%1)").arg(i)), captions[i]);
        Place(Label1[i], 3840, 555 + i * 375, 780, 255);
    }
    for (int i = 0; i < 2; ++i) {
        Combo1[i] = NewList(i);
        Place(Combo1[i], 4680, 510 + i * 375, 2400, 315);
    }

    optNote = new QRadioButton(QStringLiteral("Note"), this);
    optNote->setObjectName(QStringLiteral("optNote"));
    optCall = new QRadioButton(QStringLiteral("Call"), this);
    optCall->setObjectName(QStringLiteral("optCall"));
    auto* kinds = new QButtonGroup(this);
    kinds->addButton(optNote);
    kinds->addButton(optCall);
    optNote->setChecked(true);
    Place(optNote, 4680, 1275, 1000, 285);
    Place(optCall, 5760, 1275, 1000, 285);
    connect(optNote, &QRadioButton::clicked, this, [this] { optNote_Click(); });
    connect(optCall, &QRadioButton::clicked, this, [this] { optCall_Click(); });

    lblBanner[1] = NewBand("lblBanner(1)", QStringLiteral(" Settings"));
    Place(lblBanner[1], 3840, 1740, 3240, 285);
    const QString checks[2] = {QStringLiteral("Favorite (*)"), QStringLiteral("Private")};
    for (int i = 0; i < 2; ++i) {
        Check1[i] = new QCheckBox(checks[i], this);
        Check1[i]->setObjectName(QStringLiteral("Check1(%1)").arg(i));
        Place(Check1[i], 3960, 2145 + i * 360, 1800, 285);
    }

    BuildRule(3360, 6960);
    BuildButtons(3510, 7080);
    cmdOpts[1]->setEnabled(false);

    QWidget* order[] = {Text1,     Combo1[0],  Combo1[1],  optNote,    optCall,    Check1[0],
                        Check1[1], cmdOpts[0], cmdOpts[1], cmdOpts[2], cmdOpts[3], cmdOpts[4]};
    for (size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);

    setFixedSize(ui::twips::ToPixelsX(7200), ui::twips::ToPixelsY(4020));
    core::layout::FitCaptions(this);
}

void frmNotes::Form_Load() {
    Trap("Form_Load", {Tail::ErrorBox, {}, {}}, [&] {
        m_strNType = kNote;
        for (QWidget* w : {static_cast<QWidget*>(Combo1[0]), static_cast<QWidget*>(Combo1[1]),
                           static_cast<QWidget*>(Text1)})
            modAPI::FlatBorder(w);
        LoadItem();
        if (m_lngEntryMode == 0 && !m_strTimeSaverText.isEmpty())
            Text1->setPlainText(ShownText(m_strTimeSaverText));
    });
}

void frmNotes::PopulateFields() {
    db::Recordset& row = StoredRow();
    const QVariant body = row.Value(QStringLiteral("TextBody"));
    if (!body.isNull()) Text1->setPlainText(ShownText(body.toString()));
    const QVariant contId = row.Value(QStringLiteral("fkContID"));
    if (!contId.isNull() && contId.toInt() > 0) ShowContact(contId.toInt());
    const QVariant projId = row.Value(QStringLiteral("fkProjID"));
    if (!projId.isNull() && projId.toInt() > 0) ShowProject(projId.toInt());
    const QString type = row.Value(QStringLiteral("NType")).toString();
    // Any other kind is left as it is: the note shown stays a note.
    if (type == kCall) {
        optCall->setChecked(true);
        m_strNType = kCall;
    } else if (type == kNote) {
        optNote->setChecked(true);
        m_strNType = kNote;
    }
    Check1[0]->setChecked(row.Value(QStringLiteral("Fav")).toBool());
    Check1[1]->setChecked(row.Value(QStringLiteral("Priv")).toBool());
    m_vDateStamp = row.Value(QStringLiteral("DateStamp")).toDateTime();
}

bool frmNotes::ValidateEntry() {
    if (ui::PlainText(Text1).size() < 1) {
        ui::MsgBox(QStringLiteral("You Must Enter Some Subject Text"), ui::OKOnly | ui::Information,
                   QStringLiteral("Validate : Subject Text"));
        Text1->setFocus();
        return false;
    }
    return true;
}

// DateStamp is never written: a new row takes the time of its creation, an edit keeps it.
void frmNotes::WriteColumns(db::Recordset& row) {
    const QString text = ui::PlainText(Text1);
    if (!text.isEmpty()) row.Fields(QStringLiteral("TextBody")) = StoredText(text);
    row.Fields(QStringLiteral("NType")) = m_strNType;
    if (m_lngContID > 0) row.Fields(QStringLiteral("fkContID")) = m_lngContID;
    if (m_lngProjID > 0) row.Fields(QStringLiteral("fkProjID")) = m_lngProjID;
    row.Fields(QStringLiteral("Fav")) = Check1[0]->isChecked();
    row.Fields(QStringLiteral("Priv")) = Check1[1]->isChecked();
}

void frmNotes::PrintItem() {
    PrintNote();
}

// The header shows when the entry was made: nothing for an entry not read from the database.
void frmNotes::PrintNote() {
    items::PrintItem({
        {core::print::TimeText(m_vDateStamp.time()), m_strNType == kCall ? QStringLiteral("Call") : QStringLiteral("Note"),
         core::print::DateText(m_vDateStamp.date())},
        {{QStringLiteral("Project"), Combo1[1]->text()}, {QStringLiteral("Contact"), Combo1[0]->text()}},
        ui::PlainText(Text1),
        13.04,
        QLocale::c().toString(core::Clock::Today(), QStringLiteral("M/d/yyyy")),
    });
}

void frmNotes::optNote_Click() {
    m_strNType = kNote;
}

void frmNotes::optCall_Click() {
    m_strNType = kCall;
}

void frmNotes::ClearScreen() {
    Text1->clear();
    ResetToNewItem();
    Check1[0]->setChecked(false);
    Check1[1]->setChecked(false);
    m_strNType = kNote;
    optNote->setChecked(true);
    Text1->setFocus();
}
