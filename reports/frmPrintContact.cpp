#include "reports/frmPrintContact.h"

#include <QStringList>

#include "core/RecordEditor.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/db/Database.h"
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

constexpr double kLeft = 1.3;
constexpr double kRight = 20.3;
constexpr double kGridRight = 10.6;
constexpr double kLabelX = 1.4;
constexpr double kValueX = 3.75;
constexpr float kRowHeight = 0.48f;
constexpr float kTextDrop = 0.05f;

// The address blocks beside the grid, three grid rows each.
const char* const kAddressKinds[4] = {"Home", "Work", "Bill To", "Ship To"};
constexpr float kBlockTops[4] = {3.15f, 4.59f, 6.03f, 7.47f};
constexpr float kBlockHeight = 1.44f;
constexpr double kAddressX = 13.47;

constexpr float kFirstValueRow = 10.74f;

const reports::ProfileReportDialog::Headings kValueHeadings{{1.4, QStringLiteral("User Field Description")},
                                                            {10.3, QStringLiteral("Field Value")}};
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
    auto* dialog = new frmPrintContact(owner);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return dialog;
}

void frmPrintContact::PrintContactReport() {
    const core::RecordEditor& editor = Editor();
    m_lngContID = editor.RecordNumber();
    QStringList values;
    for (const int box : kBoxes) values << editor.Text1Text(box);

    PrintRun([&] {
        auto& printer = ui::Printer();
        printer.SetFontSize(8);
        printer.SetFontBold(true);
        printer.SetCurrentX(kLabelX);
        printer.Print(QStringLiteral(" Name Profile"));
        printer.Line(kLeft, 3.1, kRight, 3.1);
        printer.Box(kLeft, 3.15, kGridRight, 9.39);
        printer.Line(3.65, 3.15, 3.65, 9.39);
        printer.SetFontBold(false);
        SetProgress(30);

        // Twelve rules between thirteen rows; the box's bottom edge closes the last one.
        float top = 3.15f;
        float rule = 3.63f;
        for (int r = 0; r < kGridRows; ++r) {
            if (r < kGridRows - 1) printer.Line(kLeft, rule, kGridRight, rule);
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

        for (int b = 0; b < 4; ++b) {
            printer.Box(11.1, kBlockTops[b], kRight, kBlockTops[b] + kBlockHeight);
            printer.SetCurrentX(11.2);
            printer.SetCurrentY(kBlockTops[b] + kTextDrop);
            printer.Print(QStringLiteral("Address: ") + QLatin1String(kAddressKinds[b]));
        }
        printer.Line(13.45, 3.15, 13.45, 8.91);
        SetProgress(60);
        PrintAddressBlocks();

        printer.SetFontSize(8);
        printer.SetFontBold(true);
        printer.SetCurrentX(kLabelX);
        printer.SetCurrentY(9.79);
        printer.Print(QStringLiteral(" User Defined Contact Fields"));
        printer.Line(kLeft, 10.19, kRight, 10.19);
        printer.Line(kLeft, 10.25, kRight, 10.25);
        printer.SetCurrentY(10.24);
        PrintHeadings(kValueHeadings);
        printer.Line(kLeft, 10.64, kRight, 10.64);
        SetProgress(70);
        printer.SetFontBold(false);
        PrintUserFieldValues();

        // One line below the last value printed, or on the rule under the headings.
        m_sngCurY = static_cast<float>(printer.CurrentY());
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
                printer.SetCurrentX(kAddressX);
                printer.SetCurrentY(y);
                printer.Print(line);
                y += kRowHeight;
            }
        }
    }
    m_rsPrint.Close();
}

// A value without its field's name prints nothing but keeps its row.
void frmPrintContact::PrintUserFieldValues() {
    auto& printer = ui::Printer();
    m_rsPrint = g_dbLocal->OpenRecordset(
        QStringLiteral(
            "SELECT fkContID, fkUserFld, Value FROM CUFldValues WHERE fkContID = ? ORDER BY RefNum"),
        {m_lngContID});
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
                    printer.SetCurrentX(kLabelX);
                    printer.SetCurrentY(m_sngCurY);
                    printer.Print(m_rsPrint.Value(3).toString(), true);
                    if (!memo.isNull()) {
                        printer.SetCurrentX(6.47);
                        printer.Print(memo.toString(), true);
                    }
                    printer.SetCurrentX(11.54);
                    printer.Print(m_rsPrint.Value(4).toString(), true);
                    printer.SetCurrentX(16.61);
                    printer.Print(m_rsPrint.Value(5).toString());
                }
                m_sngCurY += kRowPitch;
            }
        }
        m_rsPrint.Close();
    });
}

// Every link has its row, in link order; the projects come with the links, in one query.
void frmPrintContact::PopulateRelProjects() {
    core::trap(QStringLiteral("frmPrintContact.PopulateRelProjects"), Tail::Silent, [&] {
        m_sngCurY += 0.1f;
        m_rsPrint = g_dbLocal->OpenRecordset(
            QStringLiteral(
                "SELECT RelateProject.fkProjID, Projects.ProjID, Projects.PName, Projects.Status "
                "FROM RelateProject LEFT JOIN Projects ON Projects.ProjID = RelateProject.fkProjID "
                "WHERE RelateProject.fkContID = ? ORDER BY RelateProject.RefNum"),
            {m_lngContID});
        if (m_rsPrint.RecordCount() > 0) {
            m_rsPrint.MoveFirst();
            for (; !m_rsPrint.Eof(); m_rsPrint.MoveNext()) {
                if (!m_rsPrint.Value(0).isNull())
                    GetProjectInfo(m_rsPrint.Value(1), m_rsPrint.Value(2), m_rsPrint.Value(3));
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
        if (!pName.isNull()) {
            printer.SetCurrentX(kLabelX);
            printer.Print(pName.toString(), true);
        }
        printer.SetCurrentX(10.3);
        printer.Print(QStringLiteral("* ") + status.toString());
    });
}
