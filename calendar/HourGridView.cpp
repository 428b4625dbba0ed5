#include "calendar/HourGridView.h"

#include <QCalendarWidget>
#include <QCloseEvent>
#include <QDateEdit>
#include <QFontMetricsF>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <functional>

#include "calendar/ApptBox.h"
#include "calendar/CalendarShell.h"
#include "calendar/DisplayFormat.h"
#include "core/EditorLayout.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/db/Database.h"
#include "platform/db/Values.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/MonthView.h"
#include "platform/ui/PickList.h"
#include "platform/ui/Twips.h"

using core::Tail;
using namespace core::editor;

namespace calendar {

namespace {

const QColor kCanvasColour(0xEB, 0xE9, 0xE3);
const QColor kLineColour(0xD6, 0xD3, 0xCB);
const QColor kHeaderColour(0xD4, 0xCB, 0xB1);
const QColor kFormColour(0xDB, 0xD9, 0xCA);

constexpr double kFormWidth = 11355;
constexpr double kFormHeight = 7770;
constexpr double kBarWidth = 285;
constexpr double kCalSelectHeight = 4440;
constexpr double kCalendarWidth = 2850;
constexpr double kCalendarHeight = 4455;

// The width of a month view whose columns show the day headers whole: its list view lays a cell's
// text out inside a margin, in fractions of a pixel, and cuts one a fraction too wide ("W...").
double DayHeadersWidth(const QCalendarWidget* calendar) {
    const QFontMetricsF metrics(calendar->font());
    qreal widest = 0;
    for (int day = Qt::Monday; day <= Qt::Sunday; ++day)
        widest = std::max(widest,
                          metrics.horizontalAdvance(calendar->locale().dayName(day, QLocale::ShortFormat)));
    const int margin = calendar->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, calendar) + 1;
    return ui::twips::FromPixelsX(7 * (static_cast<int>(std::ceil(widest)) + 2 * margin));
}

QString Indexed(const QString& name, int index) {
    return name + QLatin1Char('(') + QString::number(index) + QLatin1Char(')');
}

// A cell of the grid: the canvas colour inside a one-line border.
class GridCell : public QWidget {
public:
    GridCell(QWidget* parent, const QString& name) : QWidget(parent) {
        setObjectName(name);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    void setBorderColor(const QColor& colour) {
        m_border = colour;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), kCanvasColour);
        p.setPen(m_border);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }

private:
    QColor m_border = QColor(0xF0, 0xF0, 0xF0);
};

// A stored time of day; null when none was stored.
QTime StoredTime(const db::Database::RowView& row, int column) {
    if (row.isNull(column)) return {};
    const QVariant stored = db::values::fromStorage(row.text(column));
    return stored.typeId() == QMetaType::QDateTime ? stored.toDateTime().time() : stored.toTime();
}

}  // namespace

