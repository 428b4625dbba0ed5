#pragma once

#include <QColor>
#include <QDate>
#include <QHash>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>

#include "calendar/MonthGrid.h"
#include "platform/ui/Activation.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTimer;

namespace calendar {
class CalendarBanner;
}
namespace ui {
class ComboBox;
}

// "By Month": one month as six week rows by seven weekday columns, each cell with its day number and
// the appointments that start on that day. The month and year lists choose the month; a click on a
// cell shows its whole text in a pop-up for a few seconds; the tabs switch to the other views.
class frmCalMnth : public QWidget, public ui::ActivatableScreen {
    Q_OBJECT

public:
    explicit frmCalMnth(QWidget* parent = nullptr);
    ~frmCalMnth() override;

    // The screen registry's opener: makes the screen, loads it, shows it and activates it.
    static QWidget* Open();

    void Form_Load();
    void Form_Activate() override;

    // The refresh, always run whole and in this order. The appointment dialog calls them by name
    // when it closes over this view.
    Q_INVOKABLE void EmptyDateValues();
    Q_INVOKABLE void CreateCalendar();
    Q_INVOKABLE void HighlightCalendarDates();
    Q_INVOKABLE void LoadAppointments();

    // The event handlers, as the controls and the timer run them.
    void cboMonth_Click();
    void cboYear_Click();
    void tbsMain_Click();
    // txtSun_Click ... txtSat_Click: a click on the text of the cell at (column, row).
    void txtCell_Click(int column, int row);
    void Timer1_Timer();
    void Form_Resize();

    // The shown month: its English name and its year; and the day the screen was opened on.
    QString m_strMonth;
    int16_t m_intYear = 0;
    QDate m_vCurDate;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static constexpr int kCells = calendar::grid::kRows * calendar::grid::kColumns;
    // The cells' background, also behind the day numbers that are not today's.
    static inline const QColor kCellColour{0xEB, 0xE9, 0xE3};

    void BuildGrid();
    void BuildPopUp();
    void Refresh();
    void Form_Unload();
    void CellFrame_Resize(int column, int row);

    int16_t GetDaysPerMonth(const QString& month, int year);
    void SetTextInCell(const QDate& date, const QString& entry);

    static int Cell(int column, int row) { return column * calendar::grid::kRows + row; }

    calendar::CalendarBanner* picBanner = nullptr;
    QLabel* Label2[2] = {};
    ui::ComboBox* cboMonth = nullptr;
    ui::ComboBox* cboYear = nullptr;
    QLabel* lblCalHdr = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* lblDate = nullptr;
    QLabel* lblWkDay[calendar::grid::kColumns] = {};
    QFrame* shpBorder = nullptr;
    // By Cell(column, row): picSun(0) ... picSat(5) and their labels and texts.
    std::array<QWidget*, kCells> m_pic{};
    std::array<QLabel*, kCells> m_lbl{};
    std::array<QPlainTextEdit*, kCells> m_txt{};
    QFrame* picTooltip = nullptr;
    QPlainTextEdit* txtTooltip = nullptr;
    QLineEdit* Text1 = nullptr;
    QTimer* Timer1 = nullptr;

    // Which cell an event of a frame or of a text's viewport belongs to.
    QHash<QObject*, int> m_frameCell;
    QHash<QObject*, int> m_textCell;

    // While LoadAppointments runs: the entries for each cell, in the order they came, written to the
    // cells once at the end; and the cells of each day number.
    struct PendingTexts {
        std::array<QStringList, kCells> entries;
        QHash<QString, QList<int>> cellsOfDay;
    };
    std::optional<PendingTexts> m_pending;
    void WritePendingTexts();

    bool m_unloaded = false;
};
