#include "contacts/dialogs/LookupItemDialog.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "core/DialogLayout.h"
#include "core/MainWindowLink.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/db/Database.h"
#include "platform/ui/DialogKeys.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/PickList.h"
#include "platform/ui/ScreenRegistry.h"
#include "platform/ui/TextLimit.h"

using core::Tail;
using core::layout::Place;

// One member of the family. The forms and controls it names are found by name when needed.
struct LookupMember {
    const char* formName;
    const char* caption;
    const char* label1;
    const char* label2;
    int limit;         // the most that can be typed
    const char* kind;  // Lookup.ItemID
    const char* emptyMessage;
    const char* emptyTitle;
    const char* ownerForm;  // nullptr: the main window
    // After adding: the public loader reloadLoader of the form reloadForm.
    const char* reloadForm;
    const char* reloadLoader;
    // Cancel: the control cancelControl of the form cancelForm (nullptr: no action) takes the text of
    // that form's control cancelTextFrom, or the text cancelText when that is nullptr.
    const char* cancelForm;
    const char* cancelControl;
    const char* cancelTextFrom;
    const char* cancelText;
};

namespace {

constexpr LookupMember kMembers[] = {
    {"frmAddGroup", "Add Group Listing", "Group:", "Example : Summer Mailing", 100, "GRP",
     "You Must Enter An Group Description", "Validate : Group Description", "frmSelectGrp", "frmSelectGrp",
     "InitializeScreen", nullptr, nullptr, nullptr, nullptr},
    {"frmSetPrefix", "Add New Prefix", "Prefix:", "Example : M. or Mme.", 20, "PRE",
     "You Must Enter A Contact Prefix Description", "Validate : Contact Prefix Description", nullptr,
     "frmNameDetail", "InitializeScreen", "frmNameDetail", "Combo1(0)", nullptr, " "},
    {"frmSetSuffix", "Add New Suffix", "Suffix:", "Example : Jr. or Sr.", 20, "SUFF",
     "You Must Enter A Contact Suffix Description", "Validate : Contact Suffix Description", nullptr,
     "frmNameDetail", "InitializeScreen", "frmNameDetail", "Combo1(1)", nullptr, " "},
    {"frmSetJobTitle", "Add New Job Title", "Job Title:", "Example : Co-Owner", 100, "TITLE",
     "You Must Enter A Contact Job Title", "Validate : Contact Job Title Description", nullptr,
     "frmContEntry", "LoadJobTitles", "frmContEntry", "lstJobTitle", "Text1(4)", nullptr},
    {"frmSetProjStatus", "Add New Project Status", "Status:", "Example : Is Working", 100, "PSTAT",
     "You Must Enter A Project Status Item", "Validate : Project Status Item Description", nullptr,
     "frmProjEntry", "LoadStatusItems", "frmProjEntry", "lstStatus", "Text1(1)", nullptr},
    {"frmSetProjType", "Add New Project Type", "Project Type:", "Example : Outside Project", 100, "PTYPE",
     "You Must Enter A Project Type Item", "Validate : Project Type Item Description", nullptr,
     "frmProjEntry", "LoadPrjTypeItems", "frmProjEntry", "lstPrjType", "Text1(2)", nullptr},
};

QString Text(const char* text) {
    return QString::fromUtf8(text);
}

// The open form of that name, newest first; a dialog that has been closed and only waits to be
// released does not count.
QWidget* OpenForm(const char* name) {
    const QList<QWidget*> forms = ui::ScreenRegistry::instance().openForms();
    for (auto it = forms.crbegin(); it != forms.crend(); ++it) {
        QWidget* form = *it;
        if (form->objectName() != QLatin1String(name)) continue;
        if (qobject_cast<QDialog*>(form) && form->isHidden()) continue;
        return form;
    }
    return nullptr;
}

QString ControlText(const QWidget* control) {
    if (auto* line = qobject_cast<const QLineEdit*>(control)) return line->text();
    if (auto* combo = qobject_cast<const QComboBox*>(control)) return combo->currentText();
    if (auto* memo = qobject_cast<const QPlainTextEdit*>(control)) return ui::PlainText(memo);
    return control->property("text").toString();
}

// As a pick control takes a text: a list, or a combo box without an edit box, selects the entry of
// exactly that text (none when there is no such entry); anything else shows the text.
void SetControlText(QWidget* control, const QString& text) {
    if (auto* list = qobject_cast<ui::ListBox*>(control)) {
        int at = -1;
        for (int i = 0; i < list->count() && at < 0; ++i) {
            if (list->itemText(i) == text) at = i;
        }
        list->setListIndex(at);
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        if (combo->isEditable()) {
            combo->setEditText(text);
        } else {
            combo->setCurrentIndex(combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
        }
    } else if (auto* line = qobject_cast<QLineEdit*>(control)) {
        ui::ShowText(line, text);
    }
}

}  // namespace

LookupItemDialog::LookupItemDialog(const LookupMember& member, QWidget* owner)
    : QDialog(owner), m_member(member) {
    setObjectName(Text(m_member.formName));
    setWindowTitle(Text(m_member.caption));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);

    BuildControls();
    ui::ScreenRegistry::instance().add(this);
    Form_Load();
}