HourGridView::HourGridView(const Setup& setup, QWidget* parent) : QWidget(parent), m_setup(setup) {
    setObjectName(QString::fromLatin1(setup.name));
    setWindowTitle(QString::fromLatin1(setup.caption));
    Fill(this, kFormColour);
    resize(ui::twips::ToPixelsX(kFormWidth), ui::twips::ToPixelsY(kFormHeight));

    picBanner = new CalendarBanner(this);
    connect(picBanner, &CalendarBanner::tabChosen, this, [this] { tbsMain_Click(); });

    picOuter = new QWidget(this);
    picOuter->setObjectName(QStringLiteral("picOuter"));
    Fill(picOuter, kFormColour);
    Place(picOuter, 75, setup.outerTop, setup.outerWidth, setup.outerHeight);
    picInner = new QWidget(picOuter);
    picInner->setObjectName(QStringLiteral("picInner"));
    Fill(picInner, kCanvasColour);
    Place(picInner, 0, 0, setup.outerWidth - (setup.ownTab == kWeekTab ? 0 : 15), setup.outerHeight);

    vBarScroll = new QScrollBar(Qt::Vertical, this);
    vBarScroll->setObjectName(QStringLiteral("vBarScroll"));
    Place(vBarScroll, setup.barLeft, setup.barTop, kBarWidth, setup.barHeight);
    connect(vBarScroll, &QScrollBar::valueChanged, this, [this] { vBarScroll_Change(); });

    const QString unit = QString::fromLatin1(setup.unit);
    imgDown = new QToolButton(this);
    imgDown->setObjectName(QStringLiteral("imgDown"));
    imgDown->setArrowType(Qt::LeftArrow);
    imgDown->setAutoRaise(true);
    imgDown->setFocusPolicy(Qt::NoFocus);
    imgDown->setToolTip(QStringLiteral("Go back one ") + unit);
    Place(imgDown, 150, 675, 105, 105);
    connect(imgDown, &QToolButton::clicked, this, [this] { imgDown_Click(); });
    imgUp = new QToolButton(this);
    imgUp->setObjectName(QStringLiteral("imgUp"));
    imgUp->setArrowType(Qt::RightArrow);
    imgUp->setAutoRaise(true);
    imgUp->setFocusPolicy(Qt::NoFocus);
    imgUp->setToolTip(QStringLiteral("Go forward one ") + unit);
    Place(imgUp, setup.imgUpLeft, 675, 105, 105);
    connect(imgUp, &QToolButton::clicked, this, [this] { imgUp_Click(); });

    picCalSelect = new QWidget(this);
    picCalSelect->setObjectName(QStringLiteral("picCalSelect"));
    Fill(picCalSelect, kFormColour);
    Place(picCalSelect, setup.barLeft + kBarWidth + 75, 540, kFormWidth - setup.outerWidth - kBarWidth - 225,
          kCalSelectHeight);
    mvwCal = new QCalendarWidget(picCalSelect);
    mvwCal->setObjectName(QStringLiteral("mvwCal"));
    mvwCal->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    Place(mvwCal, 0, 0, kCalendarWidth, kCalendarHeight);
    ui::MakeMonthView(mvwCal);
    connect(mvwCal, &QCalendarWidget::clicked, this, [this] { mvwCal_DateClick(); });
    picCalSelect->installEventFilter(this);

    m_template = new ApptBox(picInner);
    m_template->setObjectName(QStringLiteral("txtAppt(0)"));
    m_template->hide();

    BuildQuickAdd();
}

HourGridView::~HourGridView() = default;

QString HourGridView::Name(const char* procedure) const {
    return QString::fromLatin1(m_setup.name) + QLatin1Char('.') + QString::fromLatin1(procedure);
}

void HourGridView::Paint(QLabel* label, const QColor& text) {
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, text);
    label->setPalette(p);
}

// ---------------------------------------------------------------------------------------------
// The grid

void HourGridView::BuildHourColumn(const QString& cellName, const QString& labelName, double left) {
    std::vector<QWidget*> cells;
    std::vector<QLabel*> labels;
    QFont bold = font();
    bold.setBold(true);
    for (int r = 0; r < hours::kRows; ++r) {
        auto* cell = new GridCell(picInner, Indexed(cellName, r));
        Place(cell, left, 0, 765, hours::kRowHeight);
        cells.push_back(cell);
    }
    for (int r = 0; r < hours::kRows; ++r) {
        QLabel* label = NewLabel(picInner, Indexed(labelName, r), hours::HourCaptions().at(r));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setFont(bold);
        Fill(label, kCanvasColour);
        Place(label, r == 0 ? left + 75 : 0, r == 0 ? 75 : 0, 615, 240);
        labels.push_back(label);
    }
    m_hourCellColumn.push_back(m_cells.size());
    m_hourLabels.push_back(labels);
    m_cells.push_back(cells);
}

void HourGridView::BuildDayColumn(const Column& column) {
    std::vector<QWidget*> cells;
    for (int r = 0; r < hours::kRows; ++r) {
        auto* cell = new GridCell(picInner, Indexed(column.name, r));
        Place(cell, column.left, 0, column.width, hours::kRowHeight);
        cells.push_back(cell);
    }
    m_cells.push_back(cells);
    m_dayColumns.push_back(column);
}

