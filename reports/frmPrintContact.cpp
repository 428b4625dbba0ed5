#include "reports/frmPrintContact.h"

#include <QSet>
#include <QStringList>

#include "core/RecordEditor.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/db/Database.h"
#include "platform/ui/Activation.h"
#include "platform/ui/Printer.h"

using core::Tail;

namespace {

const reports::ProfileReportDialog::Kind kKind{QStringLiteral("frmPrintContact"),
                                               QStringLiteral("Print Contact Report"),
                                               QStringLiteral(" Create and Print Contact Report For -"),
                                               QStringLiteral("Contact Profile Report"),
                                               QStringLiteral("frmContEntry"),
                                               1065,
                                               3045,
                                               2550,
                                               990,
                                               true};

constexpr int kGridRows = 13;
const char* const kLabels[kGridRows] = {
    "Name",         "Shown As",    "Setting",   "Company",         "Job Title",   "Home Phone",  "Work Phone",
    "Mobile Phone", "Other Phone", "Fax Phone", "Personal E-Mail", "Work E-Mail", "Other E-Mail"};
// The editor's boxes the grid rows show, top to bottom.
constexpr int kBoxes[kGridRows] = {0, 1, 17, 3, 4, 9, 10, 11, 12, 13, 14, 15, 16};

constexpr double kGridRight = 10.6;  // the grid leaves the right half to the address blocks

// The address blocks beside the grid, three grid rows each.
const char* const kAddressKinds[4] = {"Home", "Work", "Bill To", "Ship To"};
constexpr float kBlockTops[4] = {3.15f, 4.59f, 6.03f, 7.47f};
constexpr float kBlockHeight = 1.44f;
constexpr double kAddressX = 13.47;

constexpr float kFieldsTop = 9.79f;  // the user-defined fields' bar

const reports::ProfileReportDialog::Headings kContactHeadings{{1.4, QStringLiteral("Name")},
                                                              {6.47, QStringLiteral("Memo")},
                                                              {11.54, QStringLiteral("Phone")},
                                                              {16.61, QStringLiteral("E-Mail")}};
const reports::ProfileReportDialog::Headings kProjectHeadings{{1.4, QStringLiteral("Project Name")},
                                                              {10.3, QStringLiteral("Project Status")}};

}  // namespace

frmPrintContact::frmPrintContact(QWidget* owner) : ProfileReportDialog(kKind, owner) {
    Form_Load();
}

frmPrintContact* frmPrintContact::Open(QWidget* owner) {
    return ui::ShownActive(new frmPrintContact(owner));
}

void frmPrintContact::PrintContactReport() {
    const core::RecordEditor& editor = Editor();
    m_lngContID = editor.RecordNumber();
    QStringList values;
    for (const int box : kBoxes) values << editor.Text1Text(box);

    PrintRun([&] {
        auto& printer = ui::Printer();
        // Twelve rules between thirteen rows; the box's bottom edge closes the last one.
        ProfileGrid(QStringLiteral(" Name Profile"), kLabels, values, kGridRight, false);

        for (int b = 0; b < 4; ++b) {
            printer.Box(11.1, kBlockTops[b], kRight, kBlockTops[b] + kBlockHeight);
            printer.SetCurrentX(11.2);
            printer.SetCurrentY(kBlockTops[b] + kTextDrop);
            printer.Print(QStringLiteral("Address: ") + QLatin1String(kAddressKinds[b]));
        }
        printer.Line(13.45, 3.15, 13.45, 8.91);
        SetProgress(60);
        PrintAddressBlocks();

        UserFieldsSection(QStringLiteral(" User Defined Contact Fields"), kFieldsTop);
        PrintUserFieldValues();

        if (Checked(1)) {
            RelatedSection(QStringLiteral(" All Related Contacts"), kContactHeadings);
            PopulateRelContacts();
        }
        SetProgress(80);
        if (Checked(2)) {
            RelatedSection(QStringLiteral(" All Related Projects"), kProjectHeadings);
            PopulateRelProjects();
        }
    });
}

// A second row of one kind prints over the first; a kind other than the four prints nothing.
void frmPrintContact::PrintAddressBlocks() {
    auto& printer = ui::Printer();
    m_rsPrint = g_dbLocal->OpenRecordset(
        QStringLiteral("SELECT fkContID, fkLookup, Street, City, State, Zip, Country FROM CAddress "
                       "WHERE fkContID = ? ORDER BY rowid"),
        {m_lngContID});
    if (m_rsPrint.RecordCount() > 0) {
        m_rsPrint.MoveFirst();
        for (; !m_rsPrint.Eof(); m_rsPrint.MoveNext()) {
            const QString kind = m_rsPrint.Value(1).toString();
            int block = -1;
            for (int b = 0; b < 4; ++b) {
                if (kind == QLatin1String(kAddressKinds[b])) block = b;
            }
            if (block < 0) continue;
            const QString lines[3] = {m_rsPrint.Value(2).toString(),
                                      m_rsPrint.Value(3).toString() + QStringLiteral(", ") +
                                          m_rsPrint.Value(4).toString() + QLatin1Char(' ') +
                                          m_rsPrint.Value(5).toString(),
                                      m_rsPrint.Value(6).toString()};
            float y = kBlockTops[block] + kTextDrop;
            for (const QString& line : lines) {
                printer.SetCurrentY(y);
                PrintCell(line, kAddressX, kRight, false);
                y += kGridPitch;
            }
        }
    }
    m_rsPrint.Close();
}

