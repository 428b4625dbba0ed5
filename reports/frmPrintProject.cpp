#include "reports/frmPrintProject.h"

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

const reports::ProfileReportDialog::Kind kKind{QStringLiteral("frmPrintProject"),
                                               QStringLiteral("Print Project Report"),
                                               QStringLiteral(" Create and Print Project Report For -"),
                                               QStringLiteral("Project Profile Report"),
                                               QStringLiteral("frmProjEntry"),
                                               690,
                                               2670,
                                               2175,
                                               803,
                                               false};

constexpr int kGridRows = 7;
const char* const kLabels[kGridRows] = {"Name",       "Status",   "Setting", "Project Type",
                                        "Start Date", "End Date", "Budget"};
// The editor's boxes the grid rows show, top to bottom.
constexpr int kBoxes[kGridRows] = {0, 1, 6, 2, 3, 4, 5};

constexpr float kFieldsTop = 6.79f;  // the user-defined fields' bar

const reports::ProfileReportDialog::Headings kContactHeadings{
    {1.4, QStringLiteral("Contact")}, {4.4, QStringLiteral("Phone")}, {7.4, QStringLiteral("E-Mail")}};

}  // namespace

frmPrintProject::frmPrintProject(QWidget* owner) : ProfileReportDialog(kKind, owner) {
    Form_Load();
}

frmPrintProject* frmPrintProject::Open(QWidget* owner) {
    return ui::ShownActive(new frmPrintProject(owner));
}

void frmPrintProject::PrintProjectReport() {
    const core::RecordEditor& editor = Editor();
    m_lngProjID = editor.RecordNumber();
    QStringList values;
    for (const int box : kBoxes) values << editor.Text1Text(box);

    PrintRun([&] {
        // A rule under every row, the last on the box's bottom edge.
        ProfileGrid(QStringLiteral(" Project Name Profile"), kLabels, values, kRight, true);
        UserFieldsSection(QStringLiteral(" User Defined Project Fields"), kFieldsTop,
                          [this] { SetProgress(60); });
        PrintUserFieldValues();

        if (Checked(1)) {
            RelatedSection(QStringLiteral(" All Related Contacts"), kContactHeadings,
                           [this] { SetProgress(80); });
            PopulateRelContacts();
        }
    });
}

void frmPrintProject::PrintUserFieldValues() {
    UserFieldValues(QStringLiteral("PUFldValues"), QStringLiteral("fkProjID"), m_lngProjID, kFieldsTop);
}

// Each contact's "Home" phone and "Personal" e-mail come with the links, in one query, printed even
// when empty. A link without its contact's number or name keeps its row empty.
void frmPrintProject::PopulateRelContacts() {
    core::trap(QStringLiteral("frmPrintProject.PopulateRelContacts"), Tail::Silent, [&] {
        auto& printer = ui::Printer();
        m_rsPrint = g_dbLocal->OpenRecordset(
            QStringLiteral("SELECT fkProjID, fkContID, ContShowName, ") +
                modGeneral::HomePhoneColumn(QStringLiteral("RelateProject.fkContID")) +
                QStringLiteral(" AS HomePhone, ") +
                modGeneral::PersonalEMailColumn(QStringLiteral("RelateProject.fkContID")) +
                QStringLiteral(" AS EMail FROM RelateProject WHERE fkProjID = ? ORDER BY ContShowName"),
            {m_lngProjID});
        m_sngCurY += 0.1f;
        QSet<qint64> printed;
        if (m_rsPrint.RecordCount() > 0) {
            m_rsPrint.MoveFirst();
            for (; !m_rsPrint.Eof(); m_rsPrint.MoveNext()) {
                const bool named = !m_rsPrint.Value(1).isNull() && !m_rsPrint.Value(2).isNull();
                const qint64 contact = m_rsPrint.Value(1).toLongLong();
                // A contact linked twice is printed once, as the editor lists it.
                if (named && printed.contains(contact)) continue;
                if (named) {
                    printed.insert(contact);
                    m_sngCurY = ListRow(m_sngCurY, kContactHeadings);
                    printer.SetCurrentY(m_sngCurY);
                    PrintCell(m_rsPrint.Value(2).toString(), kTextX, 4.4);
                    PrintCell(m_rsPrint.Value(3).toString(), 4.4, 7.4);
                    PrintCell(m_rsPrint.Value(4).toString(), 7.4, kRight, false);
                }
                m_sngCurY += kRowPitch;
            }
        }
        m_rsPrint.Close();
    });
}
