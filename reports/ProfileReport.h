#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>
#include <span>
#include <vector>

#include "platform/db/Recordset.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace core {
class RecordEditor;
}

namespace reports {

// What the contact and the project report dialogs share: the dialog itself (a title, the sections to
// include, OK and Cancel, the progress panel), the page frame of a print run (header, footer, the
// document sent whole or not at all) and the flow of long lists over further pages.
//
// A dialog works on the editor it was opened over. It reads the editor's boxes, found through the
// screen registry, when a run starts, and closes as soon as that editor closes. Modeless, owned by
// the main window and gone when closed, so the next File > Print reads the title afresh.
class ProfileReportDialog : public QDialog {
    Q_OBJECT

public:
    struct Kind {
        QString formName;  // "frmPrintContact": names the dialog and prefixes its logged procedures
        QString caption;
        QString banner;
        QString defaultTitle;  // printed for an empty title box
        QString editor;        // the editor the report prints: "frmContEntry"
        int frameHeight;       // twips
        int clientHeight;
        int buttonTop;
        int panelTop;
        bool relatedProjects;  // the contact report's third section
    };

    // Column headings of a list, as its section prints them: the last one ends the line.
    struct Heading {
        double x;
        QString text;
    };
    using Headings = std::vector<Heading>;

    ~ProfileReportDialog() override;

    QLineEdit* txtTitle = nullptr;
    QCheckBox* Check1[3] = {nullptr, nullptr, nullptr};  // the third in the contact dialog only
    QPushButton* cmdOpts[2] = {nullptr, nullptr};
    QWidget* picMsg = nullptr;
    QProgressBar* prbPrint = nullptr;

protected:
    ProfileReportDialog(const Kind& kind, QWidget* owner);

    bool eventFilter(QObject* watched, QEvent* event) override;

    void Form_Load();
    // The whole run of OK: gathers what it prints, then draws it through PrintRun.
    virtual void PrintReport() = 0;

    // The open editor, read at the moment of the run; raises when it is gone.
    core::RecordEditor& Editor() const;
    bool Checked(int index) const;
    void SetProgress(int value);

    // The page frame around `body`: the dialog busy with its progress panel, the header (time, title
    // or the default title, date, one empty line), the body in 10 pt, the footer, the document sent.
    // Anything failing abandons the document and goes on to the caller.
    void PrintRun(const std::function<void()>& body);

    static void PrintHeadings(const Headings& headings);
    // Where a list row goes that would stand at `y`: below the footer's reach the page is closed with
    // its footer, a new one begins with the list's headings, and the row stands below them.
    static float ListRow(float y, const Headings& headings);
    // A related section from m_sngCurY: its bar, the double rule, the headings and their rule,
    // leaving m_sngCurY on that rule. A section whose first row would not fit begins a new page.
    // `beforeHeadings` runs between the double rule and the headings.
    void RelatedSection(const QString& bar, const Headings& headings,
                        const std::function<void()>& beforeHeadings = {});

    // The profile under the page header, in 8 pt: `bar` in bold with its rule across the page at 3.1,
    // then from 3.15 a box from the left margin to `right` with the rule between labels and values at
    // 3.65, and a row of kGridPitch for each of `labels` with its value beside it. With
    // `ruleUnderLast` every row has a rule under it, the last on the box's bottom edge; without, the
    // box's edge closes the last row. Progress 30 once the frame stands, 50 once the values do.
    void ProfileGrid(const QString& bar, std::span<const char* const> labels, const QStringList& values,
                     double right, bool ruleUnderLast);
    // The user-defined fields' bar standing at `top`, in bold 8 pt: the bar, its double rule across the
    // page, the field headings and their rule 0.85 below `top`, then progress 70 and the bold off.
    // `afterRule` runs between the double rule and the headings.
    void UserFieldsSection(const QString& bar, float top, const std::function<void()>& afterRule = {});
    // The values of the user-defined fields of the record `id`, from `table` whose key column is
    // `key`, one list row each from 0.95 below the section's `top`. A value without its field's name
    // prints nothing but keeps its row. Leaves m_sngCurY one line below the last value printed, or on
    // the rule under the headings.
    void UserFieldValues(const QString& table, const QString& key, int32_t id, float top);

    // Prints a stored text at `x` on the current line, as one line that ends before `right`: a long
    // name or a text with line breaks stays in its own column and row.
    static void PrintCell(const QString& text, double x, double right, bool stayOnLine = true);

    static constexpr double kLeft = 1.3;  // the page's margins
    static constexpr double kRight = 20.3;
    static constexpr double kTextX = 1.4;       // a bar's, a label's and a list's first column
    static constexpr float kGridPitch = 0.48f;  // the profile's rows
    static constexpr float kTextDrop = 0.05f;   // a row's text below its top
    static constexpr float kRowPitch = 0.35f;   // the lists' rows

    // The running y of the related lists, and the one recordset a list procedure walks.
    float m_sngCurY = 0;
    db::Recordset m_rsPrint;

private:
    void BuildControls();
    void txtTitle_GotFocus();
    void cmdOpts_Click(int index);
    void ShowIdle();
    void FollowEditor();

    const Kind& m_kind;
    QLabel* lblBanner[2] = {nullptr, nullptr};
    QLabel* Label1 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLabel* Label2 = nullptr;
};

}  // namespace reports