void frmPrintContact::PrintUserFieldValues() {
    UserFieldValues(QStringLiteral("CUFldValues"), QStringLiteral("fkContID"), m_lngContID, kFieldsTop);
}

// The phone and e-mail come with the links, in one query. A link without its contact's number or
// name keeps its row empty.
void frmPrintContact::PopulateRelContacts() {
    core::trap(QStringLiteral("frmPrintContact.PopulateRelContacts"), Tail::Silent, [&] {
        auto& printer = ui::Printer();
        m_sngCurY += 0.1f;
        m_rsPrint = g_dbLocal->OpenRecordset(
            QStringLiteral("SELECT MasterContID, LinkMemo, SubContID, SubContShowName, ") +
                modGeneral::HomePhoneColumn(QStringLiteral("RelateCont.SubContID")) +
                QStringLiteral(" AS HomePhone, ") +
                modGeneral::PersonalEMailColumn(QStringLiteral("RelateCont.SubContID")) +
                QStringLiteral(" AS EMail FROM RelateCont WHERE MasterContID = ? ORDER BY SubContShowName"),
            {m_lngContID});
        if (m_rsPrint.RecordCount() > 0) {
            m_rsPrint.MoveFirst();
            for (; !m_rsPrint.Eof(); m_rsPrint.MoveNext()) {
                const QVariant memo = m_rsPrint.Value(1);
                if (!m_rsPrint.Value(2).isNull() && !m_rsPrint.Value(3).isNull()) {
                    m_sngCurY = ListRow(m_sngCurY, kContactHeadings);
                    printer.SetCurrentY(m_sngCurY);
                    PrintCell(m_rsPrint.Value(3).toString(), kTextX, 6.47);
                    if (!memo.isNull()) PrintCell(memo.toString(), 6.47, 11.54);
                    PrintCell(m_rsPrint.Value(4).toString(), 11.54, 16.61);
                    PrintCell(m_rsPrint.Value(5).toString(), 16.61, kRight, false);
                }
                m_sngCurY += kRowPitch;
            }
        }
        m_rsPrint.Close();
    });
}

// Every project linked has its row, in link order; the projects come with the links, in one query.
void frmPrintContact::PopulateRelProjects() {
    core::trap(QStringLiteral("frmPrintContact.PopulateRelProjects"), Tail::Silent, [&] {
        m_sngCurY += 0.1f;
        m_rsPrint = g_dbLocal->OpenRecordset(
            QStringLiteral(
                "SELECT RelateProject.fkProjID, Projects.ProjID, Projects.PName, Projects.Status "
                "FROM RelateProject LEFT JOIN Projects ON Projects.ProjID = RelateProject.fkProjID "
                "WHERE RelateProject.fkContID = ? ORDER BY RelateProject.RefNum"),
            {m_lngContID});
        QSet<qint64> printed;
        if (m_rsPrint.RecordCount() > 0) {
            m_rsPrint.MoveFirst();
            for (; !m_rsPrint.Eof(); m_rsPrint.MoveNext()) {
                const QVariant project = m_rsPrint.Value(0);
                // A project linked twice is printed once, as the editor lists it.
                if (!project.isNull() && printed.contains(project.toLongLong())) continue;
                if (!project.isNull()) {
                    printed.insert(project.toLongLong());
                    GetProjectInfo(m_rsPrint.Value(1), m_rsPrint.Value(2), m_rsPrint.Value(3));
                }
                m_sngCurY += kRowPitch;
            }
        }
        m_rsPrint.Close();
    });
}

// A project that is gone leaves its row empty; one without a name still shows its status on its own
// row.
void frmPrintContact::GetProjectInfo(const QVariant& projId, const QVariant& pName, const QVariant& status) {
    core::trap(QStringLiteral("frmPrintContact.GetProjectInfo"), Tail::Silent, [&] {
        if (projId.isNull()) return;
        auto& printer = ui::Printer();
        m_sngCurY = ListRow(m_sngCurY, kProjectHeadings);
        printer.SetCurrentY(m_sngCurY);
        if (!pName.isNull()) PrintCell(pName.toString(), kTextX, 10.3);
        PrintCell(QStringLiteral("* ") + status.toString(), 10.3, kRight, false);
    });
}
