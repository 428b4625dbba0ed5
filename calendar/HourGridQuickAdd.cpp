// The quick-add panel of the week and day views: a new appointment from a subject, two dates, two
// times and optionally a contact and a project.
#include <QDateEdit>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "calendar/HourGridView.h"
#include "core/EditorLayout.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/PickList.h"
#include "platform/ui/TextLimit.h"
#include "platform/ui/Twips.h"

using core::Tail;
using namespace core::editor;

namespace calendar {

namespace {

const QColor kFormColour(0xDB, 0xD9, 0xCA);
const QColor kBandColour(0x4A, 0x4A, 0x4A);

constexpr double kPanelWidth = 2565;
constexpr double kPanelHeight = 2715;
constexpr double kRowStep = 375;
constexpr int kSubjectLength = 255;
constexpr int kTimeItems = 48;
constexpr int kEightAM = 16;
constexpr int kNineAM = 18;

// Item k of the time lists: k half hours after midnight, "12:00 AM" ... "11:30 PM".
QString TimeItem(int k) {
    const int hour = k / 2;
    const int twelve = hour % 12 == 0 ? 12 : hour % 12;
    return QStringLiteral("%1:%2 %3")
        .arg(twelve)
        .arg(k % 2 ? QStringLiteral("30") : QStringLiteral("00"))
        .arg(hour < 12 ? QStringLiteral("AM") : QStringLiteral("PM"));
}

// The time of day of a time list's selected item; null when none is selected.
QTime SelectedTime(const ui::ComboBox* list) {
    const int k = list->listIndex();
    if (k < 0 || k >= kTimeItems) return {};
    return QTime(k / 2, k % 2 ? 30 : 0);
}

}  // namespace

void HourGridView::BuildQuickAdd() {
    picQckAdd = new QWidget(this);
    picQckAdd->setObjectName(QStringLiteral("picQckAdd"));
    Fill(picQckAdd, kFormColour);
    Place(picQckAdd, Geo(picCalSelect).left, Geo(picCalSelect).bottom(), kPanelWidth, kPanelHeight);
    const double w = kPanelWidth;

    lblQckAdd = NewLabel(picQckAdd, QStringLiteral("lblQckAdd"), QStringLiteral("Quick Add - New Appointment"));
    Fill(lblQckAdd, kBandColour);
    Paint(lblQckAdd, Qt::white);
    Place(lblQckAdd, 0, 0, w, 240);

    const struct {
        const char* caption;
        double top;
    } labels[7] = {{"Appt:", 337}, {"Date:", 712}, {"To:", 712}, {"Time:", 1087},
                   {"To:", 1087},   {"Name:", 1462}, {"Project:", 1837}};
    for (int i = 0; i < 7; ++i) {
        Label1[i] = NewLabel(picQckAdd, QStringLiteral("Label1(%1)").arg(i), QString::fromLatin1(labels[i].caption));
        Place(Label1[i], 75, labels[i].top, 615, 240);
    }
    const double half = (w - 1230) / 2;
    const double toLeft = 750 + half + 75;
    Place(Label1[2], toLeft, 712, 240, 240);
    Place(Label1[4], toLeft, 1087, 240, 240);

    Text1 = new QLineEdit(picQckAdd);
    Text1->setObjectName(QStringLiteral("Text1"));
    ui::LimitLength(Text1, kSubjectLength);
    Place(Text1, 750, 300, w - 840, 315);
    connect(Text1, &QLineEdit::textChanged, this, [this] { Text1_Change(); });

    for (int i = 0; i < 2; ++i) {
        dtpDate[i] = new QDateEdit(picQckAdd);
        dtpDate[i]->setObjectName(QStringLiteral("dtpDate(%1)").arg(i));
        dtpDate[i]->setCalendarPopup(true);
        dtpDate[i]->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
        Place(dtpDate[i], i == 0 ? 750 : toLeft + 240 + 75, 675, half, 315);
        // The panel's dates follow their pickers, typed or picked.
        connect(dtpDate[i], &QDateEdit::dateChanged, this, [this, i] {
            if (!m_settingDates) dtpDate_CloseUp(i);
        });
    }
    for (int i = 0; i < 4; ++i) {
        Combo1[i] = new ui::ComboBox(ui::ComboBox::DropDownList, picQckAdd);
        Combo1[i]->setObjectName(QStringLiteral("Combo1(%1)").arg(i));
        connect(Combo1[i], &QComboBox::activated, this, [this, i] { Combo1_Click(i); });
    }
    QVector<QPair<QString, qint64>> times;
    for (int k = 0; k < kTimeItems; ++k) times.append({TimeItem(k), 0});
    Combo1[0]->addItems(times);
    Combo1[1]->addItems(times);
    Combo1[0]->setListIndex(-1);
    Combo1[1]->setListIndex(-1);
    Place(Combo1[0], 750, 1050, half, 315);
    Place(Combo1[1], toLeft + 240 + 75, 1050, half, 315);
    Place(Combo1[2], 750, 1425, w - 840, 315);
    Place(Combo1[3], 750, 1800, w - 840, 315);

    cmdAdd = new QPushButton(QStringLiteral("&Add It"), picQckAdd);
    cmdAdd->setObjectName(QStringLiteral("cmdAdd"));
    Place(cmdAdd, (w - 990) / 2, 2250, 990, 345);
    connect(cmdAdd, &QPushButton::clicked, this, [this] { cmdAdd_Click(); });

    setTabOrder(Text1, dtpDate[0]);
    setTabOrder(dtpDate[0], dtpDate[1]);
    setTabOrder(dtpDate[1], Combo1[0]);
    setTabOrder(Combo1[0], Combo1[1]);
    setTabOrder(Combo1[1], Combo1[2]);
    setTabOrder(Combo1[2], Combo1[3]);
    setTabOrder(Combo1[3], cmdAdd);

    picQckAdd->installEventFilter(this);
}

bool HourGridView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize) {
        if (watched == picQckAdd) picQckAdd_Resize();
        if (watched == picCalSelect) picCalSelect_Resize();
    }
    return QWidget::eventFilter(watched, event);
}

