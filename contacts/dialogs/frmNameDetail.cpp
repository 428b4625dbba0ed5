#include "contacts/dialogs/frmNameDetail.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QVector>

#include "contacts/NameComposition.h"
#include "contacts/frmContEntry.h"
#include "core/DialogLayout.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/db/Database.h"
#include "platform/db/DbError.h"
#include "platform/ui/Activation.h"
#include "platform/ui/DialogKeys.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/PickList.h"
#include "platform/ui/ScreenRegistry.h"
#include "platform/ui/TextLimit.h"
#include "platform/ui/Twips.h"

using core::Tail;
using core::layout::Place;

namespace {

const QString kBlank = QStringLiteral(" ");
const QString kAddPrefix = QStringLiteral("<Add new name: prefix");
const QString kAddSuffix = QStringLiteral("<Add new name: suffix");

// Every prefix and suffix list starts with its add entry and the blank entry.
constexpr int kAddEntryIndex = 0;
constexpr int kBlankIndex = 1;

enum Box { kFirst = 0, kMiddle = 1, kLast = 2, kCompany = 3 };
enum List { kPrefixList = 0, kSuffixList = 1 };

// First, middle, last: as the parts of a person's name may be typed. The company box takes what
// CompName and ShownName hold.
constexpr int kLimits[4] = {30, 20, 50, 255};

// Selects `value` in a prefix or suffix list exactly as stored, letter case included, so that OK
// writes it back unchanged. A value that is not in the list (one typed in the new-contact dialog)
// joins it for this contact, after the blank entry.
void SelectStored(ui::ComboBox* list, const QString& value) {
    QVector<QPair<QString, qint64>> items;
    for (int i = 0; i < list->count(); ++i) {
        if (list->itemText(i) == value) {
            list->setListIndex(i);
            return;
        }
        items.append({list->itemText(i), list->itemData(i)});
    }
    const int at = qMin<int>(kBlankIndex + 1, items.size());
    items.insert(at, {value, 0});
    list->clear();
    list->addItems(items);
    list->setListIndex(at);
}

}  // namespace

frmNameDetail::frmNameDetail(QWidget* owner)
    : QDialog(owner), m_lngContID(g_lngCurContID), m_strCType(NameComposition::kPerson) {
    setObjectName(QStringLiteral("frmNameDetail"));
    setWindowTitle(QStringLiteral("Verify Name Details"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);

    BuildControls();
    ui::ScreenRegistry::instance().add(this);
    Form_Load();
}

frmNameDetail::~frmNameDetail() {
    Form_Unload();
}

frmNameDetail* frmNameDetail::Open(QWidget* owner) {
    return ui::ShownActive(new frmNameDetail(owner));
}

void frmNameDetail::BuildControls() {
    lblBanner = core::layout::Heading(this, QStringLiteral("lblBanner"),
                                      QStringLiteral(" Is this an individual or a company ?"));
    Place(lblBanner, 120, 120, 5280, 285);

    const QString options[2] = {QStringLiteral("An Individual"), QStringLiteral("A Company")};
    const QString examples[2] = {QStringLiteral("Example : Anna M. Berg"),
                                 QStringLiteral("Example : Berg Tool Works")};
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < 2; ++i) {
        optType[i] = new QRadioButton(options[i], this);
        optType[i]->setObjectName(QStringLiteral("optType(%1)").arg(i));
        Place(optType[i], 360, 510 + i * 360, 1800, 300);
        group->addButton(optType[i], i);
        connect(optType[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) optType_Click(i);
        });

        QLabel* example = new QLabel(examples[i], this);
        example->setObjectName(QStringLiteral("Label2(%1)").arg(i + 1));
        QFont small = example->font();
        small.setPointSizeF(small.pointSizeF() * 0.85);
        example->setFont(small);
        QPalette red = example->palette();
        red.setColor(QPalette::WindowText, QColor(128, 0, 0));
        example->setPalette(red);
        Place(example, 2280, 540 + i * 360, 3120, 255);
        Label2[i + 1] = example;
    }

    // The rows: Title, First, Middle, Last, Suffix, then the company's Name.
    const QString captions[6] = {QStringLiteral("Title:"),  QStringLiteral("First:"),
                                 QStringLiteral("Middle:"), QStringLiteral("Last:"),
                                 QStringLiteral("Suffix:"), QStringLiteral("Name:")};
    for (int i = 0; i < 6; ++i) {
        Label1[i] = new QLabel(captions[i], this);
        Label1[i]->setObjectName(QStringLiteral("Label1(%1)").arg(i));
        Place(Label1[i], 360, 1350 + i * 390 + (i == 5 ? 120 : 0), 840, 255);
    }
    for (int i = 0; i < 2; ++i) {
        Combo1[i] = new ui::ComboBox(ui::ComboBox::DropDownList, this);
        Combo1[i]->setObjectName(QStringLiteral("Combo1(%1)").arg(i));
        Place(Combo1[i], 1260, 1320 + i * 4 * 390, 1920, 315);
        connect(Combo1[i], &QComboBox::activated, this, [this, i] { Combo1_Click(i); });
    }
    for (int i = 0; i < 4; ++i) {
        Text1[i] = new QLineEdit(this);
        Text1[i]->setObjectName(QStringLiteral("Text1(%1)").arg(i));
        ui::LimitLength(Text1[i], kLimits[i]);
        const double top = i == kCompany ? 1320 + 5 * 390 + 120 : 1320 + (i + 1) * 390;
        Place(Text1[i], 1260, top, i == kCompany ? 4140 : 3000, 315);
        Text1[i]->installEventFilter(this);
    }

    const QString buttons[2] = {QStringLiteral("&OK"), QStringLiteral("&Cancel")};
    for (int i = 0; i < 2; ++i) {
        cmdOpts[i] = new QPushButton(buttons[i], this);
        cmdOpts[i]->setObjectName(QStringLiteral("cmdOpts(%1)").arg(i));
        Place(cmdOpts[i], 2940 + i * 1260, 4020, 1200, 375);
        connect(cmdOpts[i], &QPushButton::clicked, this, [this, i] { cmdOpts_Click(i); });
    }
    ui::SetDialogKeys(this, cmdOpts[0]);  // Esc reaches reject(), as "&Cancel" does
    // Once every box exists: choosing an option sets them.
    optType[0]->setChecked(true);

    QWidget* order[] = {optType[0],   Combo1[kPrefixList], Text1[kFirst], Text1[kMiddle],
                        Text1[kLast], Combo1[kSuffixList], optType[1],    Text1[kCompany],
                        cmdOpts[0],   cmdOpts[1]};
    for (size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);

    setFixedSize(ui::twips::ToPixelsX(5520), ui::twips::ToPixelsY(4560));
    core::layout::FitCaptions(this);
}

