#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <functional>

#include "core/RecordEditor.h"
#include "platform/db/Recordset.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabBar;

namespace ui {
class ComboBox;
class ListBox;
class ListView;
}  // namespace ui

// "Contact Information": the MDI screen showing one contact, always g_lngCurContID. Its openers set
// that number, close every screen and open "frmContEntry" through the screen registry; showing
// another contact always closes this screen and opens a new one. Profile boxes are written when the
// user leaves them; there is no Save button.
//
// Split over several files: frmContEntry.cpp (load, close, loaders, switcher, icon buttons),
// frmContEntryLayout.cpp (the controls and the resize rules), frmContEntryProfile.cpp (the profile
// boxes: texts, tool tips and the column writers), frmContEntryAddresses.cpp (address, phone and
// e-mail boxes), frmContEntryAddressText.cpp (ParseStrAddr, alone so that it builds without the
// rest). What it shares with the project editor (activation, the tabs, focus and saving of the boxes,
// the switcher, the job-title list's mechanism, the to-do, appointment, user-value and history lists,
// the "New:" box, the Comments and History panes, the close path) is core::RecordEditor's.
class frmContEntry : public core::RecordEditor {
    Q_OBJECT

public:
    static constexpr int kBoxCount = 18;
    static constexpr int kIconCount = 16;

    explicit frmContEntry(QWidget* parent = nullptr);
    ~frmContEntry() override;

    // Opens the table handles and fills every section for g_lngCurContID.
    void Form_Load();

    // The public loaders, in their declared order. Each replaces its section with what the database
    // holds now; dialogs call them after they save (also by name, through the screen registry).
    Q_INVOKABLE void LoadMainContactInfo();
    Q_INVOKABLE void LoadContactCombo();
    Q_INVOKABLE void LoadRelatedProjects();
    Q_INVOKABLE void LoadAddressInfo();
    Q_INVOKABLE void LoadContactHistory();
    Q_INVOKABLE void LoadPhoneInfo();
    Q_INVOKABLE void LoadEmailInfo();
    Q_INVOKABLE void LoadRelContactInfo();
    Q_INVOKABLE void LoadJobTitles();
    // LoadToDoInfo, LoadApptsInfo and LoadUserDefInfo are core::RecordEditor's.

    // Controls other screens read or set by name: the profile boxes (the linked-contact dialogs read
    // the shown name, index 1; the job-title dialog the job title, index 4), the switcher (the name
    // dialog sets its text) and the job-title list (the job-title dialog's Cancel sets its text).
    QWidget* Text1(int index) const override;
    QString Text1Text(int index) const override;
    ui::ComboBox* cboContList = nullptr;
    ui::ListBox* lstJobTitle = nullptr;

    // Addresses, phones, e-mails: an address box's text split into the columns of its CAddress row.
    struct AddressParts {
        QString Street;
        QString City;
        QString State;
        QString Zip;
        QString Country;
        bool operator==(const AddressParts&) const = default;
    };
    // Line 1 the street, line 2 "City, State Zip", line 3 the country; a fresh set on every call.
    static AddressParts ParseStrAddr(const QString& text);

protected:
    void resizeEvent(QResizeEvent* event) override;
    int32_t RecordID() const override { return m_lngContID; }
    db::Recordset& RecordTable() override { return m_rsContacts; }

private:
    // Layout (frmContEntryLayout.cpp).
    void BuildBanner();
    void BuildProfile();
    void BuildInfoLists();
    void Form_Resize();

    // Load, activate, close and the screen's own handlers (frmContEntry.cpp).
    void Form_Unload() override;
    void cboContList_Click(int index);
    void picPop_Click(int index) override;
    void lstJobTitle_Click();

    // Profile boxes (frmContEntryProfile.cpp).
    void SetText1Text(int index, const QString& text) override;
    void SetText1Locked(int index, bool locked);
    bool Text1Locked(int index) const override;
    void WriteChangedBox(int index) override;
    void Text1_MouseMove(int index) override;
    void EditContactName();
    void EditCompName();
    void EditJobTitle();
    void EditSetting();

    // Sections filled by later work; kept here so that the load, the dispatch and the icon buttons
    // already call them in their places.