// Side by side, the two dates need each a date box's room for the date to show whole; below that
// the second date and the second time go a row down, under the first. A panel too narrow for the
// side-by-side rules at all keeps what it had.
bool HourGridView::QuickAddStacked(double width) const {
    return width >= 1230 &&
           (width - 1230) / 2 < ui::twips::FromPixelsX(dtpDate[0]->minimumSizeHint().width());
}

double HourGridView::QuickAddHeight(double width) const {
    return kPanelHeight + (QuickAddStacked(width) ? 2 * kRowStep : 0);
}

void HourGridView::picQckAdd_Resize() {
    const double w = ScaleWidth(picQckAdd);
    const auto width = [](QWidget* c, double width) {
        const TRect g = Geo(c);
        Place(c, g.left, g.top, width, g.height);
    };
    const bool stacked = QuickAddStacked(w);
    // The rows below a pair that stands one under the other move down by a row.
    const double down = stacked ? kRowStep : 0;
    const auto top = [](QWidget* c, double top) { Move(c, Geo(c).left, top); };
    Steps({
        [&] { top(Label1[2], 712 + down); },
        [&] { top(dtpDate[1], 675 + down); },
        [&] { top(Label1[3], 1087 + down); },
        [&] { top(Combo1[0], 1050 + down); },
        [&] { top(Label1[4], 1087 + 2 * down); },
        [&] { top(Combo1[1], 1050 + 2 * down); },
        [&] { top(Label1[5], 1462 + 2 * down); },
        [&] { top(Combo1[2], 1425 + 2 * down); },
        [&] { top(Label1[6], 1837 + 2 * down); },
        [&] { top(Combo1[3], 1800 + 2 * down); },
        [&] { top(cmdAdd, 2250 + 2 * down); },
    });
    Steps({
        [&] { width(lblQckAdd, w); },
        [&] { width(Text1, w - 840); },
        [&] { width(dtpDate[0], (w - 1230) / 2); },
        [&] { Move(Label1[2], Geo(dtpDate[0]).right() + 75, Geo(Label1[2]).top); },
        [&] { Move(dtpDate[1], Geo(Label1[2]).right() + 75, Geo(dtpDate[1]).top); },
        [&] { width(dtpDate[1], (w - 1230) / 2); },
        [&] { width(Combo1[0], Geo(dtpDate[0]).width); },
        [&] { Move(Label1[4], Geo(Label1[2]).left, Geo(Label1[4]).top); },
        [&] { Move(Combo1[1], Geo(dtpDate[1]).left, Geo(Combo1[1]).top); },
        [&] { width(Combo1[1], Geo(dtpDate[1]).width); },
        [&] { width(Combo1[2], Geo(Text1).width); },
        [&] { width(Combo1[3], Geo(Text1).width); },
        [&] { Move(cmdAdd, (w - Geo(cmdAdd).width) / 2, Geo(cmdAdd).top); },
    });
    if (!stacked) return;
    // Each second box under its first, "To:" in the captions' column, both as wide as the subject.
    Steps({
        [&] { Move(Label1[2], 75, Geo(Label1[2]).top); },
        [&] { Move(Label1[4], 75, Geo(Label1[4]).top); },
        [&] {
            for (QWidget* box : {static_cast<QWidget*>(dtpDate[0]), static_cast<QWidget*>(dtpDate[1]),
                                 static_cast<QWidget*>(Combo1[0]), static_cast<QWidget*>(Combo1[1])})
                Place(box, 750, Geo(box).top, Geo(Text1).width, Geo(box).height);
        },
    });
}