void frmNameDetail::Form_Load() {
    core::trap(QStringLiteral("frmNameDetail.Form_Load"), Tail::ErrorBox, [&] {
        for (QLineEdit* box : Text1) modAPI::FlatBorder(box);
        for (ui::ComboBox* list : Combo1) modAPI::FlatBorder(list);
        m_strCType = NameComposition::kPerson;
        m_rsContacts = g_dbLocal->OpenRecordset(QStringLiteral("Contacts"));
        InitializeScreen();
    });
}

void frmNameDetail::InitializeScreen() {
    // An add dialog may call in after this one was closed and before it is released.
    if (m_blnUnloaded) return;
    core::trap(QStringLiteral("frmNameDetail.InitializeScreen"), Tail::Silent, [&] {
        LoadPrefixCombo();
        Combo1[kPrefixList]->setListIndex(kBlankIndex);
        LoadSuffixCombo();
        Combo1[kSuffixList]->setListIndex(kBlankIndex);
        if (!(m_rsContacts.Bof() && m_rsContacts.Eof())) {
            m_rsContacts.MoveFirst();
            m_rsContacts.setIndex(QStringLiteral("PrimaryKey"));
            m_rsContacts.Seek(QStringLiteral("="), m_lngContID);
            PopulateFields();
        }
    });
}

void frmNameDetail::LoadPrefixCombo() {
    LoadLookupCombo(QStringLiteral("frmNameDetail.LoadPrefixCombo"), kPrefixList, kAddPrefix,
                    QStringLiteral("PRE"));
}

void frmNameDetail::LoadSuffixCombo() {
    LoadLookupCombo(QStringLiteral("frmNameDetail.LoadSuffixCombo"), kSuffixList, kAddSuffix,
                    QStringLiteral("SUFF"));
}

void frmNameDetail::LoadLookupCombo(const QString& procName, int index, const QString& addEntry,
                                    const QString& kind) {
    QVector<QPair<QString, qint64>> items{{addEntry, 0}, {kBlank, 0}};
    Combo1[index]->clear();
    core::trap(procName, Tail::Silent, [&] {
        for (const QString& item : modGeneral::LookupList(kind)) items.append({item, 0});
    });
    Combo1[index]->addItems(items);
}

