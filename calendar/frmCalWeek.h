#pragma once

#include "calendar/HourGridView.h"

class QLabel;

// "By Week": Monday to Friday of the base date's week on the hour grid, with the week's title, the
// arrows a week back and forward, the month calendar that opens the day view and the quick-add panel.
class frmCalWeek : public calendar::HourGridView {
    Q_OBJECT

public:
    explicit frmCalWeek(QWidget* parent = nullptr);

    // The screen registry's opener: makes the screen, loads it, shows it and activates it.
    static QWidget* Open();

    void Form_Load();
    Q_INVOKABLE void CalculateDates() override;
    void mvwCal_DateClick() override;

    QDate m_vStartDate;  // the Monday shown
    QDate m_vEndDate;    // the Friday shown

protected:
    QDate RangeStart() const override { return m_vStartDate; }
    QDate RangeEnd() const override { return m_vEndDate; }
    int ColumnOf(const QDate& date) const override;

private:
    void SetupHeaders();

    QLabel* lblHdr = nullptr;
    QLabel* lblFill = nullptr;
    QLabel* lblDay[5] = {};
};