void HourGridView::SelectTime(int list, int item) {
    Combo1[list]->setListIndex(item);
}

void HourGridView::Combo1_Click(int index) {
    core::trap(Name("Combo1_Click"), Tail::Silent, [this, index] {
        switch (index) {
            case 0: {
                const int start = Combo1[0]->listIndex();
                // An hour later; from 11:00 PM on, the last item.
                if (start >= 0) SelectTime(1, std::min(start + 2, kTimeItems - 1));
                break;
            }
            case 2:
                m_lngQckContID = static_cast<int32_t>(Combo1[2]->itemData(Combo1[2]->listIndex()));
                break;
            case 3:
                m_lngQckProjID = static_cast<int32_t>(Combo1[3]->itemData(Combo1[3]->listIndex()));
                break;
            default:
                break;
        }
    });
}

void HourGridView::dtpDate_CloseUp(int index) {
    (index == 0 ? m_vQckDateFrom : m_vQckDateTo) = dtpDate[index]->date();
}

void HourGridView::Text1_Change() {
    // A new subject starts from 8:00 AM to 9:00 AM.
    SelectTime(0, kEightAM);
    Combo1_Click(0);
}

void HourGridView::cmdAdd_Click() {
    if (ValidateEntry()) PostEntry();
}

bool HourGridView::ValidateEntry() {
    if (Text1->text().size() < 1) {
        ui::MsgBox(QStringLiteral("You Must Enter An Appointment Subject"), ui::OKOnly | ui::Information,
                   QStringLiteral("Validate : Appointment Subject"));
        Text1->setFocus();
        return false;
    }
    return true;
}

void HourGridView::PostEntry() {
    core::trap(Name("PostEntry"), Tail::Action, QStringLiteral("Posting this entry"), [this] {
        ui::SetBusy();
        modGeneral::SetStatus(QStringLiteral("Posting To Do Entry"), true);
        m_rsApptTable.AddNew();
        try {
            if (!Text1->text().isEmpty()) m_rsApptTable.Fields(QStringLiteral("Subject")) = Text1->text();
            m_rsApptTable.Fields(QStringLiteral("DateFrom")) = m_vQckDateFrom;
            m_rsApptTable.Fields(QStringLiteral("DateTo")) = m_vQckDateTo;
            if (m_lngQckContID > 0) m_rsApptTable.Fields(QStringLiteral("fkContID")) = m_lngQckContID;
            if (m_lngQckProjID > 0) m_rsApptTable.Fields(QStringLiteral("fkProjID")) = m_lngQckProjID;
            if (const QTime from = SelectedTime(Combo1[0]); from.isValid())
                m_rsApptTable.Fields(QStringLiteral("TimeFrom")) = from;
            if (const QTime to = SelectedTime(Combo1[1]); to.isValid())
                m_rsApptTable.Fields(QStringLiteral("TimeTo")) = to;
            m_rsApptTable.Update();
        } catch (...) {
            m_rsApptTable.CancelUpdate();
            throw;
        }
        ui::SetArrow();
        modGeneral::SetStatus(QString());
        ClearQuickAdd();
        DestroyTextBoxArray();
        LoadAppointments();
    });
}

void HourGridView::ClearQuickAdd() {
    Text1->clear();
    m_settingDates = true;
    dtpDate[0]->setDate(m_vCurDate);
    dtpDate[1]->setDate(m_vCurDate);
    m_settingDates = false;
    m_vQckDateFrom = m_vCurDate;
    m_vQckDateTo = m_vCurDate;
    SelectTime(0, kEightAM);
    SelectTime(1, kNineAM);
    for (int i : {2, 3}) {
        Combo1[i]->setListIndex(0);
        Combo1_Click(i);
    }
    Text1->setFocus();
}

}  // namespace calendar