    // Addresses, phones, e-mails (frmContEntryAddresses.cpp). Each writer decides add or edit by the
    // rows stored for the contact and its kind, never by what the box showed before.
    void EditHomeAddress(AddressParts parts);
    void EditWorkAddress(AddressParts parts);
    void EditBillingAddress(AddressParts parts);
    void EditShippingAddress(AddressParts parts);
    void EditHomePhone();
    void EditWorkPhone();
    void EditMobilePhone();
    void EditOtherPhone();
    void EditFaxPhone();
    void EditPersonalEmail();
    void EditWorkEmail();
    void EditOtherEmail();
    void DeletePhoneNums(const QString& kind);
    void DeleteEMails(const QString& kind);
    void LoadKindBoxes(const QString& procName, const QString& sql, const QStringList& kinds, int firstBox,
                       const std::function<QString(const db::Recordset&)>& text, bool lockFilled);
    void WriteAddress(const QString& procName, const QString& message, const QString& kind,
                      const AddressParts& parts);
    void WriteKindValue(const QString& procName, const QString& message, db::Recordset& table,
                        const QString& tableName, const QString& column, const QString& kind, int box);
    bool WriteKindRow(const QString& procName, const QString& message, db::Recordset& table,
                      const QString& tableName, const QString& columns, const QString& kind,
                      const std::function<void(db::Recordset&)>& assign);
    void DeleteKindRows(const QString& procName, const QString& tableName, const QString& kind, int firstBox,
                        int lastBox, void (frmContEntry::*reload)());
    int32_t m_lngContID = 0;  // the contact shown, copied at load: openers change the global before closing

    // The related lists and the History tab's click (frmContEntryLists.cpp); the other lists, the
    // history and the comment are core::RecordEditor's.
    void ConnectContactLists();
    void GetProjectInfo(const QVariant& projId, const QVariant& pName, const QVariant& status);
    void cmdRelCon_Click();
    void cmdRelProj_Click();
    // row: the row under the mouse, -1 when the click hit none.
    void lvHistPane_Click(int row);
    void lvRelPrj_Click(int row);
    void lvRelCon_MouseUp(Qt::MouseButton button, int row);

    // A profile box: one line, or several for the addresses.
    struct ProfileBox {
        QLineEdit* line = nullptr;
        QPlainTextEdit* memo = nullptr;
        QWidget* widget = nullptr;
    };

    // Banner.
    QLabel* lblNameRecord = nullptr;

    // Info tab: the profile.
    QWidget* picProfile = nullptr;
    QLabel* lblProfileHdr = nullptr;
    std::array<ProfileBox, kBoxCount> m_text1{};
    std::array<QLabel*, kBoxCount> Label1{};
    std::array<QLabel*, kIconCount> picPop{};

    // Info tab: the side lists.
    QLabel* lblRelPrj = nullptr;
    QPushButton* cmdRelProj = nullptr;
    QLabel* lblRelPrjHdr = nullptr;
    ui::ListView* lvRelPrj = nullptr;
    QFrame* shpRelPrj = nullptr;
    QLabel* lblHist = nullptr;
    QFrame* shpHist = nullptr;
    QLabel* lblNewHist = nullptr;
    QLabel* lblToDo = nullptr;
    QLabel* lblToDoHdr = nullptr;
    QLabel* lblToDoHdrDue = nullptr;
    QFrame* shpToDo = nullptr;
    QLabel* lblAppts = nullptr;
    QFrame* shpAppts = nullptr;
    QLabel* lblRelCon = nullptr;
    QPushButton* cmdRelCon = nullptr;
    std::array<QLabel*, 4> lblRelConHdr{};
    ui::ListView* lvRelCon = nullptr;
    QFrame* shpRelCon = nullptr;
    QLabel* lblUserDef = nullptr;
    std::array<QLabel*, 2> lblUserDefHdr{};
    QFrame* shpUserDef = nullptr;

    // Table handles, open from the load to the close.
    db::Recordset m_rsContacts;
    db::Recordset m_rsAddress;
    db::Recordset m_rsPhone;
    db::Recordset m_rsEMail;

    QString m_strCType;
};
