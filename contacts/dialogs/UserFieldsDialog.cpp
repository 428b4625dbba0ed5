#include "contacts/dialogs/UserFieldsDialog.h"

#include <QAction>
#include <QEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolBar>

#include "core/DialogLayout.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/db/Database.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/DialogKeys.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/PickList.h"
#include "platform/ui/ScreenRegistry.h"
#include "platform/ui/TextLimit.h"

using core::Tail;
using core::layout::Place;

namespace {

// Field names and values alike.
constexpr int kTextLength = 100;

const QString kSaveKey = QStringLiteral("Save");

QString Name(const char* text) {
    return QString::fromLatin1(text);
}

}  // namespace

UserFieldsDialog::UserFieldsDialog(const UserFieldsSetup& setup, QWidget* owner)
    : QDialog(owner), m_setup(setup) {
    setObjectName(Name(m_setup.formName));
    setWindowTitle(Name(m_setup.caption));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);

    BuildControls();
    ui::ScreenRegistry::instance().add(this);
    Form_Load();
}

UserFieldsDialog::~UserFieldsDialog() {
    try {
        m_rsFields.Close();
        m_rsValues.Close();
    } catch (...) {
    }
}

void UserFieldsDialog::BuildControls() {
    lblBanner = core::layout::Heading(this, QStringLiteral("lblBanner"), Name(m_setup.banner));
    lblBanner->setContentsMargins(ui::twips::ToPixelsX(60), 0, 0, 0);
    Place(lblBanner, 120, 120, 5160, 285);

    lstUserFld = new ui::ListBox(this);
    lstUserFld->setObjectName(QStringLiteral("lstUserFld"));
    Place(lstUserFld, 120, 525, 3720, 2415);
    // A new entry chooses its field at once; the entry already selected chooses it again when it is
    // clicked while no field is chosen (after a save or a removal the list keeps its selection).
    connect(lstUserFld, &ui::ListBox::listIndexChanged, this, [this](int index) {
        if (index >= 0) lstUserFld_Click();
    });
    connect(lstUserFld, &QAbstractItemView::clicked, this, [this] {
        if (m_lngUserFld == 0) lstUserFld_Click();
    });

    Label1 = new QLabel(QStringLiteral("Value:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Place(Label1, 120, 3135, 600, 255);

    txtValue = new QLineEdit(this);
    txtValue->setObjectName(QStringLiteral("txtValue"));
    ui::LimitLength(txtValue, kTextLength);
    Place(txtValue, 735, 3090, 3105, 315);
    txtValue->installEventFilter(this);
    connect(txtValue, &QLineEdit::textChanged, this, [this] { txtValue_Change(); });

    tbrSave = new QToolBar(this);
    tbrSave->setObjectName(QStringLiteral("tbrSave"));
    m_saveButton = new QAction(
        QIcon::fromTheme(QStringLiteral("document-save"), style()->standardIcon(QStyle::SP_DialogSaveButton)),
        QString(), tbrSave);
    m_saveButton->setObjectName(kSaveKey);
    m_saveButton->setData(kSaveKey);
    m_saveButton->setToolTip(QStringLiteral("Save The Entered Value"));
    tbrSave->addAction(m_saveButton);
    Place(tbrSave, 3960, 3030, 600, 435);
    connect(tbrSave, &QToolBar::actionTriggered, this,
            [this](QAction* button) { tbrSave_ButtonClick(button->data().toString()); });

    const QString captions[3] = {QStringLiteral("&New ..."), QStringLiteral("&Remove"),
                                 QStringLiteral("&Close")};
    const double tops[3] = {525, 1005, 2565};
    for (int i = 0; i < 3; ++i) {
        cmdOpts[i] = new QPushButton(captions[i], this);
        cmdOpts[i]->setObjectName(QStringLiteral("cmdOpts(%1)").arg(i));
        Place(cmdOpts[i], 3960, tops[i], 1320, 375);
        connect(cmdOpts[i], &QPushButton::clicked, this, [this, i] { cmdOpts_Click(i); });
    }

    setTabOrder(lstUserFld, txtValue);
    setTabOrder(txtValue, cmdOpts[0]);
    setTabOrder(cmdOpts[0], cmdOpts[1]);
    setTabOrder(cmdOpts[1], cmdOpts[2]);
    ui::SetDialogKeys(this, nullptr);  // Enter belongs to the value box: no button is the default

    setFixedSize(ui::twips::ToPixelsX(5400), ui::twips::ToPixelsY(3660));
    core::layout::FitCaptions(this);
}

QString UserFieldsDialog::ProcName(const char* procedure) const {
    return Name(m_setup.formName) + QLatin1Char('.') + QLatin1String(procedure);
}

void UserFieldsDialog::Form_Load() {
    m_lngRecordID = *m_setup.currentRecord;
    txtValue->setEnabled(false);
    core::layout::PaintBox(txtValue, false);
    cmdOpts[1]->setEnabled(false);
    m_saveButton->setEnabled(false);
    core::trap(ProcName("Form_Load"), Tail::ErrorBox, [&] {
        modAPI::FlatBorder(lstUserFld);
        modAPI::FlatBorder(txtValue);
        InitializeScreen();
        m_rsFields = g_dbLocal->OpenRecordset(Name(m_setup.fieldTable));
        m_rsValues = g_dbLocal->OpenRecordset(Name(m_setup.valueTable));
    });
}

void UserFieldsDialog::InitializeScreen() {
    core::trap(ProcName("InitializeScreen"), Tail::Silent, [&] { LoadUserFields(); });
}

void UserFieldsDialog::LoadUserFields() {
    QVector<QPair<QString, qint64>> fields;
    const bool read = core::trap(ProcName("LoadUserFields"), Tail::Silent, [&] {
        g_dbLocal->ReadNumberedTexts(QStringLiteral("SELECT RefNum, Description FROM ") +
                                         Name(m_setup.fieldTable) + QStringLiteral(" ORDER BY Description"),
                                     {}, QStringLiteral("RefNum"), QStringLiteral("Description"), fields);
    });
    // The refilled list shows no selection; a field chosen before stays chosen all the same. After a
    // failed read the list keeps what it showed.
    if (!read) return;
    lstUserFld->clear();
    lstUserFld->addItems(fields);
}

void UserFieldsDialog::cmdOpts_Click(int index) {
    if (index == 2) {
        reject();
        return;
    }
    core::trap(ProcName("cmdOpts_Click"), Tail::Unknown, [&] {
        if (index == 0) {
            AddNewUserField();
        } else if (index == 1) {
            DeleteUserField();
        }
    });
}

void UserFieldsDialog::AddNewUserField() {
    core::trap(ProcName("AddNewUserField"), Tail::Action, QStringLiteral("Adding the new User Field"), [&] {
        // Cancel gives the empty text too; the name is kept exactly as typed, blanks included.
        const QString name = ui::InputBox(QStringLiteral("Enter the new User Field to be used."),
                                          QStringLiteral("Enter New User Field"));
        if (name.size() > kTextLength) {
            ui::MsgBox(QStringLiteral("The field entered is too long. (100 characters max)"), ui::OKOnly,
                       ui::ProgramTitle());
            return;
        }
        if (name.isEmpty()) return;
        m_rsFields.AddNew();
        m_rsFields.Fields(QStringLiteral("Description")) = name;
        m_rsFields.Update();
        LoadUserFields();
    });
}

void UserFieldsDialog::lstUserFld_Click() {
    const int index = lstUserFld->listIndex();
    if (index < 0) return;
    m_lngUserFld = static_cast<int32_t>(lstUserFld->itemData(index));
    m_strUserFld = lstUserFld->itemText(index);
    if (m_lngUserFld <= 0) return;
    txtValue->setEnabled(true);
    core::layout::PaintBox(txtValue, true);
    cmdOpts[1]->setEnabled(true);
    txtValue->setFocus();
    LoadSavedValue();
}

void UserFieldsDialog::LoadSavedValue() {
    // Until the read says otherwise, a save adds a row.
    m_blnEditValue = false;
    m_lngValueRef = 0;
    core::trap(ProcName("LoadSavedValue"), Tail::Silent, [&] {
        const QString owner = Name(m_setup.ownerColumn);
        db::Recordset rs = g_dbLocal->OpenRecordset(
            QStringLiteral("SELECT RefNum, ") + owner + QStringLiteral(", fkUserFld, Value FROM ") +
                Name(m_setup.valueTable) + QStringLiteral(" WHERE ") + owner +
                QStringLiteral(" = ? AND fkUserFld = ? ORDER BY RefNum"),
            {m_lngRecordID, m_strUserFld});
        txtValue->clear();
        if (!rs.Eof()) {
            rs.MoveFirst();
            m_blnEditValue = true;
            m_lngValueRef = rs.Value(QStringLiteral("RefNum")).toInt();
            const QVariant value = rs.Value(QStringLiteral("Value"));
            if (!value.isNull()) ui::ShowText(txtValue, value.toString());
        }
        rs.Close();
    });
}

void UserFieldsDialog::txtValue_Change() {
    m_saveButton->setEnabled(true);
}

bool UserFieldsDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtValue) {
        if (event->type() == QEvent::FocusIn) {
            modGeneral::highLightOnFocus(txtValue);
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            // Enter saves and goes on to the box as well: it is not taken from it.
            if (key == Qt::Key_Return || key == Qt::Key_Enter) txtValue_KeyPress();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void UserFieldsDialog::txtValue_KeyPress() {
    core::trap(ProcName("txtValue_KeyPress"), Tail::Action, QStringLiteral("trying to Post this record"),
               [&] {
                   if (ValidateEntry()) PostEntry();
               });
}

void UserFieldsDialog::tbrSave_ButtonClick(const QString& key) {
    core::trap(ProcName("tbrSave_ButtonClick"), Tail::Action, QStringLiteral("Saving the record"), [&] {
        if (key == kSaveKey && ValidateEntry()) PostEntry();
    });
}

// A value of blanks only is a value.
bool UserFieldsDialog::ValidateEntry() {
    if (!txtValue->text().isEmpty()) return true;
    ui::MsgBox(QStringLiteral("You Must Enter A User Field Value"), ui::OKOnly | ui::Information,
               QStringLiteral("Validate : User Field Value"));
    txtValue->setFocus();
    return false;
}

void UserFieldsDialog::PostEntry() {
    bool posted = false;
    core::trap(ProcName("PostEntry"), Tail::Action, QStringLiteral("Posting the record"), [&] {
        if (m_lngUserFld <= 0) return;
        ui::SetBusy();
        modGeneral::SetStatus(QStringLiteral("Posting User Field Value Entry"), true);
        // Never a value for a record that has been deleted meanwhile.
        modGeneral::RequireRecord(Name(m_setup.ownerTable), Name(m_setup.ownerKey), m_lngRecordID);
        if (m_blnEditValue) {
            m_rsValues.setIndex(QStringLiteral("PrimaryKey"));
            m_rsValues.Seek(QStringLiteral("="), m_lngValueRef);
            if (m_rsValues.NoMatch()) {
                // The row was deleted from the editor's list meanwhile.
                modGeneral::SetStatus(QString());
                ui::MsgBox(QStringLiteral("Error Posting Record"), ui::OKOnly,
                           QStringLiteral("Posting Error"));
                return;
            }
            m_rsValues.Edit();
        } else {
            m_rsValues.AddNew();
        }
        m_rsValues.Fields(Name(m_setup.ownerColumn)) = m_lngRecordID;
        m_rsValues.Fields(QStringLiteral("fkUserFld")) = m_strUserFld;
        if (!txtValue->text().isEmpty()) m_rsValues.Fields(QStringLiteral("Value")) = txtValue->text();
        m_rsValues.Update();
        modGeneral::SetStatus(QString());
        posted = true;
    });
    if (!posted) return;

    // The next value starts from choosing a field again.
    txtValue->clear();
    ResetChoice();
    m_lngValueRef = 0;
}

void UserFieldsDialog::DeleteUserField() {
    const bool done = core::trap(ProcName("DeleteUserField"), Tail::Silent, [&] {
        // One row is enough to refuse: any record's value, not only this one's.
        db::Recordset rs =
            g_dbLocal->OpenRecordset(QStringLiteral("SELECT TOP 1 fkUserFld FROM ") +
                                         Name(m_setup.valueTable) + QStringLiteral(" WHERE fkUserFld = ?"),
                                     {m_strUserFld});
        const bool inUse = !rs.Eof();
        rs.Close();
        if (inUse) {
            ui::MsgBox(Name(m_setup.inUseMessage), ui::OKOnly | ui::Information,
                       QStringLiteral("Cannot Remove Used Field"));
            ResetChoice();
            return;
        }
        const QString question = QStringLiteral("Are you sure you want to DELETE User Field\n[ ") +
                                 m_strUserFld + QStringLiteral(" ] from the User Field List?");
        if (ui::MsgBox(question, ui::YesNo | ui::Critical, QStringLiteral("Warning : Delete User Field")) !=
            ui::Answer::Yes)
            return;
        g_dbLocal->Execute(
            QStringLiteral("DELETE * FROM ") + Name(m_setup.fieldTable) + QStringLiteral(" WHERE RefNum = ?"),
            {m_lngUserFld});
        LoadUserFields();
        ResetChoice();
    });
    // Each dialog words this message its own way, so it is not the trap's.
    if (!done) {
        ui::MsgBox(Name(m_setup.deleteFailure) + QStringLiteral("\nSorry for the inconvenience"), ui::OKOnly,
                   ui::ProgramTitle());
    }
}

void UserFieldsDialog::ResetChoice() {
    txtValue->setEnabled(false);
    core::layout::PaintBox(txtValue, false);
    m_lngUserFld = 0;
    m_strUserFld.clear();
    cmdOpts[1]->setEnabled(false);
    m_saveButton->setEnabled(false);
}

void UserFieldsDialog::done(int result) {
    QDialog::done(result);
    if (m_blnUnloaded) return;
    m_blnUnloaded = true;
    Form_Unload();
}

// A value not yet saved is dropped without a question.
void UserFieldsDialog::Form_Unload() {
    core::trap(ProcName("Form_Unload"), Tail::Silent, [&] {
        m_rsFields.Close();
        m_rsValues.Close();
        // An editor closed meanwhile has nothing to reload.
        modGeneral::CallLoader(Name(m_setup.editorForm), m_setup.editorLoader);
    });
}