QLabel* HourGridView::NewHeader(const QString& name, double left, double top, double width) {
    QLabel* label = NewHeaderLabel(this, name, QString(), kHeaderColour);
    label->setAlignment(Qt::AlignCenter);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    Place(label, left, top, width, 240);
    return label;
}

void HourGridView::NewSeparator(const QString& name, double x, double top, double bottom) {
    auto* line = new QFrame(this);
    line->setObjectName(name);
    Fill(line, kLineColour);
    Place(line, x, top, 15, bottom - top);
}

void HourGridView::AdjustControls() {
    core::trap(Name("AdjustControls"), Tail::Action, QString::fromLatin1(m_setup.gridMessage), [this] {
        // The cells lie on one another as built: row r goes 15 twips into the row above.
        for (int r = 1; r < hours::kRows; ++r) {
            for (std::size_t c = 0; c < m_cells.size(); ++c) {
                const TRect above = Geo(m_cells[c][r - 1]);
                Place(m_cells[c][r], above.left, hours::RowTop(r), above.width, hours::kRowHeight);
            }
            for (std::size_t h = 0; h < m_hourLabels.size(); ++h) {
                const TRect cell = Geo(m_cells[m_hourCellColumn[h]][r]);
                Move(m_hourLabels[h][r], cell.left + 75, cell.top + 75);
            }
        }
    });
}

void HourGridView::SetScrollBars() {
    const double range = hours::kCanvasHeight - m_setup.outerHeight;
    const double inner = ScaleHeight(picOuter);
    Steps({
        [this] { vBarScroll->setMinimum(0); },
        [&] { vBarScroll->setMaximum(static_cast<int>(std::nearbyint(range))); },
        [&] { vBarScroll->setPageStep(static_cast<int>(std::nearbyint(inner / 7))); },
        [&] { vBarScroll->setSingleStep(static_cast<int>(std::nearbyint(inner / 9.6))); },
    });
}

void HourGridView::vBarScroll_Change() {
    // The thumb moved down shows later hours: the canvas goes up by the bar's value.
    Place(picInner, 0, -vBarScroll->value(), Geo(picInner).width, hours::kCanvasHeight);
}

void HourGridView::SetGridColors() {
    for (int r = 0; r < hours::kRows; ++r)
        for (const auto& column : m_cells) static_cast<GridCell*>(column[r])->setBorderColor(kLineColour);
}

// ---------------------------------------------------------------------------------------------
// Load steps

void HourGridView::OpenApptTable() {
    m_rsApptTable = g_dbLocal->OpenRecordset(QStringLiteral("Appts"));
}

void HourGridView::SetDates(const QDate& base, const QDate& calendarDate) {
    m_vCurDate = base;
    m_vQckDateFrom = base;
    m_vQckDateTo = base;
    m_settingDates = true;
    dtpDate[0]->setDate(base);
    dtpDate[1]->setDate(base);
    m_settingDates = false;
    mvwCal->setSelectedDate(calendarDate);
}

void HourGridView::FlattenBorders() {
    modAPI::FlatBorder(Text1);
    for (QDateEdit* picker : dtpDate) modAPI::FlatBorder(picker);
    for (ui::ComboBox* list : Combo1) modAPI::FlatBorder(list);
}

void HourGridView::SetUpGrid() {
    AdjustControls();
    Place(picInner, 0, 0, Geo(picInner).width, hours::kCanvasHeight);
    SetScrollBars();
}

void HourGridView::AddBlankItems() {
    Combo1[2]->addItem(QStringLiteral(" "), 0);
    Combo1[3]->addItem(QStringLiteral(" "), 0);
}

void HourGridView::LoadNamesAndProjects() {
    // Read when first used: the blank entry stays first and stands for none until then.
    Combo1[2]->fillOnFirstUse([this] { modGeneral::LoadAllNames(*Combo1[2]); });
    Combo1[3]->fillOnFirstUse([this] { modGeneral::LoadAllProjects(*Combo1[3]); });
}

// ---------------------------------------------------------------------------------------------
// Activation, layout, unload

void HourGridView::Form_Activate() {
    Steps({
        [this] { picBanner->SelectTab(m_setup.ownTab); },
        [this] {
            // The 8:00a row at the top, on every activation.
            vBarScroll->setValue(5448);
            vBarScroll_Change();
        },
    });
}

