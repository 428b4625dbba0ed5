// The contact editor's address, phone and e-mail boxes: their loaders, the address format, the
// writers called when the user leaves a box, and the phone and e-mail deletes. The address text's
// parser stands alone in frmContEntryAddressText.cpp.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QStringList>

#include "contacts/frmContEntry.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/ui/MessageBox.h"

using core::Tail;

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Kind words in box order: addresses from box 5, phones from 9, e-mails from 14.
const QStringList kAddressKinds{QStringLiteral("Home"), QStringLiteral("Work"), QStringLiteral("Bill To"),
                                QStringLiteral("Ship To")};
const QStringList kPhoneKinds{QStringLiteral("Home"), QStringLiteral("Work"), QStringLiteral("Mobile"),
                              QStringLiteral("Other"), QStringLiteral("Fax")};
const QStringList kEmailKinds{QStringLiteral("Personal"), QStringLiteral("Work"), QStringLiteral("Other")};
constexpr int kFirstAddressBox = 5;
constexpr int kFirstPhoneBox = 9;
constexpr int kLastPhoneBox = 13;
constexpr int kFirstEmailBox = 14;
constexpr int kLastEmailBox = 16;

QString Part(const db::Recordset& rs, const char* column) {
    return rs.Value(QString::fromLatin1(column)).toString();  // Null reads as empty
}

// Street, City, State Zip and Country on three lines, as the rows hold line breaks.
QString FormatAddress(const db::Recordset& rs) {
    return Part(rs, "Street") + kCrLf + Part(rs, "City") + QStringLiteral(", ") + Part(rs, "State") +
           QStringLiteral(" ") + Part(rs, "Zip") + kCrLf + Part(rs, "Country");
}

// The column part of the queries: "SELECT fkContID, fkLookup, <columns> FROM <table> WHERE fkContID = n".
QString KindQuery(const QString& columns, const QString& table, int32_t contact) {
    return QStringLiteral("SELECT fkContID, fkLookup, ") + columns + QStringLiteral(" ") +
           QStringLiteral("FROM ") + table + QStringLiteral(" ") + QStringLiteral("WHERE fkContID = ") +
           QString::number(contact);
}

QString KindCondition(const QString& kind) {
    return QStringLiteral(" AND fkLookup = '") + kind + QStringLiteral("' ");
}

