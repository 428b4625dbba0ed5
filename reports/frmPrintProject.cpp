#include "reports/frmPrintProject.h"

#include <QStringList>

#include "core/RecordEditor.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/db/Database.h"
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

constexpr double kLeft = 1.3;
constexpr double kRight = 20.3;
constexpr double kLabelX = 1.4;
constexpr double kValueX = 3.75;
constexpr float kRowHeight = 0.48f;
constexpr float kTextDrop = 0.05f;
constexpr float kFirstValueRow = 7.74f;

const reports::ProfileReportDialog::Headings kValueHeadings{{1.4, QStringLiteral("User Field Description")},
                                                            {10.3, QStringLiteral("Field Value")}};
const reports::ProfileReportDialog::Headings kContactHeadings{
    {1.4, QStringLiteral("Contact")}, {4.4, QStringLiteral("Phone")}, {7.4, QStringLiteral("E-Mail")}};

}  // namespace

frmPrintProject::frmPrintProject(QWidget* owner) : ProfileReportDialog(kKind, owner) {
    Form_Load();
}

frmPrintProject* frmPrintProject::Open(QWidget* owner) {
    auto* dialog = new frmPrintProject(owner);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return dialog;
}

void frmPrintProject::PrintProjectReport() {
    const core::RecordEditor& editor = Editor();
    m_lngProjID = editor.RecordNumber();
    QStringList values;
    for (const int box : kBoxes) values << editor.Text1Text(box);

    PrintRun([&] {
        auto& printer = ui::Printer();
        printer.SetFontSize(8);
        printer.SetFontBold(true);
        printer.SetCurrentX(kLabelX);
        printer.Print(QStringLiteral(" Project Name Profile"));
        printer.Line(kLeft, 3.1, kRight, 3.1);
        printer.Box(kLeft, 3.15, kRight, 6.51);
        printer.Line(3.65, 3.15, 3.65, 6.51);
        printer.SetFontBold(false);
        SetProgress(30);

        // A rule under every row, the last on the box's bottom edge.
        float top = 3.15f;
        float rule = 3.63f;
        for (int r = 0; r < kGridRows; ++r) {
            printer.Line(kLeft, rule, kRight, rule);
            printer.SetCurrentX(kLabelX);
            printer.SetCurrentY(top + kTextDrop);
            printer.Print(QLatin1String(kLabels[r]));
            top += kRowHeight;
            rule += kRowHeight;
        }
        top = 3.15f;
        for (int r = 0; r < kGridRows; ++r) {
            printer.SetCurrentX(kValueX);
            printer.SetCurrentY(top + kTextDrop);
            printer.Print(values[r]);
            top += kRowHeight;
        }
        SetProgress(50);

        printer.SetFontSize(8);
        printer.SetFontBold(true);
        printer.SetCurrentX(kLabelX);
        printer.SetCurrentY(6.79);
        printer.Print(QStringLiteral(" User Defined Project Fields"));
        printer.Line(kLeft, 7.19, kRight, 7.19);
        printer.Line(kLeft, 7.25, kRight, 7.25);
        SetProgress(60);
        printer.SetCurrentY(7.24);
        PrintHeadings(kValueHeadings);
        printer.Line(kLeft, 7.64, kRight, 7.64);
        SetProgress(70);
        printer.SetFontBold(false);
        PrintUserFieldValues();

        // One line below the last value printed, or on the rule under the headings.
        m_sngCurY = static_cast<float>(printer.CurrentY());
        if (Checked(1)) {
            RelatedSection(QStringLiteral(" All Related Contacts"), kContactHeadings,
                           [this] { SetProgress(80); });
            PopulateRelContacts();
        }
    });
}

// A value without its field's name prints nothing but keeps its row.
void frmPrintProject::PrintUserFieldValues() {
    auto& printer = ui::Printer();
    m_rsPrint = g_dbLocal->OpenRecordset(
        QStringLiteral(
            "SELECT fkProjID, fkUserFld, Value FROM PUFldValues WHERE fkProjID = ? ORDER BY RefNum"),
        {m_lngProjID});
    float y = kFirstValueRow;
    if (m_rsPrint.RecordCount() > 0) {
        m_rsPrint.MoveFirst();
        for (; !m_rsPrint.Eof(); m_rsPrint.MoveNext()) {
            const QVariant field = m_rsPrint.Value(1);
            if (!field.isNull()) {
                y = ListRow(y, kValueHeadings);
                printer.SetCurrentX(kLabelX);
                printer.SetCurrentY(y);
                printer.Print(field.toString(), true);
                printer.SetCurrentX(10.3);
                printer.Print(m_rsPrint.Value(2).toString());
            }
            y += kRowPitch;
        }
    }
    m_rsPrint.Close();
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
        if (m_rsPrint.RecordCount() > 0) {
            m_rsPrint.MoveFirst();
            for (; !m_rsPrint.Eof(); m_rsPrint.MoveNext()) {
                if (!m_rsPrint.Value(1).isNull() && !m_rsPrint.Value(2).isNull()) {
                    m_sngCurY = ListRow(m_sngCurY, kContactHeadings);
                    printer.SetCurrentX(kLabelX);
                    printer.SetCurrentY(m_sngCurY);
                    printer.Print(m_rsPrint.Value(2).toString(), true);
                    printer.SetCurrentX(4.4);
                    printer.Print(m_rsPrint.Value(3).toString(), true);
                    printer.SetCurrentX(7.4);
                    printer.Print(m_rsPrint.Value(4).toString());
                }
                m_sngCurY += kRowPitch;
            }
        }
        m_rsPrint.Close();
    });
}
