#pragma once

#include <QString>
#include <QWidget>

#include "platform/ui/Activation.h"

class QFrame;
class QLabel;

namespace calendar {
class CalendarBanner;
}
namespace ui {
class ComboBox;
class ListView;
}  // namespace ui

// "Appointment List": the appointments of one filter (upcoming, past or all), latest start first,
// with their dates, contact and project. A click on a row opens the appointment dialog on it; the
// tabs switch to the other calendar views.
class frmCalList : public QWidget, public ui::ActivatableScreen {
    Q_OBJECT

public:
    explicit frmCalList(QWidget* parent = nullptr);

    // The screen registry's opener: makes the screen, loads it, shows it and activates it.
    static QWidget* Open();

    void Form_Load();
    void Form_Activate() override;

    // Rebuilds the list for the filter last chosen. The appointment dialog calls it by name when it
    // closes over this view.
    Q_INVOKABLE void LoadAppointments();

    void cboFiltOpt_Click();
    void lvResult_Click();
    void tbsMain_Click();
    void Form_Resize();

    QString m_strFilter;

    ui::ComboBox* cboFiltOpt = nullptr;
    ui::ListView* lvResult = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    calendar::CalendarBanner* picBanner = nullptr;
    QLabel* lblSubHeader[2] = {};
    QLabel* lblHdr[5] = {};
    QFrame* shpResult = nullptr;
    QWidget* picGrdClr = nullptr;
};