// Moves to the first row whose kind word is exactly `kind` (the column compares without case, the
// boxes with it). False when there is none.
bool FirstOfKind(db::Recordset& rs, const QString& kind) {
    if (rs.Eof()) return false;
    rs.MoveFirst();
    for (; !rs.Eof(); rs.MoveNext()) {
        if (rs.Value(QStringLiteral("fkLookup")).toString() == kind) return true;
    }
    return false;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Loaders

void frmContEntry::LoadAddressInfo() {
    if (!IsLoaded()) return;
    // Read-only exactly while a row of its kind is stored: the row is changed in the address dialog.
    LoadKindBoxes(QStringLiteral("frmContEntry.LoadAddressInfo"),
                  KindQuery(QStringLiteral("Street, City, State, Zip, Country"), QStringLiteral("CAddress"),
                            m_lngContID),
                  kAddressKinds, kFirstAddressBox, &FormatAddress, true);
}

void frmContEntry::LoadPhoneInfo() {
    if (!IsLoaded()) return;
    LoadKindBoxes(
        QStringLiteral("frmContEntry.LoadPhoneInfo"),
        KindQuery(QStringLiteral("PhoneNum"), QStringLiteral("CPhone"), m_lngContID), kPhoneKinds,
        kFirstPhoneBox, [](const db::Recordset& rs) { return Part(rs, "PhoneNum"); }, false);
}

void frmContEntry::LoadEmailInfo() {
    if (!IsLoaded()) return;
    LoadKindBoxes(
        QStringLiteral("frmContEntry.LoadEmailInfo"),
        KindQuery(QStringLiteral("Email"), QStringLiteral("CEMail"), m_lngContID), kEmailKinds,
        kFirstEmailBox, [](const db::Recordset& rs) { return Part(rs, "Email"); }, false);
}

void frmContEntry::LoadKindBoxes(const QString& procName, const QString& sql, const QStringList& kinds,
                                 int firstBox, const std::function<QString(const db::Recordset&)>& text,
                                 bool lockFilled) {
    CommitFocusedBox();
    // A box whose row has gone (deleted here or in the address dialog) must not keep its old text.
    for (int i = 0; i < kinds.size(); ++i) {
        if (lockFilled) SetText1Locked(firstBox + i, false);
        SetText1Text(firstBox + i, QString());
    }
    core::trap(procName, Tail::Silent, [&] {
        m_rsList = g_dbLocal->OpenRecordset(sql);
        if (m_rsList.RecordCount() > 0) {
            m_rsList.MoveFirst();
            for (; !m_rsList.Eof(); m_rsList.MoveNext()) {
                const QVariant kind = m_rsList.Value(QStringLiteral("fkLookup"));
                if (kind.isNull()) continue;
                const int at = static_cast<int>(kinds.indexOf(kind.toString()));
                if (at < 0) continue;
                const int box = firstBox + at;
                if (lockFilled) {
                    SetText1Locked(box, true);
                    // A stored address may be longer than a user may type into the box; it is shown
                    // whole, past the box's own limit on typing.
                    const QSignalBlocker quiet(m_text1[box].widget);
                    SetText1Text(box, text(m_rsList));
                } else {
                    SetText1Text(box, text(m_rsList));
                }
            }
        }
        m_rsList.Close();
    });
    m_rsList.Close();
}

// ---------------------------------------------------------------------------------------------
// Address writers

void frmContEntry::EditHomeAddress(AddressParts parts) {
    WriteAddress(QStringLiteral("frmContEntry.EditHomeAddress"),
                 QStringLiteral("An un-known error occurred while editing the Home address!"),
                 QStringLiteral("Home"), parts);
}

void frmContEntry::EditWorkAddress(AddressParts parts) {
    WriteAddress(QStringLiteral("frmContEntry.EditWorkAddress"),
                 QStringLiteral("An un-known error occurred while editing the Work address!"),
                 QStringLiteral("Work"), parts);
}

void frmContEntry::EditBillingAddress(AddressParts parts) {
    WriteAddress(QStringLiteral("frmContEntry.EditBillingAddress"),
                 QStringLiteral("An un-known error occurred while editing the Billing address!"),
                 QStringLiteral("Bill To"), parts);
}

void frmContEntry::EditShippingAddress(AddressParts parts) {
    WriteAddress(QStringLiteral("frmContEntry.EditShippingAddress"),
                 QStringLiteral("An un-known error occurred while editing the Shipping address!"),
                 QStringLiteral("Ship To"), parts);
}

void frmContEntry::WriteAddress(const QString& procName, const QString& message, const QString& kind,
                                const AddressParts& parts) {
    const std::pair<const char*, const QString*> columns[] = {{"Street", &parts.Street},
                                                              {"City", &parts.City},
                                                              {"State", &parts.State},
                                                              {"Zip", &parts.Zip},
                                                              {"Country", &parts.Country}};
    // Only the parts given are written: an emptied part keeps what is stored, an empty address
    // writes nothing at all.
    if (parts == AddressParts{}) return;
    const bool written =
        WriteKindRow(procName, message, m_rsAddress, QStringLiteral("CAddress"),
                     QStringLiteral("Street, City, State, Zip, Country"), kind, [&](db::Recordset& row) {
                         for (const auto& [column, value] : columns) {
                             if (!value->isEmpty()) row.Fields(QString::fromLatin1(column)) = *value;
                         }
                     });
    // The box now shows the stored row in its format, and is read-only.
    if (written) LoadAddressInfo();
}

// ---------------------------------------------------------------------------------------------
// Phone and e-mail writers

void frmContEntry::EditHomePhone() {
    WriteKindValue(QStringLiteral("frmContEntry.EditHomePhone"),
                   QStringLiteral("An un-known error occurred while editing the Home Phone!"), m_rsPhone,
                   QStringLiteral("CPhone"), QStringLiteral("PhoneNum"), QStringLiteral("Home"), 9);
}

void frmContEntry::EditWorkPhone() {
    WriteKindValue(QStringLiteral("frmContEntry.EditWorkPhone"),
                   QStringLiteral("An un-known error occurred while editing the Work Phone!"), m_rsPhone,
                   QStringLiteral("CPhone"), QStringLiteral("PhoneNum"), QStringLiteral("Work"), 10);
}

void frmContEntry::EditMobilePhone() {
    WriteKindValue(QStringLiteral("frmContEntry.EditMobilePhone"),
                   QStringLiteral("An un-known error occurred while editing the Mobile Phone!"), m_rsPhone,
                   QStringLiteral("CPhone"), QStringLiteral("PhoneNum"), QStringLiteral("Mobile"), 11);
}

void frmContEntry::EditOtherPhone() {
    WriteKindValue(QStringLiteral("frmContEntry.EditOtherPhone"),
                   QStringLiteral("An un-known error occurred while editing the Other Phone!"), m_rsPhone,
                   QStringLiteral("CPhone"), QStringLiteral("PhoneNum"), QStringLiteral("Other"), 12);
}

void frmContEntry::EditFaxPhone() {
    WriteKindValue(QStringLiteral("frmContEntry.EditFaxPhone"),
                   QStringLiteral("An un-known error occurred while editing the Fax Phone!"), m_rsPhone,
                   QStringLiteral("CPhone"), QStringLiteral("PhoneNum"), QStringLiteral("Fax"), 13);
}

void frmContEntry::EditPersonalEmail() {
    WriteKindValue(QStringLiteral("frmContEntry.EditPersonalEmail"),
                   QStringLiteral("An un-known error occurred while editing the Personal E-Mail!"), m_rsEMail,
                   QStringLiteral("CEMail"), QStringLiteral("Email"), QStringLiteral("Personal"), 14);
}

void frmContEntry::EditWorkEmail() {
    WriteKindValue(QStringLiteral("frmContEntry.EditWorkEmail"),
                   QStringLiteral("An un-known error occurred while editing the Work E-Mail!"), m_rsEMail,
                   QStringLiteral("CEMail"), QStringLiteral("Email"), QStringLiteral("Work"), 15);
}

void frmContEntry::EditOtherEmail() {
    WriteKindValue(QStringLiteral("frmContEntry.EditOtherEmail"),
                   QStringLiteral("An un-known error occurred while editing the Other E-Mail!"), m_rsEMail,
                   QStringLiteral("CEMail"), QStringLiteral("Email"), QStringLiteral("Other"), 16);
}

void frmContEntry::WriteKindValue(const QString& procName, const QString& message, db::Recordset& table,
                                  const QString& tableName, const QString& column, const QString& kind,
                                  int box) {
    // An emptied box writes nothing: only the delete icon removes a number or an address.
    const QString value = Text1Text(box);
    if (value.isEmpty()) return;
    WriteKindRow(procName, message, table, tableName, column, kind,
                 [&](db::Recordset& row) { row.Fields(column) = value; });
}

// The stored rows decide: the first of the kind is changed, else one is added to `table`, with
// `assign` setting the values. A box emptied and typed again therefore never makes a second row.
// False, with the message box queued, when the row could not be written or the contact is gone.
bool frmContEntry::WriteKindRow(const QString& procName, const QString& message, db::Recordset& table,
                                const QString& tableName, const QString& columns, const QString& kind,
                                const std::function<void(db::Recordset&)>& assign) {
    db::Recordset* target = nullptr;
    const bool written = core::trap(procName, Tail::Silent, [&] {
        // A row for a contact that is gone would pass with its number to the next new contact.
        RequireStoredRecord();
        m_rsList = g_dbLocal->OpenRecordset(KindQuery(columns, tableName, m_lngContID) + KindCondition(kind));
        if (FirstOfKind(m_rsList, kind)) {
            target = &m_rsList;
            m_rsList.Edit();
        } else {
            target = &table;
            table.AddNew();
            table.Fields(QStringLiteral("fkContID")) = m_lngContID;
            table.Fields(QStringLiteral("fkLookup")) = kind;
        }
        assign(*target);
        target->Update();
        m_rsList.Close();
    });
    if (!written) {
        if (target) target->CancelUpdate();
        m_rsList.Close();
        // Writers run while the focus moves; the box waits until the move is done.
        ui::MsgBoxQueued(message + QStringLiteral("\nSorry for the inconvenience"), ui::OKOnly,
                         ui::ProgramTitle());
    }
    return written;
}

// ---------------------------------------------------------------------------------------------
// Deletes, behind the icons beside the boxes (they have asked already)

void frmContEntry::DeletePhoneNums(const QString& kind) {
    DeleteKindRows(QStringLiteral("frmContEntry.DeletePhoneNums"), QStringLiteral("CPhone"), kind,
                   kFirstPhoneBox, kLastPhoneBox, &frmContEntry::LoadPhoneInfo);
}

void frmContEntry::DeleteEMails(const QString& kind) {
    DeleteKindRows(QStringLiteral("frmContEntry.DeleteEMails"), QStringLiteral("CEMail"), kind,
                   kFirstEmailBox, kLastEmailBox, &frmContEntry::LoadEmailInfo);
}

void frmContEntry::DeleteKindRows(const QString& procName, const QString& tableName, const QString& kind,
                                  int firstBox, int lastBox, void (frmContEntry::*reload)()) {
    // A box being typed in is saved first, its visit going on: the reload below would otherwise drop
    // the typing.
    CommitFocusedBox();
    core::trap(procName, Tail::Silent, [&] {
        g_dbLocal->Execute(QStringLiteral("DELETE * FROM ") + tableName + QStringLiteral(" ") +
                           QStringLiteral("WHERE fkContID = ") + QString::number(m_lngContID) +
                           KindCondition(kind));
        for (int i = firstBox; i <= lastBox; ++i) SetText1Text(i, QString());
        (this->*reload)();
    });
}