void frmNameDetail::PopulateFields() {
    core::trap(QStringLiteral("frmNameDetail.PopulateFields"), Tail::Action,
               QStringLiteral("loading the information"), [&] {
                   if (m_rsContacts.NoMatch()) {
                       throw db::DbError(db::kErrNoCurrentRecord,
                                         QStringLiteral("The contact's record no longer exists."));
                   }
                   const QVariant prefix = m_rsContacts.Value(QStringLiteral("Prefix"));
                   if (!prefix.isNull()) SelectStored(Combo1[kPrefixList], prefix.toString());
                   const QVariant suffix = m_rsContacts.Value(QStringLiteral("Suffix"));
                   if (!suffix.isNull()) SelectStored(Combo1[kSuffixList], suffix.toString());

                   // Every box shows the stored part, empty for none: an add dialog calling in puts
                   // back what the user had typed meanwhile. A part longer than its box is shown whole.
                   const char* columns[4] = {"FName", "Middle", "LName", "CompName"};
                   for (int i = 0; i < 4; ++i)
                       ui::ShowText(Text1[i], m_rsContacts.Value(QString::fromLatin1(columns[i])).toString());

                   m_strCType = m_rsContacts.Value(QStringLiteral("CTYPE")).toString();
                   // Any kind other than a person's is edited as a company.
                   ChooseType(m_strCType == NameComposition::kPerson ? 0 : 1);
               });
}

// Choosing an option from code does what a click does, also when it was chosen already.
void frmNameDetail::ChooseType(int index) {
    if (optType[index]->isChecked()) {
        optType_Click(index);
    } else {
        optType[index]->setChecked(true);
    }
}

void frmNameDetail::optType_Click(int index) {
    m_strCType = index == 0 ? NameComposition::kPerson : NameComposition::kCompany;
    SetNameFields();
}

void frmNameDetail::SetNameFields() {
    const bool person = m_strCType == NameComposition::kPerson;
    // The texts of the locked boxes stay as they are.
    const QList<QWidget*> personBoxes{Text1[kFirst], Text1[kMiddle], Text1[kLast], Combo1[kPrefixList],
                                      Combo1[kSuffixList]};
    for (QWidget* w : personBoxes) {
        w->setEnabled(person);
        core::layout::PaintBox(w, person);
    }
    Text1[kCompany]->setEnabled(!person);
    core::layout::PaintBox(Text1[kCompany], !person);
    if (person) {
        Combo1[kPrefixList]->setFocus();
    } else {
        Text1[kCompany]->setFocus();
    }
}

void frmNameDetail::Combo1_Click(int index) {
    if (index == kPrefixList && Combo1[kPrefixList]->text() == kAddPrefix) {
        ui::ScreenRegistry::instance().open(QStringLiteral("frmSetPrefix"));
    } else if (index == kSuffixList && Combo1[kSuffixList]->text() == kAddSuffix) {
        ui::ScreenRegistry::instance().open(QStringLiteral("frmSetSuffix"));
    }
}

