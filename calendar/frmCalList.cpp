#include "calendar/frmCalList.h"

#include <QFrame>
#include <QLabel>

#include "calendar/CalendarShell.h"
#include "core/Clock.h"
#include "core/EditorLayout.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/ui/DateTexts.h"
#include "platform/ui/ListView.h"
#include "platform/ui/PickList.h"
#include "platform/ui/ScreenRegistry.h"
#include "platform/ui/Twips.h"

using core::Tail;
using namespace core::editor;

namespace {

const QString kUpcoming = QStringLiteral("Upcoming Appointments");
const QString kPast = QStringLiteral("Past Appointments");
const QString kAll = QStringLiteral("All Appointments");

const QColor kSubHeaderColour(0xD4, 0xCB, 0xB1);
const QColor kColumnHeaderColour(0xEB, 0xE9, 0xE3);
const QColor kStripeColour(0xF2, 0xF2, 0xEF);

// The columns' shares of the width; the labels above take them of SW - 300, the list's own columns
// of SW - 565, which leaves room for the vertical scroll bar.
constexpr double kFractions[5] = {0.24, 0.15, 0.15, 0.23, 0.23};

// The start and end dates as the user's short date.
const QString kShortDate = QStringLiteral("M/d/yyyy");

}  // namespace

frmCalList::frmCalList(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmCalList"));
    setWindowTitle(QStringLiteral("Appointment List"));
    resize(ui::twips::ToPixelsX(11355), ui::twips::ToPixelsY(7770));

    picBanner = new calendar::CalendarBanner(this);
    connect(picBanner, &calendar::CalendarBanner::tabChosen, this, [this] { tbsMain_Click(); });

    picGrdClr = new QWidget(this);
    picGrdClr->setObjectName(QStringLiteral("picGrdClr"));
    Fill(picGrdClr, kStripeColour);
    picGrdClr->hide();

    lblSubHeader[0] = NewHeaderLabel(this, QStringLiteral("lblSubHeader(0)"), QStringLiteral(" Appointments -"),
                                     kSubHeaderColour);
    lblSubHeader[1] =
        NewHeaderLabel(this, QStringLiteral("lblSubHeader(1)"), QStringLiteral("View:"), kSubHeaderColour);
    Place(lblSubHeader[0], 150, 615, 11055, 315);
    Place(lblSubHeader[1], 1575, 615, 465, 315);
    cboFiltOpt = new ui::ComboBox(ui::ComboBox::DropDownList, this);
    cboFiltOpt->setObjectName(QStringLiteral("cboFiltOpt"));
    QPalette p = cboFiltOpt->palette();
    p.setColor(QPalette::Button, kSubHeaderColour);
    p.setColor(QPalette::Base, kSubHeaderColour);
    cboFiltOpt->setPalette(p);
    Place(cboFiltOpt, 2100, 615, 2565, 315);
    // The user's choice; the program's own choice calls the handler itself.
    connect(cboFiltOpt, &QComboBox::activated, this, [this] { cboFiltOpt_Click(); });

    const char* const headers[5][2] = {{"lblHdrEvent", " Event"},
                                       {"lblHdrFrom", " From"},
                                       {"lblHdrTo", " To"},
                                       {"lblHdrName", " Name"},
                                       {"lblHdrPrj", " Project"}};
    for (int k = 0; k < 5; ++k) {
        lblHdr[k] = NewHeaderLabel(this, QLatin1String(headers[k][0]), QLatin1String(headers[k][1]),
                                   kColumnHeaderColour);
        Place(lblHdr[k], 150, 1080, 1000, 240);
    }
    lvResult = NewList(this, QStringLiteral("lvResult"), &shpResult, QStringLiteral("shpResult"),
                       {{QStringLiteral("Event"), 0},
                        {QStringLiteral("From"), 0},
                        {QStringLiteral("To"), 0},
                        {QStringLiteral("Name"), 0},
                        {QStringLiteral("Project"), 0}});
    Place(lvResult, 150, 1320, 11055, 5985);
    const auto click = [this](Qt::MouseButton button) {
        if (button == Qt::LeftButton) lvResult_Click();
    };
    connect(lvResult, &ui::ListView::rowClicked, this, [click](int, Qt::MouseButton b) { click(b); });
    connect(lvResult, &ui::ListView::emptyAreaClicked, this, click);
}

QWidget* frmCalList::Open() {
    auto* form = new frmCalList;
    form->Form_Load();
    ui::ScreenRegistry::instance().showScreen(form);
    form->Form_Activate();
    return form;
}

void frmCalList::Form_Load() {
    core::trap(QStringLiteral("frmCalList.Form_Load"), Tail::ErrorBox, [this] {
        calendar::BeginLoad(QStringLiteral(" Loading Calendar List View"));
        for (const QString& filter : {kUpcoming, kPast, kAll}) cboFiltOpt->addItem(filter);
        cboFiltOpt->setListIndex(cboFiltOpt->findText(kUpcoming));
        cboFiltOpt_Click();
        lvResult->setGridLines(g_blnGridLines);
        calendar::EndLoad(QStringLiteral("CList"));
    });
}

