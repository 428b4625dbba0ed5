#pragma once

#include "calendar/HourGridView.h"
#include "platform/ui/ScreenRegistry.h"

class QLabel;

// "By Day": two days side by side on the hour grid, each with its own hour column, with the arrows a
// day back and forward, the month calendar that moves to a day and the quick-add panel. It opens on
// today, or on the day its opener hands over as m_vSrchDate when m_blnIsSystem is false.
class frmCalDay : public calendar::HourGridView {
    Q_OBJECT

public:
    explicit frmCalDay(QWidget* parent = nullptr);

    static QWidget* Open(const ui::OpenValues& values);

    void Form_Load();
    Q_INVOKABLE void CalculateDates() override;
    void mvwCal_DateClick() override;

    bool m_blnIsSystem = false;
    QDate m_vSrchDate;
    QDate m_vDay1;
    QDate m_vDay2;

protected:
    QDate RangeStart() const override { return m_vDay1; }
    QDate RangeEnd() const override { return m_vDay2; }
    int ColumnOf(const QDate& date) const override { return date == m_vDay1 ? 0 : 1; }

private:
    QLabel* lblFill[2] = {};
    QLabel* lblDay[2] = {};
};
