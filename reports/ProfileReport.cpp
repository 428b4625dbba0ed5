#include "reports/ProfileReport.h"

#include <QCheckBox>
#include <QEvent>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QProgressBar>
#include <QPushButton>

#include "core/Clock.h"
#include "core/DialogLayout.h"
#include "core/PrintPage.h"
#include "core/RecordEditor.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/Error.h"
#include "platform/db/Database.h"
#include "platform/ui/DialogKeys.h"
#include "platform/ui/Printer.h"
#include "platform/ui/ScreenRegistry.h"
#include "platform/ui/TextLimit.h"
#include "platform/ui/Twips.h"

namespace reports {

namespace {

const QColor kBannerColour(0xE6, 0xE3, 0xDE);

// Lists flow over further pages: a row is printed no lower than this, clear of the footer at 26.3.
constexpr float kLastRowY = 25.9f;
constexpr double kContinuedHeadingY = 1.5;
constexpr double kContinuedRuleY = 1.9;
constexpr float kContinuedRowY = 2.0f;
constexpr double kListPoints = 8;

constexpr float kGridTop = 3.15f;
constexpr double kGridBarRuleY = 3.1;
constexpr double kGridColumnX = 3.65;
constexpr double kGridValueX = 3.75;

const ProfileReportDialog::Headings kFieldHeadings{{1.4, QStringLiteral("User Field Description")},
                                                   {10.3, QStringLiteral("Field Value")}};

void Place(QWidget* w, double left, double top, double width, double height) {
    using namespace ui::twips;
    w->setGeometry(ToPixelsX(left), ToPixelsY(top), ToPixelsX(width), ToPixelsY(height));
}

QLabel* Banner(QWidget* parent, const QString& name, const QString& caption) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setAutoFillBackground(true);
    QPalette p = label->palette();
    p.setColor(QPalette::Window, kBannerColour);
    label->setPalette(p);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

// Ends the page with its footer and begins the next one.
void NextPage() {
    auto& printer = ui::Printer();
    core::print::PrintFooter();
    printer.NewPage();
    printer.SetFontName(core::print::FontName());
    printer.SetFontSize(kListPoints);
    printer.SetFontBold(false);
}

}  // namespace

ProfileReportDialog::ProfileReportDialog(const Kind& kind, QWidget* owner) : QDialog(owner), m_kind(kind) {
    setObjectName(m_kind.formName);
    setWindowTitle(m_kind.caption);
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    BuildControls();
    ui::ScreenRegistry::instance().add(this);
}

ProfileReportDialog::~ProfileReportDialog() {
    try {
        m_rsPrint.Close();
    } catch (...) {
    }
}

void ProfileReportDialog::BuildControls() {
    lblBanner[0] = Banner(this, QStringLiteral("lblBanner(0)"), m_kind.banner);
    Place(lblBanner[0], 75, 75, 4515, 240);
    Label1 = new QLabel(QStringLiteral("Report Title:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Place(Label1, 75, 450, 915, 240);
    txtTitle = new QLineEdit(this);
    txtTitle->setObjectName(QStringLiteral("txtTitle"));
    Place(txtTitle, 1050, 450, 3540, 285);
    txtTitle->installEventFilter(this);
    lblBanner[1] = Banner(this, QStringLiteral("lblBanner(1)"), QStringLiteral(" Include"));
    Place(lblBanner[1], 75, 1050, 4515, 240);

    Frame1 = new QGroupBox(QStringLiteral("Sections"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Place(Frame1, 75, 1350, 4515, m_kind.frameHeight);
    const QString captions[3] = {QStringLiteral("Profile"), QStringLiteral("Related Contacts"),
                                 QStringLiteral("Related Projects")};
    // Contact dialog: Profile and Related Projects side by side, Related Contacts below; the project
    // dialog has the first two side by side.
    const double places[2][3][2] = {{{150, 300}, {150, 675}, {2250, 300}}, {{150, 300}, {2175, 300}, {0, 0}}};
    const auto& place = places[m_kind.relatedProjects ? 0 : 1];
    for (int i = 0; i < (m_kind.relatedProjects ? 3 : 2); ++i) {
        Check1[i] = new QCheckBox(captions[i], Frame1);
        Check1[i]->setObjectName(QStringLiteral("Check1(%1)").arg(i));
        Place(Check1[i], place[i][0], place[i][1], 1890, 240);
    }
    // The profile is always printed.
    Check1[0]->setChecked(true);
    Check1[0]->setEnabled(false);

    const QString buttons[2] = {QStringLiteral("&OK"), QStringLiteral("&Cancel")};
    for (int i = 0; i < 2; ++i) {
        cmdOpts[i] = new QPushButton(buttons[i], this);
        cmdOpts[i]->setObjectName(QStringLiteral("cmdOpts(%1)").arg(i));
        Place(cmdOpts[i], 2025 + i * 1350, m_kind.buttonTop, 1215, 390);
        connect(cmdOpts[i], &QPushButton::clicked, this, [this, i] { cmdOpts_Click(i); });
    }
    ui::SetDialogKeys(this, cmdOpts[0]);  // Esc reaches reject(), as "&Cancel" does

    // Covers the " Include" banner and the top of the sections while a run gathers its data.
    picMsg = new QWidget(this);
    picMsg->setObjectName(QStringLiteral("picMsg"));
    picMsg->setAutoFillBackground(true);
    QPalette tip = picMsg->palette();
    tip.setColor(QPalette::Window, tip.color(QPalette::ToolTipBase));
    tip.setColor(QPalette::WindowText, tip.color(QPalette::ToolTipText));
    picMsg->setPalette(tip);
    Place(picMsg, 30, m_kind.panelTop, 4605, 1065);
    Label2 = new QLabel(QStringLiteral("Gathering Data for Profile Printing ... Please Wait ..."), picMsg);
    Label2->setObjectName(QStringLiteral("Label2"));
    QFont bold = Label2->font();
    bold.setBold(true);
    Label2->setFont(bold);
    Place(Label2, 75, 75, 4440, 240);
    prbPrint = new QProgressBar(picMsg);
    prbPrint->setObjectName(QStringLiteral("prbPrint"));
    prbPrint->setRange(0, 100);
    prbPrint->setValue(0);
    Place(prbPrint, 75, 525, 4440, 240);
    picMsg->hide();

    QWidget* order[] = {txtTitle, Check1[0], Check1[1], Check1[2], cmdOpts[0], cmdOpts[1]};
    QWidget* previous = nullptr;
    for (QWidget* w : order) {
        if (!w) continue;
        if (previous) setTabOrder(previous, w);
        previous = w;
    }

    setFixedSize(ui::twips::ToPixelsX(4665), ui::twips::ToPixelsY(m_kind.clientHeight));
    core::layout::FitCaptions(this);
}

void ProfileReportDialog::Form_Load() {
    core::trap(m_kind.formName + QStringLiteral(".Form_Load"), core::Tail::ErrorBox, [&] {
        FollowEditor();
        auto* editor = qobject_cast<core::RecordEditor*>(ui::ScreenRegistry::instance().find(m_kind.editor));
        if (editor && !editor->IsUnloaded()) ui::ShowText(txtTitle, editor->Text1Text(0));
    });
}

// The report belongs to the editor it was opened over: it goes when that editor closes.
void ProfileReportDialog::FollowEditor() {
    auto* editor = qobject_cast<core::RecordEditor*>(ui::ScreenRegistry::instance().find(m_kind.editor));
    if (!editor || editor->IsUnloaded()) return;
    connect(editor, &core::RecordEditor::Unloaded, this, &QWidget::close);
    connect(editor, &QObject::destroyed, this, &QWidget::close);
}

core::RecordEditor& ProfileReportDialog::Editor() const {
    auto* editor = qobject_cast<core::RecordEditor*>(ui::ScreenRegistry::instance().find(m_kind.editor));
    if (!editor || editor->IsUnloaded())
        throw platform::Error(91, QStringLiteral("Object variable or With block variable not set"));
    return *editor;
}

bool ProfileReportDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtTitle && event->type() == QEvent::FocusIn) txtTitle_GotFocus();
    return QDialog::eventFilter(watched, event);
}

void ProfileReportDialog::txtTitle_GotFocus() {
    modGeneral::highLightOnFocus(txtTitle);
}

void ProfileReportDialog::cmdOpts_Click(int index) {
    if (index == 1) {
        reject();  // closes, and so releases, the dialog; Esc and the close box come here too
        return;
    }
    if (index != 0) return;
    core::trap(m_kind.formName + QStringLiteral(".cmdOpts_Click"), core::Tail::ErrorBox, [&] {
        try {
            PrintReport();
        } catch (...) {
            // Ready for another try by the time the error box shows.
            ShowIdle();
            throw;
        }
    });
}

bool ProfileReportDialog::Checked(int index) const {
    return Check1[index] && Check1[index]->isChecked();
}

void ProfileReportDialog::SetProgress(int value) {
    prbPrint->setValue(value);
    // Painted now, without a pass of the event loop: nothing else may run while a page is drawn.
    if (picMsg->isVisible()) picMsg->repaint();
}

void ProfileReportDialog::ShowIdle() {
    cmdOpts[0]->setEnabled(true);
    cmdOpts[1]->setEnabled(true);
    prbPrint->setValue(0);
    picMsg->hide();
}

void ProfileReportDialog::PrintRun(const std::function<void()>& body) {
    QString title = txtTitle->text();
    if (title.isEmpty()) title = m_kind.defaultTitle;
    const QDateTime now = core::Clock::Now();
    const core::print::PageHeader header{core::print::TimeText(now.time()), title,
                                         core::print::DateText(now.date())};

    cmdOpts[0]->setEnabled(false);
    cmdOpts[1]->setEnabled(false);
    picMsg->show();
    picMsg->raise();
    SetProgress(10);

    core::print::PrintDocument([&] {
        auto& printer = ui::Printer();
        core::print::PrintHeader(header);
        printer.Print();
        SetProgress(20);
        body();
        SetProgress(90);
        core::print::PrintFooter();
    });
    ShowIdle();
}

void ProfileReportDialog::PrintCell(const QString& text, double x, double right, bool stayOnLine) {
    // Clear of the next column's text, or of the grid's rule.
    constexpr double kCellGap = 0.1;
    auto& printer = ui::Printer();
    printer.SetCurrentX(x);
    printer.Print(core::print::CellText(text, right - x - kCellGap), stayOnLine);
}

void ProfileReportDialog::PrintHeadings(const Headings& headings) {
    auto& printer = ui::Printer();
    for (size_t i = 0; i < headings.size(); ++i) {
        printer.SetCurrentX(headings[i].x);
        printer.Print(headings[i].text, i + 1 < headings.size());
    }
}

float ProfileReportDialog::ListRow(float y, const Headings& headings) {
    if (y <= kLastRowY) return y;
    NextPage();
    auto& printer = ui::Printer();
    printer.SetFontBold(true);
    printer.SetCurrentY(kContinuedHeadingY);
    PrintHeadings(headings);
    printer.Line(kLeft, kContinuedRuleY, kRight, kContinuedRuleY);
    printer.SetFontBold(false);
    return kContinuedRowY;
}

void ProfileReportDialog::RelatedSection(const QString& bar, const Headings& headings,
                                         const std::function<void()>& beforeHeadings) {
    auto& printer = ui::Printer();
    // The section's first row stands 1.55 below where it starts; the bar then opens the next page.
    if (m_sngCurY + 1.55f > kLastRowY) {
        NextPage();
        m_sngCurY = static_cast<float>(kContinuedHeadingY) - 0.6f;
    }
    printer.SetFontBold(true);
    printer.SetCurrentX(kTextX);
    m_sngCurY += 0.6f;
    printer.SetCurrentY(m_sngCurY);
    printer.Print(bar);
    m_sngCurY += 0.4f;
    printer.Line(kLeft, m_sngCurY, kRight, m_sngCurY);
    m_sngCurY += 0.06f;
    printer.Line(kLeft, m_sngCurY, kRight, m_sngCurY);
    m_sngCurY -= 0.01f;
    if (beforeHeadings) beforeHeadings();
    printer.SetCurrentY(m_sngCurY);
    PrintHeadings(headings);
    m_sngCurY += 0.4f;
    printer.Line(kLeft, m_sngCurY, kRight, m_sngCurY);
    printer.SetFontBold(false);
}

void ProfileReportDialog::ProfileGrid(const QString& bar, std::span<const char* const> labels,
                                      const QStringList& values, double right, bool ruleUnderLast) {
    auto& printer = ui::Printer();
    const double bottom = kGridTop + static_cast<double>(labels.size()) * kGridPitch;
    printer.SetFontSize(8);
    printer.SetFontBold(true);
    printer.SetCurrentX(kTextX);
    printer.Print(bar);
    printer.Line(kLeft, kGridBarRuleY, kRight, kGridBarRuleY);
    printer.Box(kLeft, kGridTop, right, bottom);
    printer.Line(kGridColumnX, kGridTop, kGridColumnX, bottom);
    printer.SetFontBold(false);
    SetProgress(30);

    const size_t rules = ruleUnderLast ? labels.size() : labels.size() - 1;
    float top = kGridTop;
    float rule = kGridTop + kGridPitch;
    for (size_t r = 0; r < labels.size(); ++r) {
        if (r < rules) printer.Line(kLeft, rule, right, rule);
        printer.SetCurrentX(kTextX);
        printer.SetCurrentY(top + kTextDrop);
        printer.Print(QLatin1String(labels[r]));
        top += kGridPitch;
        rule += kGridPitch;
    }
    top = kGridTop;
    for (size_t r = 0; r < labels.size(); ++r) {
        printer.SetCurrentY(top + kTextDrop);
        PrintCell(values[static_cast<qsizetype>(r)], kGridValueX, right, false);
        top += kGridPitch;
    }
    SetProgress(50);
}

void ProfileReportDialog::UserFieldsSection(const QString& bar, float top,
                                            const std::function<void()>& afterRule) {
    auto& printer = ui::Printer();
    printer.SetFontSize(8);
    printer.SetFontBold(true);
    printer.SetCurrentX(kTextX);
    printer.SetCurrentY(top);
    printer.Print(bar);
    printer.Line(kLeft, top + 0.4, kRight, top + 0.4);
    printer.Line(kLeft, top + 0.46, kRight, top + 0.46);
    if (afterRule) afterRule();
    printer.SetCurrentY(top + 0.45);
    PrintHeadings(kFieldHeadings);
    printer.Line(kLeft, top + 0.85, kRight, top + 0.85);
    SetProgress(70);
    printer.SetFontBold(false);
}

void ProfileReportDialog::UserFieldValues(const QString& table, const QString& key, int32_t id, float top) {
    auto& printer = ui::Printer();
    // Both names come from the forms' constants; the record is bound.
    m_rsPrint = g_dbLocal->OpenRecordset(
        QStringLiteral("SELECT %1, fkUserFld, Value FROM %2 WHERE %1 = ? ORDER BY RefNum").arg(key, table),
        {id});
    float y = top + 0.95f;
    if (m_rsPrint.RecordCount() > 0) {
        m_rsPrint.MoveFirst();
        for (; !m_rsPrint.Eof(); m_rsPrint.MoveNext()) {
            const QVariant field = m_rsPrint.Value(1);
            if (!field.isNull()) {
                y = ListRow(y, kFieldHeadings);
                printer.SetCurrentY(y);
                PrintCell(field.toString(), kTextX, kFieldHeadings[1].x);
                PrintCell(m_rsPrint.Value(2).toString(), kFieldHeadings[1].x, kRight, false);
            }
            y += kRowPitch;
        }
    }
    m_rsPrint.Close();
    m_sngCurY = static_cast<float>(printer.CurrentY());
}

}  // namespace reports