void frmCalList::Form_Activate() {
    Steps({[this] { picBanner->SelectTab(calendar::kListTab); }});
}

void frmCalList::cboFiltOpt_Click() {
    m_strFilter = cboFiltOpt->text();
    LoadAppointments();
    if (g_blnAltColors) modGeneral::AltLVBackground(*lvResult, picGrdClr, 0, -1);
}

void frmCalList::LoadAppointments() {
    core::trap(QStringLiteral("frmCalList.LoadAppointments"), Tail::ErrorBox, [this] {
        // Names and projects come with their appointments, in one statement. Only the start date is
        // compared, by day: an appointment of today is neither upcoming nor past.
        QString sql = QStringLiteral(
            "SELECT Appts.RefNum, Appts.Subject, Appts.DateFrom, Appts.DateTo, Contacts.ShownName, "
            "Projects.PName FROM Appts LEFT JOIN Contacts ON Contacts.ContID = Appts.fkContID "
            "LEFT JOIN Projects ON Projects.ProjID = Appts.fkProjID ");
        QVariantList params;
        const QDate today = core::Clock::Today();
        if (m_strFilter == kUpcoming) {
            sql += QStringLiteral("WHERE Appts.DateFrom >= ? ");
            params << today.addDays(1).toString(Qt::ISODate);
        } else if (m_strFilter == kPast) {
            sql += QStringLiteral("WHERE Appts.DateFrom < ? ");
            params << today.toString(Qt::ISODate);
        }
        sql += QStringLiteral("ORDER BY Appts.DateFrom DESC");

        lvResult->clear();
        ui::ListView::Batch batch(*lvResult);
        ui::DateTexts dates(kShortDate);
        g_dbLocal->ForEachRow(sql, params, [&](const db::Database::RowView& row) {
            if (row.isNull(0) || row.isNull(1)) return;
            const int r = lvResult->addRow(ui::RowKey("ID", row.integer(0)), row.text(1));
            for (const int column : {1, 2}) {
                if (!row.isNull(column + 1)) lvResult->setSubItem(r, column, dates(row.date(column + 1)));
            }
            for (const int column : {3, 4}) {
                if (!row.isNull(column + 1)) lvResult->setSubItem(r, column, row.text(column + 1));
            }
        });
    });
}

// The dialog's entry point brings an open appointment dialog forward as it is, so a second click
// cannot hand it another appointment's number.
void frmCalList::lvResult_Click() {
    const int row = lvResult->selectedRow();
    if (modGeneral::NothingSelected(row)) return;
    const QString key = lvResult->key(row);
    core::trap(QStringLiteral("frmCalList.lvResult_Click"), Tail::Action, QStringLiteral("populating the grid"),
               [&] { modGeneral::OpenAppt(modGeneral::StoredItem(modGeneral::KeyRecordNumber(key))); });
}

void frmCalList::tbsMain_Click() {
    const int tab = picBanner->SelectedTab();
    core::trap(QStringLiteral("frmCalList.tbsMain_Click"), Tail::ErrorBox, [tab] {
        if (tab != calendar::kListTab) calendar::OpenTab(tab);
    });
}

void frmCalList::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

// From the width and height alone, each placement chained to the places the earlier ones gave.
void frmCalList::Form_Resize() {
    if (Minimised(this)) return;
    Steps({[this] { Place(picBanner, 0, 0, ScaleWidth(this), Geo(picBanner).height); }});

    const RedrawSuspended oneRedraw(this);
    Steps({
        [this] { Place(lblSubHeader[0], 150, 615, ScaleWidth(this) - 300, Geo(lblSubHeader[0]).height); },
        [this] {
            const TRect s = Geo(lblSubHeader[0]);
            Move(lblSubHeader[1], s.left + 1425, s.top);
        },
        [this] {
            const TRect s = Geo(lblSubHeader[0]);
            Move(cboFiltOpt, s.left + 1950, s.top);
        },
    });
    for (int k = 0; k < 5; ++k) {
        Steps({[this, k] {
            const TRect before = k == 0 ? Geo(lblSubHeader[0]) : Geo(lblHdr[k - 1]);
            const double left = k == 0 ? before.left : before.right();
            const double top = k == 0 ? before.top + 465 : before.top;
            Place(lblHdr[k], left, top, (ScaleWidth(this) - 300) * kFractions[k], Geo(lblHdr[k]).height);
        }});
    }
    Steps({[this] {
        const TRect e = Geo(lblHdr[0]);
        Place(lvResult, e.left, e.top + 240, ScaleWidth(this) - 300, ScaleHeight(this) - 1785);
    }});
    for (int k = 0; k < 5; ++k) {
        Steps({[this, k] {
            const double width = (ScaleWidth(this) - 565) * kFractions[k];
            if (width < 0) throw std::invalid_argument("Invalid property value");
            lvResult->setColumnWidthTwips(k, width);
        }});
    }
    Steps({[this] {
        const TRect l = Geo(lvResult);
        Place(shpResult, l.left - 15, l.top - 255, l.width + 30, l.height + 270);
    }});
}
