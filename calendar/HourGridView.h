#pragma once

#include <QColor>
#include <QDate>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "calendar/HourGrid.h"
#include "platform/db/Recordset.h"
#include "platform/ui/Activation.h"

class QCalendarWidget;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QToolButton;

namespace ui {
class ComboBox;
}

namespace calendar {

class ApptBox;
class CalendarBanner;

// What the week view and the day view share: the banner, the scrolled hour grid with its header row
// and arrows, the appointment boxes, the month calendar and the quick-add panel. Each view gives its
// columns, its range of dates and how it opens.
class HourGridView : public QWidget, public ui::ActivatableScreen {
    Q_OBJECT

public:
    ~HourGridView() override;

    void Form_Activate() override;

    // The refresh, in this order; the appointment dialog calls them by name when it closes over the
    // view, and the arrows, the calendar and the quick-add panel run them too.
    Q_INVOKABLE virtual void CalculateDates() = 0;
    Q_INVOKABLE void DestroyTextBoxArray();
    Q_INVOKABLE void LoadAppointments();

    void SetScrollBars();

    // The event handlers, as the controls run them.
    void imgDown_Click();
    void imgUp_Click();
    virtual void mvwCal_DateClick() = 0;
    void tbsMain_Click();
    void txtAppt_Click(int index);
    void vBarScroll_Change();
    void Form_Resize();
    void Combo1_Click(int index);
    void dtpDate_CloseUp(int index);
    void Text1_Change();
    void cmdAdd_Click();
    void picQckAdd_Resize();
    void picCalSelect_Resize();

    // The base date, and the quick-add panel's dates and links.
    QDate m_vCurDate;
    QDate m_vQckDateFrom;
    QDate m_vQckDateTo;
    int32_t m_lngQckContID = 0;
    int32_t m_lngQckProjID = 0;

    // The fixed parts of a view.
    struct Setup {
        const char* name;         // "frmCalWeek"
        const char* caption;      // "By Week"
        const char* screenCode;   // "CWk"
        int ownTab;               // calendar::Tab
        int stepDays;             // what an arrow moves
        const char* unit;         // "week": the arrows' tool tips
        const char* gridMessage;  // AdjustControls' message
        const char* loadAction;   // LoadAppointments' message: "loading the Appointments"
        bool withBody;            // the boxes show the appointment's notes
        double outerTop, outerWidth, outerHeight;
        double barLeft, barTop, barHeight;
        double imgUpLeft;
    };
protected:
    // A column of cells: "shpDay1", its left edge and width.
    struct Column {
        QString name;
        double left;
        double width;
    };

    HourGridView(const Setup& setup, QWidget* parent);

    // Builds the grid: hour columns (cells and captions) and day columns, all in picInner. Call from
    // the view's constructor, then add the header row.
    void BuildHourColumn(const QString& cellName, const QString& labelName, double left);
    void BuildDayColumn(const Column& column);
    QLabel* NewHeader(const QString& name, double left, double top, double width);
    void NewSeparator(const QString& name, double x, double top, double bottom);

    // The steps of Form_Load the views share, each view calling them in its own order.
    void OpenApptTable();
    void SetDates(const QDate& base, const QDate& calendarDate);
    void FlattenBorders();
    void SetUpGrid();
    void AddBlankItems();
    void LoadNamesAndProjects();
    void SetGridColors();

    // The dates the range query takes, and the column of an appointment's first day (-1: none).
    virtual QDate RangeStart() const = 0;
    virtual QDate RangeEnd() const = 0;
    virtual int ColumnOf(const QDate& date) const = 0;

    QString Name(const char* procedure) const;
    static void Paint(QLabel* label, const QColor& text);

    const Setup& m_setup;
    CalendarBanner* picBanner = nullptr;
    QWidget* picOuter = nullptr;
    QWidget* picInner = nullptr;
    QScrollBar* vBarScroll = nullptr;
    QToolButton* imgDown = nullptr;
    QToolButton* imgUp = nullptr;
    QWidget* picCalSelect = nullptr;
    QCalendarWidget* mvwCal = nullptr;

    // The quick-add panel.
    QWidget* picQckAdd = nullptr;
    QLabel* lblQckAdd = nullptr;
    QLabel* Label1[7] = {};
    QLineEdit* Text1 = nullptr;
    QDateEdit* dtpDate[2] = {};
    ui::ComboBox* Combo1[4] = {};
    QPushButton* cmdAdd = nullptr;

    db::Recordset m_rsApptTable;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildQuickAdd();
    // Whether the quick-add panel at this width stands each pair of boxes one under the other, and
    // the height it needs then.
    bool QuickAddStacked(double width) const;
    double QuickAddHeight(double width) const;
    void AdjustControls();
    void SetAppointmentText(const hours::BoxPlace& place, int32_t key, const QString& text);
    bool ValidateEntry();
    void PostEntry();
    void ClearQuickAdd();
    void SelectTime(int list, int item);
    void Form_Unload();

    std::vector<Column> m_dayColumns;
    std::vector<std::vector<QWidget*>> m_cells;  // every cell column, hour columns too
    std::vector<std::size_t> m_hourCellColumn;  // the cell column of each column of hour captions
    std::vector<std::vector<QLabel*>> m_hourLabels;
    ApptBox* m_template = nullptr;  // txtAppt(0), hidden, never filled
    std::vector<ApptBox*> m_boxes;  // txtAppt(1) ...
    bool m_settingDates = false;
    bool m_unloaded = false;
};

}  // namespace calendar
