#include "shell/frmHome.h"

#include <QCalendarWidget>
#include <QFrame>
#include <QHash>
#include <QLabel>
#include <QLocale>
#include <QPixmapCache>
#include <QResizeEvent>
#include <QStyle>
#include <algorithm>
#include <functional>
#include <initializer_list>
#include <stdexcept>
#include <utility>

#include "calendar/CalendarShell.h"
#include "core/Clock.h"
#include "core/EditorLayout.h"
#include "core/MainWindowLink.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/db/DbError.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/DateTexts.h"
#include "platform/ui/ListView.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/MonthView.h"
#include "platform/ui/ScreenRegistry.h"
#include "platform/ui/Twips.h"

using core::Tail;

namespace {

namespace tw = ui::twips;
using core::editor::Fill;
using core::editor::Geo;
using core::editor::Place;
using core::editor::Steps;
using core::editor::TRect;

const QColor kScreenColour(0, 102, 51);
const QColor kHeadingColour(190, 206, 183);
const QColor kColumnHeaderColour(229, 237, 225);
const QColor kStripeColour(240, 244, 238);

constexpr int kRecentNames = 22;

void SetFirstColumn(ui::ListView& list, double widthTwips) {
    if (widthTwips < 0) throw std::invalid_argument("Invalid property value");
    list.setColumnWidthTwips(0, widthTwips);
}

// The widths the layout gives the two-column lists, in twips: a text column and a value column.
constexpr double kRecNameWidth = 2415;
constexpr double kRecPhoneWidth = 1290;
constexpr double kApptDateWidth = 940;
constexpr double kApptSubjectWidth = 2765;

// A value column (a phone, a date) shows its longest value whole at the list's font: it widens past
// its given width when that needs more, and the text column beside it gives up the room, so the two
// still fit the list.
void FitValueColumn(ui::ListView& list, int column, double width, int textColumn, double textWidth) {
    // What the list's items ask for: the longest text and the cell's margins.
    const int need = static_cast<QAbstractItemView&>(list).sizeHintForColumn(column);
    const double extra = std::max(0.0, tw::FromPixelsX(need) - width);
    list.setColumnWidthTwips(column, width + extra);
    list.setColumnWidthTwips(textColumn, std::max(0.0, textWidth - extra));
}

QLabel* NewLabel(QWidget* parent, const char* name, const QString& text, const QColor& back) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(8.25);
    font.setBold(true);
    label->setFont(font);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Fill(label, back);
    return label;
}

QFrame* NewShape(QWidget* parent, const char* name) {
    auto* shape = new QFrame(parent);
    shape->setObjectName(QString::fromLatin1(name));
    shape->setFrameShape(QFrame::Box);
    shape->setFrameShadow(QFrame::Plain);
    shape->setLineWidth(1);
    return shape;
}

// The frame shape drawn around a list: its rectangle grown by 15 twips on every side.
void Frame(QFrame* shape, const QWidget* list) {
    const TRect r = Geo(list);
    Place(shape, r.left - 15, r.top - 15, r.width + 30, r.height + 30);
}