void HourGridView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void HourGridView::Form_Resize() {
    if (Minimised(this)) return;
    Steps({
        [this] { Place(picBanner, 0, 0, ScaleWidth(this), Geo(picBanner).height); },
        [this] {
            const TRect bar = Geo(vBarScroll);
            const double width = ScaleWidth(this) - m_setup.outerWidth - bar.width - 225;
            // Where the window is too short for both, the month calendar gives up height, down to
            // what it needs, so that the quick-add panel stays whole, its button on screen.
            const double room = ScaleHeight(this) - Geo(picBanner).height - 150;
            const double least = ui::twips::FromPixelsY(mvwCal->minimumSizeHint().height());
            const double height = std::min(kCalSelectHeight, std::max(least, room - QuickAddHeight(width)));
            Place(picCalSelect, bar.left + bar.width + 75, Geo(picBanner).height + 75, width, height);
        },
        [this] {
            const TRect cal = Geo(picCalSelect);
            Place(picQckAdd, cal.left, cal.top + cal.height, cal.width,
                  ScaleHeight(this) - Geo(picBanner).height - cal.height - 150);
        },
    });
}

void HourGridView::picCalSelect_Resize() {
    Steps({
        // No larger than its picture: clipped, its month and year buttons would be cut. Wide enough
        // for its day headers where the font needs more than the design gave.
        [this] {
            Place(mvwCal, Geo(mvwCal).left, Geo(mvwCal).top,
                  std::min(std::max(kCalendarWidth, DayHeadersWidth(mvwCal)), ScaleWidth(picCalSelect)),
                  std::min(kCalendarHeight, ScaleHeight(picCalSelect)));
        },
        [this] { Move(mvwCal, (ScaleWidth(picCalSelect) - Geo(mvwCal).width) / 2, Geo(mvwCal).top); },
        [this] { Move(mvwCal, Geo(mvwCal).left, (ScaleHeight(picCalSelect) - Geo(mvwCal).height) / 2); },
    });
}

void HourGridView::closeEvent(QCloseEvent* event) {
    Form_Unload();
    QWidget::closeEvent(event);
}

void HourGridView::Form_Unload() {
    if (m_unloaded) return;
    m_unloaded = true;
    core::trap(Name("Form_Unload"), Tail::Silent, [this] { m_rsApptTable.Close(); });
}

// ---------------------------------------------------------------------------------------------
// Moving through the dates

void HourGridView::imgDown_Click() {
    core::trap(Name("imgDown_Click"), Tail::ErrorBox, [this] {
        m_vCurDate = m_vCurDate.addDays(-m_setup.stepDays);
        CalculateDates();
        DestroyTextBoxArray();
        LoadAppointments();
    });
}

void HourGridView::imgUp_Click() {
    core::trap(Name("imgUp_Click"), Tail::ErrorBox, [this] {
        m_vCurDate = m_vCurDate.addDays(m_setup.stepDays);
        CalculateDates();
        DestroyTextBoxArray();
        LoadAppointments();
    });
}

void HourGridView::tbsMain_Click() {
    const int tab = picBanner->SelectedTab();
    core::trap(Name("tbsMain_Click"), Tail::ErrorBox, [this, tab] {
        // This view's own tab opens nothing; the others replace it.
        if (tab != m_setup.ownTab) OpenTab(tab);
    });
}

// ---------------------------------------------------------------------------------------------
// The appointment boxes