bool frmNameDetail::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        for (int i = 0; i < 4; ++i) {
            if (watched == Text1[i]) Text1_GotFocus(i);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmNameDetail::Text1_GotFocus(int index) {
    modGeneral::highLightOnFocus(Text1[index]);
}

void frmNameDetail::cmdOpts_Click(int index) {
    if (index == 1) {
        reject();  // writes and refreshes nothing; Esc and the close box come here too
        return;
    }
    core::trap(QStringLiteral("frmNameDetail.cmdOpts_Click"), Tail::Unknown, [&] {
        if (!ValidateEntry()) return;
        CombineNames();
        PostEntry();
    });
}

// Blanks count as text; the middle name, the prefix and the suffix are never required.
bool frmNameDetail::ValidateEntry() {
    struct Check {
        int box;
        const char* message;
        const char* title;
    };
    static const Check person[] = {
        {kFirst, "You must enter an individual first name.", "Validate : First Name Entry"},
        {kLast, "You must enter an individual last name.", "Validate : Last Name Entry"}};
    static const Check company[] = {
        {kCompany, "You must enter a company name.", "Validate : Company Name Entry"}};

    const bool isPerson = m_strCType == NameComposition::kPerson;
    const Check* begin = isPerson ? std::begin(person) : std::begin(company);
    const Check* end = isPerson ? std::end(person) : std::end(company);
    for (const Check* check = begin; check != end; ++check) {
        if (!Text1[check->box]->text().isEmpty()) continue;
        ui::MsgBox(QString::fromLatin1(check->message), ui::OKOnly | ui::Information,
                   QString::fromLatin1(check->title));
        Text1[check->box]->setFocus();
        return false;
    }
    return true;
}

QString frmNameDetail::StoredListText(int index) const {
    const int chosen = Combo1[index]->listIndex();
    if (chosen == kAddEntryIndex || chosen < 0) return kBlank;
    return Combo1[index]->itemText(chosen);
}

void frmNameDetail::CombineNames() {
    core::trap(QStringLiteral("frmNameDetail.CombineNames"), Tail::Silent, [&] {
        m_strPrefix = StoredListText(kPrefixList);
        m_strFirstName = Text1[kFirst]->text();
        m_strMiddleName = Text1[kMiddle]->text();
        m_strLastName = Text1[kLast]->text();
        m_strSuffix = StoredListText(kSuffixList);
        m_strCompName = Text1[kCompany]->text();

        if (m_strCType == NameComposition::kPerson) {
            // The blank entry is no prefix or suffix; nothing typed is trimmed.
            const auto part = [](const QString& entry) { return entry == kBlank ? QString() : entry; };
            m_strFullName = NameComposition::FullName(part(m_strPrefix), m_strFirstName, m_strMiddleName,
                                                      m_strLastName, part(m_strSuffix));
            m_strShownName = NameComposition::ShownName(m_strLastName, m_strFirstName, m_strMiddleName);
        } else {
            m_strShownName = m_strCompName;
        }
    });
}

void frmNameDetail::PostEntry() {
    const bool saved =
        core::trap(QStringLiteral("frmNameDetail.PostEntry"), Tail::Action,
                   QStringLiteral("Posting the information"), [&] {
                       // Found afresh: the contact may have been deleted while the dialog was open.
                       m_rsContacts.setIndex(QStringLiteral("PrimaryKey"));
                       m_rsContacts.Seek(QStringLiteral("="), m_lngContID);
                       if (m_rsContacts.NoMatch()) {
                           throw db::DbError(db::kErrNoCurrentRecord,
                                             QStringLiteral("The contact's record no longer exists."));
                       }
                       m_rsContacts.Edit();
                       if (m_strCType == NameComposition::kPerson) {
                           m_rsContacts.Fields(QStringLiteral("CTYPE")) = NameComposition::kPerson;
                           m_rsContacts.Fields(QStringLiteral("FullName")) = m_strFullName;
                           m_rsContacts.Fields(QStringLiteral("ShownName")) = m_strShownName;
                           m_rsContacts.Fields(QStringLiteral("Prefix")) = m_strPrefix;
                           m_rsContacts.Fields(QStringLiteral("Suffix")) = m_strSuffix;
                           m_rsContacts.Fields(QStringLiteral("FName")) = m_strFirstName;
                           m_rsContacts.Fields(QStringLiteral("LName")) = m_strLastName;
                           // An emptied box clears the stored middle name, as the composed names already
                           // have.
                           m_rsContacts.Fields(QStringLiteral("Middle")) =
                               m_strMiddleName.isEmpty() ? QVariant() : QVariant(m_strMiddleName);
                       } else {
                           // A company keeps its person columns and FullName.
                           m_rsContacts.Fields(QStringLiteral("CTYPE")) = NameComposition::kCompany;
                           m_rsContacts.Fields(QStringLiteral("ShownName")) = m_strShownName;
                           m_rsContacts.Fields(QStringLiteral("CompName")) = m_strCompName;
                       }
                       m_rsContacts.Update();
                   });
    if (!saved) m_rsContacts.CancelUpdate();
    // Saved or not, the dialog is done.
    hide();
    if (saved) RefreshEditor();
    done(saved ? QDialog::Accepted : QDialog::Rejected);
}

void frmNameDetail::RefreshEditor() {
    // Only the editor of this contact: one opened on another contact since is not touched.
    if (g_lngCurContID != m_lngContID) return;
    modGeneral::CallLoader(QStringLiteral("frmContEntry"), "LoadMainContactInfo");
    modGeneral::CallLoader(QStringLiteral("frmContEntry"), "LoadContactCombo");
    auto* editor = ui::ScreenRegistry::instance().find<frmContEntry>();
    if (editor && editor->IsLoaded() && editor->cboContList) editor->cboContList->setEditText(m_strShownName);
}

void frmNameDetail::done(int result) {
    Form_Unload();
    QDialog::done(result);
}

void frmNameDetail::Form_Unload() {
    if (m_blnUnloaded) return;
    m_blnUnloaded = true;
    try {
        m_rsContacts.Close();
    } catch (...) {
    }
}