LookupItemDialog::~LookupItemDialog() {
    try {
        m_rsLookup.Close();
    } catch (...) {
    }
}

QStringList LookupItemDialog::FormNames() {
    QStringList names;
    for (const LookupMember& member : kMembers) names << Text(member.formName);
    return names;
}

LookupItemDialog* LookupItemDialog::Open(const QString& formName) {
    for (const LookupMember& member : kMembers) {
        if (formName != QLatin1String(member.formName)) continue;
        QWidget* owner = member.ownerForm ? OpenForm(member.ownerForm) : nullptr;
        if (!owner && core::MainWindow()) owner = core::MainWindow()->Widget();
        auto* dialog = new LookupItemDialog(member, owner);
        dialog->show();
        return dialog;
    }
    return nullptr;
}

void LookupItemDialog::BuildControls() {
    Label1 = new QLabel(Text(m_member.label1), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Place(Label1, 120, 120, 4560, 255);

    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    ui::LimitLength(Text1, m_member.limit);
    Place(Text1, 120, 420, 4560, 315);
    Text1->installEventFilter(this);

    Label2 = new QLabel(Text(m_member.label2), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Place(Label2, 120, 795, 4560, 255);

    const QString captions[2] = {QStringLiteral("&OK"), QStringLiteral("&Cancel")};
    for (int i = 0; i < 2; ++i) {
        cmdOpts[i] = new QPushButton(captions[i], this);
        cmdOpts[i]->setObjectName(QStringLiteral("cmdOpts(%1)").arg(i));
        Place(cmdOpts[i], 2400 + i * 1200, 1215, 1080, 375);
        connect(cmdOpts[i], &QPushButton::clicked, this, [this, i] { cmdOpts_Click(i); });
    }
    ui::SetDialogKeys(this, cmdOpts[0]);  // Esc reaches reject(), as Cancel does

    setFixedSize(ui::twips::ToPixelsX(4800), ui::twips::ToPixelsY(1770));
    core::layout::FitCaptions(this);
}

QString LookupItemDialog::ProcName(const char* procedure) const {
    return Text(m_member.formName) + QLatin1Char('.') + QLatin1String(procedure);
}

void LookupItemDialog::Form_Load() {
    core::trap(ProcName("Form_Load"), Tail::ErrorBox, [&] {
        modAPI::FlatBorder(Text1);
        m_rsLookup = g_dbLocal->OpenRecordset(QStringLiteral("Lookup"));
    });
}

bool LookupItemDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text1 && event->type() == QEvent::FocusIn) modGeneral::highLightOnFocus(Text1);
    return QDialog::eventFilter(watched, event);
}

void LookupItemDialog::cmdOpts_Click(int index) {
    if (index == 1) {
        CancelAction();
        done(QDialog::Rejected);
        return;
    }
    if (ValidateEntry()) PostEntry();
}

// Blanks count: only an empty text is refused, and a group holding a comma, since a contact's
// groups are stored joined with commas and such a name would come back as two.
bool LookupItemDialog::ValidateEntry() {
    QString refusal;
    if (Text1->text().isEmpty()) {
        refusal = Text(m_member.emptyMessage);
    } else if (qstrcmp(m_member.kind, "GRP") == 0 && Text1->text().contains(QLatin1Char(','))) {
        refusal = QStringLiteral("A Group Description cannot contain a comma.");
    }
    if (refusal.isEmpty()) return true;
    ui::MsgBox(refusal, ui::OKOnly | ui::Information, Text(m_member.emptyTitle));
    Text1->setFocus();
    return false;
}

void LookupItemDialog::PostEntry() {
    const bool posted = core::trap(ProcName("PostEntry"), Tail::ErrorBox, [&] {
        m_rsLookup.AddNew();
        m_rsLookup.Fields(QStringLiteral("ItemID")) = Text(m_member.kind);
        m_rsLookup.Fields(QStringLiteral("Description")) = Text1->text();
        m_rsLookup.Update();
    });
    if (!posted) {
        // The dialog stays as it was, ready for another OK.
        if (m_rsLookup.EditInProgress()) m_rsLookup.CancelUpdate();
        return;
    }
    hide();
    modGeneral::CallLoader(Text(m_member.reloadForm), m_member.reloadLoader);
    done(QDialog::Accepted);
}

void LookupItemDialog::CancelAction() {
    if (!m_member.cancelForm) return;
    QWidget* form = OpenForm(m_member.cancelForm);
    if (!form) return;
    auto* control = form->findChild<QWidget*>(Text(m_member.cancelControl));
    if (!control) return;
    QString text = Text(m_member.cancelText);
    if (m_member.cancelTextFrom) {
        const auto* source = form->findChild<QWidget*>(Text(m_member.cancelTextFrom));
        if (!source) return;
        text = ControlText(source);
    }
    SetControlText(control, text);
}

void LookupItemDialog::Form_Unload() {
    if (m_blnUnloaded) return;
    m_blnUnloaded = true;
    m_rsLookup.Close();
}

void LookupItemDialog::done(int result) {
    Form_Unload();
    QDialog::done(result);
}

void LookupItemDialog::reject() {
    cmdOpts_Click(1);
}

// The close box is not Cancel: the opener's pick control stays as it is.
void LookupItemDialog::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}