void HourGridView::LoadAppointments() {
    int count = 0;
    core::trap(Name("LoadAppointments"), Tail::Action, QString::fromLatin1(m_setup.loadAction), [&] {
        struct Entry {
            int32_t key;
            QString text;
        };
        std::vector<hours::BoxSource> sources;
        std::vector<Entry> entries;
        // Lanes are shared out among all the rows read, so the boxes are placed when the reading ends,
        // also when the query fails part way: the rows read so far keep their boxes, shown before the
        // error is.
        struct PlaceAtEnd {
            std::function<void()> place;
            ~PlaceAtEnd() { place(); }
        } placeAtEnd{[&] {
            std::vector<hours::ColumnSpan> spans;
            for (const Column& c : m_dayColumns) spans.push_back({c.left, c.width});
            const std::vector<hours::BoxPlace> places = hours::PlaceBoxes(sources, spans);
            for (std::size_t i = 0; i < places.size(); ++i)
                SetAppointmentText(places[i], entries[i].key, entries[i].text);
        }};
        const QString body = m_setup.withBody ? QStringLiteral(", Appts.TextBody") : QString();
        // In start order, so that overlapping boxes take their lanes from the earliest.
        g_dbLocal->ForEachRow(
            QStringLiteral("SELECT Appts.RefNum, Appts.Subject, Appts.DateFrom, Appts.TimeFrom, Appts.TimeTo, "
                           "Contacts.ShownName, Projects.PName") +
                body +
                QStringLiteral(" FROM Appts LEFT JOIN Contacts ON Contacts.ContID = Appts.fkContID "
                               "LEFT JOIN Projects ON Projects.ProjID = Appts.fkProjID "
                               "WHERE Appts.DateFrom BETWEEN ? AND ? "
                               "ORDER BY Appts.DateFrom, Appts.TimeFrom, Appts.RefNum"),
            {RangeStart(), RangeEnd()}, [&](const db::Database::RowView& row) {
                ++count;
                const QTime start = StoredTime(row, 3);
                const QTime end = StoredTime(row, 4);
                const auto timeText = [](const QTime& t) {
                    return t.isValid() ? FormatDisplay(t, u"h:nna/p") : QString();
                };
                QString text = timeText(start) + QStringLiteral(" - ") + timeText(end) + QLatin1Char('\n') +
                               (row.isNull(1) ? QString() : row.text(1));
                for (int column : {5, 6}) {
                    // A link to 0 or to no stored record gives no line.
                    if (!row.isNull(column) && !row.text(column).isEmpty())
                        text += QLatin1Char('\n') + row.text(column);
                }
                if (m_setup.withBody && !row.isNull(7) && !row.text(7).isEmpty()) {
                    QString notes = row.text(7);
                    notes.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
                    text += QLatin1Char('\n') + notes;
                }
                const int column = ColumnOf(row.date(2));
                if (column < 0) return;
                sources.push_back({column, start, end});
                entries.push_back({static_cast<int32_t>(row.integer(0)), text});
            });
    });
    // After the trap, which puts the status line back when a load fails: the count is then that of the
    // rows read before the failure, whose boxes stay.
    if (count < 1) {
        modGeneral::SetStatus(QString());
    } else {
        modGeneral::SetStatus(QStringLiteral("There are ") + QString::number(count) +
                              QStringLiteral(" appointments listed for this date range."));
    }
}

void HourGridView::SetAppointmentText(const hours::BoxPlace& place, int32_t key, const QString& text) {
    core::trap(Name("SetAppointmentText"), Tail::Silent, [&] {
        const int index = static_cast<int>(m_boxes.size()) + 1;
        auto* box = new ApptBox(picInner);
        box->setObjectName(Indexed(QStringLiteral("txtAppt"), index));
        box->setFont(m_template->font());
        m_boxes.push_back(box);
        Place(box, place.left, place.top, place.width, place.height);
        box->setProperty("Tag", QString::number(key));
        box->setPlainText(text);
        box->show();
        connect(box, &ApptBox::clicked, this, [this, index] { txtAppt_Click(index); });
    });
}

void HourGridView::DestroyTextBoxArray() {
    while (!m_boxes.empty()) {
        delete m_boxes.back();
        m_boxes.pop_back();
    }
}

void HourGridView::txtAppt_Click(int index) {
    core::trap(Name("txtAppt_Click"), Tail::ErrorBox, [this, index] {
        if (index < 1 || index > static_cast<int>(m_boxes.size())) return;
        const int32_t key = m_boxes[index - 1]->property("Tag").toString().toInt();
        // An open appointment dialog comes forward as it is, still on its own appointment.
        modGeneral::OpenAppt(modGeneral::StoredItem(key));
    });
}

}  // namespace calendar