void Stripe(ui::ListView& list, QWidget* picGrdClr) {
    if (g_blnAltColors) modGeneral::AltLVBackground(list, picGrdClr, 0, -1);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Building the screen

frmHome::frmHome(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmHome"));
    setWindowTitle(QStringLiteral("Home Page"));
    resize(tw::ToPixelsX(11355), tw::ToPixelsY(7770));

    picGrdClr = new QWidget(this);
    picGrdClr->setObjectName(QStringLiteral("picGrdClr"));
    Fill(picGrdClr, kStripeColour);
    picGrdClr->hide();

    BuildBanner();
    BuildLists();
}

frmHome::~frmHome() = default;

void frmHome::BuildBanner() {
    picBanner = new QWidget(this);
    picBanner->setObjectName(QStringLiteral("picBanner"));
    Fill(picBanner, kScreenColour);
    Place(picBanner, 0, 0, 11355, 465);

    Image1 = new QLabel(picBanner);
    Image1->setObjectName(QStringLiteral("Image1"));
    // Drawn from the style's icon files once, not on every return to the home screen.
    const int side = tw::ToPixelsY(240);
    const QString iconKey = QStringLiteral("frmHome.Image1.%1").arg(side);
    QPixmap icon;
    if (!QPixmapCache::find(iconKey, &icon)) {
        icon = style()->standardIcon(QStyle::SP_DirHomeIcon).pixmap(side);
        QPixmapCache::insert(iconKey, icon);
    }
    Image1->setPixmap(icon);
    Place(Image1, 120, 105, 240, 240);

    lblBanner = NewLabel(picBanner, "lblBanner", QStringLiteral("Pomaret / Contact Manager - Home Page"),
                         kScreenColour);
    QPalette p = lblBanner->palette();
    p.setColor(QPalette::WindowText, Qt::white);
    lblBanner->setPalette(p);
    lblBanner->setAutoFillBackground(false);
    Place(lblBanner, 450, 105, 4815, 240);
}

void frmHome::BuildLists() {
    // The frames first, so that the lists are drawn over them.
    shpRecNames = NewShape(this, "shpRecNames");
    shpProjects = NewShape(this, "shpProjects");
    shpToDo = NewShape(this, "shpToDo");
    shpNotes = NewShape(this, "shpNotes");
    shpAppts = NewShape(this, "shpAppts");

    auto list = [this](const char* name, std::initializer_list<std::pair<const char*, double>> columns,
                       void (frmHome::*click)()) {
        auto* lv = new ui::ListView(this);
        lv->setObjectName(QString::fromLatin1(name));
        for (const auto& [text, width] : columns) lv->addColumn(QString::fromLatin1(text), width);
        // The labels above the lists are their column headers.
        lv->setHeaderHidden(true);
        connect(lv, &ui::ListView::rowClicked, this, [this, click](int, Qt::MouseButton button) {
            if (button == Qt::LeftButton) (this->*click)();
        });
        connect(lv, &ui::ListView::emptyAreaClicked, this, [this, click](Qt::MouseButton button) {
            if (button == Qt::LeftButton) (this->*click)();
        });
        return lv;
    };

    lblRecNames = NewLabel(this, "lblRecNames", QStringLiteral(" Recent Names"), kHeadingColour);
    Place(lblRecNames, 75, 600, 3990, 240);
    lblRecNameHdr =
        NewLabel(this, "lblRecNameHdr", QStringLiteral(" Contact Name:                             Phone:"),
                 kColumnHeaderColour);
    Place(lblRecNameHdr, 75, 825, 3990, 240);
    lvRecNames = list("lvRecNames", {{"Contact Name", kRecNameWidth}, {"Phone", kRecPhoneWidth}},
                      &frmHome::lvRecNames_Click);
    Place(lvRecNames, 75, 1050, 3990, 4365);

    lblProjects = NewLabel(this, "lblProjects", QStringLiteral(" All Projects"), kHeadingColour);
    Place(lblProjects, 75, 5625, 3990, 240);
    lvProjects = list("lvProjects", {{"Project", 2415}, {"Status", 1290}}, &frmHome::lvProjects_Click);
    Place(lvProjects, 75, 5850, 3990, 1665);

    lblToDo = NewLabel(this, "lblToDo", QStringLiteral(" To Do List"), kHeadingColour);
    Place(lblToDo, 4275, 600, 2865, 240);
    lblToDoSubjHdr = NewLabel(this, "lblToDoSubjHdr", QStringLiteral(" Subject:"), kColumnHeaderColour);
    Place(lblToDoSubjHdr, 4275, 825, 1815, 240);
    lblToDoDueHdr = NewLabel(this, "lblToDoDueHdr", QStringLiteral(" Due:"), kColumnHeaderColour);
    Place(lblToDoDueHdr, 6075, 825, 1065, 240);
    lvToDo = list("lvToDo", {{"Subject", 1440}, {"Due", 840}}, &frmHome::lvToDo_Click);
    Place(lvToDo, 4275, 1050, 2865, 2340);

    lblNotes = NewLabel(this, "lblNotes", QStringLiteral(" Notes"), kHeadingColour);
    Place(lblNotes, 4275, 3600, 2865, 240);
    lvNotes = list("lvNotes", {{"Content", 1440}}, &frmHome::lvNotes_Click);
    Place(lvNotes, 4275, 3825, 2865, 1965);

    picCal = new QWidget(this);
    picCal->setObjectName(QStringLiteral("picCal"));
    Place(picCal, 7350, 600, 3990, 2490);
    CalMain = new QCalendarWidget(picCal);
    CalMain->setObjectName(QStringLiteral("CalMain"));
    CalMain->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    Place(CalMain, 225, 0, 3525, 2460);
    ui::MakeMonthView(CalMain);
    connect(CalMain, &QCalendarWidget::clicked, this, [this](QDate date) { CalMain_DateClick(date); });

    lblAppts = NewLabel(this, "lblAppts", QStringLiteral(" Appointments"), kHeadingColour);
    Place(lblAppts, 7350, 3300, 3990, 240);
    lblApptsHdr =
        NewLabel(this, "lblApptsHdr", QStringLiteral(" Date:             Subject:"), kColumnHeaderColour);
    Place(lblApptsHdr, 7350, 3525, 3990, 240);
    lvAppts =
        list("lvAppts", {{"Date", kApptDateWidth}, {"Subject", kApptSubjectWidth}}, &frmHome::lvAppts_Click);
    Place(lvAppts, 7350, 3750, 3990, 2490);

    Frame(shpRecNames, lvRecNames);
    Frame(shpProjects, lvProjects);
    Frame(shpToDo, lvToDo);
    Frame(shpNotes, lvNotes);
    Frame(shpAppts, lvAppts);
}

QWidget* frmHome::Open() {
    auto* form = new frmHome;
    form->Form_Load();
    ui::ScreenRegistry::instance().showScreen(form);
    return form;
}

// ---------------------------------------------------------------------------------------------
// Load

void frmHome::Form_Load() {
    core::trap(QStringLiteral("frmHome.Form_Load"), Tail::ErrorBox, [this] {
        ui::SetBusy();
        modGeneral::SetStatus(QStringLiteral(" Loading Home Screen"), true);
        if (core::MainWindowLink* window = core::MainWindow()) window->SetStatusColor(kScreenColour);

        CalMain->setSelectedDate(core::Clock::Today());

        // Each loader traps its own errors: a failing list leaves the others to fill.
        LoadContactInfo();
        LoadProjects();
        LoadToDo();
        LoadNotes();
        LoadAppts();

        g_strCurScreen = QStringLiteral("Home");
        for (ui::ListView* lv : {lvAppts, lvNotes, lvProjects, lvRecNames, lvToDo})
            lv->setGridLines(g_blnGridLines);

        ui::SetArrow();
        modGeneral::SetStatus(QString());
    });
}

void frmHome::LoadContactInfo() {
    core::trap(QStringLiteral("frmHome.LoadContactInfo"), Tail::Silent, [this] {
        {
            ui::ListView::Batch batch(*lvRecNames);
            // Contact numbers grow with creation: the newest "Default" contacts. The unary plus keeps SQLite
            // off the (Setting, ShownName) index, which would sort every "Default" contact by number;
            // walking the numbers down stops after 22. Each comes with its phone as GetPhoneNum finds it:
            // the first "Home" row entered.
            g_dbLocal->ForEachRow(
                QStringLiteral("SELECT TOP %1 ContID, ShownName, ").arg(kRecentNames) +
                    modGeneral::HomePhoneColumn(QStringLiteral("Contacts.ContID")) +
                    QStringLiteral(" AS HomePhone FROM Contacts WHERE +Setting = ? ORDER BY ContID DESC"),
                {QStringLiteral("Default")}, [&](const db::Database::RowView& r) {
                    if (r.isNull(0) || r.isNull(1)) return;
                    const int row = lvRecNames->addRow(ui::RowKey("ID", r.integer(0)), r.text(1));
                    if (!r.isNull(2)) lvRecNames->setSubItem(row, 1, r.text(2));
                });
        }
        FitValueColumn(*lvRecNames, 1, kRecPhoneWidth, 0, kRecNameWidth);
        Stripe(*lvRecNames, picGrdClr);
    });
}

void frmHome::LoadProjects() {
    core::trap(QStringLiteral("frmHome.LoadProjects"), Tail::Silent, [this] {
        db::Recordset rs =
            g_dbLocal->OpenRecordset(QStringLiteral("SELECT ProjID, PName, Status ") +
                                     QStringLiteral("FROM Projects ") + QStringLiteral("ORDER BY PName"));
        ui::ListView::Batch batch(*lvProjects, rs.RecordCount());
        if (!rs.Eof()) {
            rs.MoveFirst();
            while (!rs.Eof()) {
                const QVariant id = rs.Value(QStringLiteral("ProjID"));
                const QVariant name = rs.Value(QStringLiteral("PName"));
                const QString status = rs.Value(QStringLiteral("Status")).toString();
                // Finished projects by their exact status words; the column itself ignores case.
                const bool finished =
                    status == QLatin1String("Complete") || status == QLatin1String("Closed");
                if (!id.isNull() && !name.isNull() && !finished) {
                    const int row = lvProjects->addRow(ui::RowKey("ID", id.toInt()), name.toString());
                    lvProjects->setSubItem(row, 1, QStringLiteral("* ") + status);
                }
                rs.MoveNext();
            }
        }
        Stripe(*lvProjects, picGrdClr);
        rs.Close();
    });
}

void frmHome::LoadToDo() {
    core::trap(QStringLiteral("frmHome.LoadToDo"), Tail::Silent, [this] {
        lvToDo->clear();
        ui::ListView::Batch batch(*lvToDo);
        ui::DateTexts monthDay(QStringLiteral("MM/dd"));
        // Streamed: this list has no upper bound (every open to-do item).
        g_dbLocal->ForEachRow(QStringLiteral("SELECT RefNum, Subject, DueDate, Completed, Private ") +
                                  QStringLiteral("FROM ToDo WHERE Completed = False ") +
                                  QStringLiteral("AND Private = False ") +
                                  QStringLiteral("ORDER BY DueDate DESC"),
                              {}, [&](const db::Database::RowView& r) {
                                  if (r.isNull(0) || r.isNull(1)) return;
                                  const int row =
                                      lvToDo->addRowUtf8(ui::RowKey("ID", r.integer(0)), r.utf8(1));
                                  lvToDo->setSubItem(row, 1, monthDay(r.date(2)));
                              });
        Stripe(*lvToDo, picGrdClr);
    });
}

void frmHome::LoadNotes() {
    core::trap(QStringLiteral("frmHome.LoadNotes"), Tail::Silent, [this] {
        lvNotes->clear();
        ui::ListView::Batch batch(*lvNotes);
        // Notes, not calls, tied to no contact and no project: a free note keeps the column defaults, 0.
        // Most notes belong to a contact, so the contact index narrows best; the unary plus keeps
        // SQLite from taking the project index instead, which matches nearly every row.
        g_dbLocal->ForEachRow(
            QStringLiteral("SELECT RefNum, fkContID, fkProjID, NType, TextBody FROM Attach ") +
                QStringLiteral("WHERE NType = ? ") + QStringLiteral(" AND fkContID <= ?") +
                QStringLiteral(" AND +fkProjID <= ?"),
            {QStringLiteral("N"), 0, 0}, [&](const db::Database::RowView& r) {
                if (r.isNull(0) || r.isNull(4)) return;
                lvNotes->addRow(ui::RowKey("ID", r.integer(0)), r.text(4));
            });
        Stripe(*lvNotes, picGrdClr);
    });
}

void frmHome::LoadAppts() {
    core::trap(QStringLiteral("frmHome.LoadAppts"), Tail::Silent, [this] {
        lvAppts->clear();
        {
            ui::ListView::Batch batch(*lvAppts);
            const QString today = QLatin1Char('#') +
                                  QLocale::c().toString(core::Clock::Today(), QStringLiteral("MM/dd/yyyy")) +
                                  QLatin1Char('#');
            // Everything from today on: there is no upper limit.
            ui::DateTexts weekdayMonthDay(QStringLiteral("ddd MM/dd"));
            g_dbLocal->ForEachRow(
                QStringLiteral("SELECT RefNum, Subject, DateFrom, Private FROM Appts ") +
                    QStringLiteral("WHERE DateFrom >= ") + today + QStringLiteral(" AND Private = False ") +
                    QStringLiteral("ORDER BY DateFrom"),
                {}, [&](const db::Database::RowView& r) {
                    if (r.isNull(0) || r.isNull(2)) return;
                    const int row =
                        lvAppts->addRow(ui::RowKey("ID", r.integer(0)), weekdayMonthDay(r.date(2)));
                    lvAppts->setSubItemUtf8(row, 1, r.utf8(1));
                });
        }
        FitValueColumn(*lvAppts, 0, kApptDateWidth, 1, kApptSubjectWidth);
        Stripe(*lvAppts, picGrdClr);
    });
}

// ---------------------------------------------------------------------------------------------
// Clicks

void frmHome::ListClick(ui::ListView& list, const QString& procName, const QString& action,
                        const std::function<void(int32_t)>& open) {
    const int row = list.selectedRow();
    if (modGeneral::NothingSelected(row)) return;
    const QString key = list.key(row);
    core::trap(procName, Tail::Action, action, [&] { open(modGeneral::KeyRecordNumber(key)); });
}

void frmHome::lvRecNames_Click() {
    ListClick(*lvRecNames, QStringLiteral("frmHome.lvRecNames_Click"),
              QStringLiteral("opening the Contacts screen"), [](int32_t number) {
                  g_lngCurContID = number;
                  modGeneral::CloseAllChildForms(modGeneral::Closing::ScreenSwitch);
                  ui::ScreenRegistry::instance().openRequired(QStringLiteral("frmContEntry"));
              });
}

void frmHome::lvProjects_Click() {
    ListClick(*lvProjects, QStringLiteral("frmHome.lvProjects_Click"),
              QStringLiteral("opening the Projects screen"), [](int32_t number) {
                  g_lngCurProjID = number;
                  modGeneral::CloseAllChildForms(modGeneral::Closing::ScreenSwitch);
                  ui::ScreenRegistry::instance().openRequired(QStringLiteral("frmProjEntry"));
              });
}

// The item dialogs open over the home screen, which stays loaded as the active screen "Home".
void frmHome::lvToDo_Click() {
    ListClick(*lvToDo, QStringLiteral("frmHome.lvToDo_Click"), QStringLiteral("opening the To Do dialog"),
              [](int32_t number) { modGeneral::OpenToDo(modGeneral::StoredItem(number)); });
}

void frmHome::lvNotes_Click() {
    ListClick(*lvNotes, QStringLiteral("frmHome.lvNotes_Click"),
              QStringLiteral("opening the Notes/Calls dialog"),
              [](int32_t number) { modGeneral::OpenNote(modGeneral::StoredItem(number)); });
}

void frmHome::lvAppts_Click() {
    ListClick(*lvAppts, QStringLiteral("frmHome.lvAppts_Click"),
              QStringLiteral("opening the Appointments dialog"),
              [](int32_t number) { modGeneral::OpenAppt(modGeneral::StoredItem(number)); });
}

void frmHome::CalMain_DateClick(const QDate& date) {
    // The day view opens on the clicked date, not on today.
    core::trap(QStringLiteral("frmHome.CalMain_DateClick"), Tail::ErrorBox,
               [date] { calendar::OpenDayView(false, date); });
}

// ---------------------------------------------------------------------------------------------
// Layout

void frmHome::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmHome::Form_Resize() {
    // A minimised screen keeps its layout until it is restored.
    if (core::editor::Minimised(this)) return;
    const core::editor::RedrawSuspended oneRedraw(this);

    const double innerWidth = tw::FromPixelsX(width());
    const double innerHeight = tw::FromPixelsY(height());

    Steps({
        [&] { Place(picBanner, 0, 0, innerWidth, Geo(picBanner).height); },
        [&] {
            const TRect r = Geo(lvRecNames);
            Place(lvRecNames, r.left, r.top, r.width, (innerHeight - 1095) * 0.7);
        },
        [&] { Frame(shpRecNames, lvRecNames); },
        [&] {
            const TRect names = Geo(lvRecNames);
            const TRect label = Geo(lblProjects);
            Place(lblProjects, label.left, names.top + names.height + 240, label.width, label.height);
        },
        [&] {
            const TRect label = Geo(lblProjects);
            const TRect r = Geo(lvProjects);
            Place(lvProjects, r.left, label.top + label.height, r.width,
                  (innerHeight - 1710) - Geo(lvRecNames).height);
        },
        [&] { Frame(shpProjects, lvProjects); },
        [&] {
            const TRect r = Geo(picCal);
            Place(picCal, innerWidth - r.width - 75, 615, r.width, r.height);
        },
        [&] {
            const TRect pic = Geo(picCal);
            const TRect cal = Geo(CalMain);
            Place(CalMain, (pic.width - cal.width) / 2, (pic.height - cal.height) / 2, cal.width, cal.height);
        },
        [&] {
            const double left = Geo(picCal).left;
            for (QWidget* w : {static_cast<QWidget*>(lblAppts), static_cast<QWidget*>(lblApptsHdr),
                               static_cast<QWidget*>(lvAppts)}) {
                const TRect r = Geo(w);
                Place(w, left, r.top, r.width, r.height);
            }
        },
        [&] { Frame(shpAppts, lvAppts); },
        [&] {
            const TRect names = Geo(lblRecNames);
            const TRect r = Geo(lblToDo);
            Place(lblToDo, names.left + names.width + 225, r.top,
                  innerWidth - names.width - Geo(picCal).width - 600, r.height);
        },
        [&] {
            const TRect todo = Geo(lblToDo);
            const TRect due = Geo(lblToDoDueHdr);
            Place(lblToDoDueHdr, todo.left + todo.width - 1065, due.top, due.width, due.height);
        },
        [&] {
            const TRect todo = Geo(lblToDo);
            Place(lblToDoSubjHdr, todo.left, Geo(lblToDoDueHdr).top, todo.width - 1065,
                  Geo(lblToDoSubjHdr).height);
        },
        [&] {
            const TRect todo = Geo(lblToDo);
            Place(lvToDo, todo.left, Geo(lblToDoSubjHdr).top + 240, todo.width, innerHeight * 0.35);
        },
        [&] { SetFirstColumn(*lvToDo, Geo(lvToDo).width - 1125); },
        [&] { Frame(shpToDo, lvToDo); },
        [&] {
            const TRect todo = Geo(lblToDo);
            const TRect list = Geo(lvToDo);
            Place(lblNotes, todo.left, list.top + list.height + 225, todo.width, Geo(lblNotes).height);
        },
        [&] {
            const TRect label = Geo(lblNotes);
            Place(lvNotes, label.left, label.top + 240, label.width, innerHeight * 0.35);
        },
        [&] { SetFirstColumn(*lvNotes, Geo(lvNotes).width - 285); },
        [&] { Frame(shpNotes, lvNotes); },
    });
}
