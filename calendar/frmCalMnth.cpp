#include "calendar/frmCalMnth.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTimer>
#include <cmath>
#include <stdexcept>

#include "calendar/CalendarShell.h"
#include "calendar/DisplayFormat.h"
#include "core/Clock.h"
#include "core/EditorLayout.h"
#include "core/Trap.h"
#include "platform/ui/PickList.h"
#include "platform/ui/ScreenRegistry.h"
#include "platform/ui/Twips.h"

using core::Tail;
using namespace core::editor;
namespace grid = calendar::grid;

namespace {

const char* const kDays[grid::kColumns] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

const QColor kHeaderColour(0xD4, 0xCB, 0xB1);

// The cells' design sizes, in twips.
constexpr double kCellWidth = 1290;
constexpr double kCellHeight = 990;
constexpr double kRowPitch = 1004;

QString Indexed(const QString& name, int index) {
    return name + QLatin1Char('(') + QString::number(index) + QLatin1Char(')');
}

void PaintText(QWidget* w, const QColor& colour) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, colour);
    p.setColor(QPalette::Text, colour);
    w->setPalette(p);
}

QLabel* BannerLabel(QWidget* banner, const QString& name, const QString& caption) {
    QLabel* l = NewLabel(banner, name, caption);
    PaintText(l, Qt::white);
    return l;
}

// A box of text that only shows: no caret, no scroll bars unless asked, outside the tab order.
QPlainTextEdit* ShowBox(QWidget* parent, const QString& name, const QColor& back) {
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setFrameShape(QFrame::NoFrame);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setFocusPolicy(Qt::ClickFocus);
    box->setContextMenuPolicy(Qt::NoContextMenu);
    box->document()->setDocumentMargin(1);
    QPalette p = box->palette();
    p.setColor(QPalette::Base, back);
    box->setPalette(p);
    return box;
}

// The entry of a list whose text is `text`, selected from the program; an entry the list lacks is
// an error, as it is for the user's own choice.
void Select(ui::ComboBox* list, const QString& text) {
    const int index = list->findText(text);
    if (index < 0) throw std::invalid_argument("Invalid property value");
    list->setListIndex(index);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Building the screen

frmCalMnth::frmCalMnth(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmCalMnth"));
    setWindowTitle(QStringLiteral("By Month"));
    resize(ui::twips::ToPixelsX(9300), ui::twips::ToPixelsY(7650));

    picBanner = new calendar::CalendarBanner(this);
    connect(picBanner, &calendar::CalendarBanner::tabChosen, this, [this] { tbsMain_Click(); });
    Label2[0] = BannerLabel(picBanner, QStringLiteral("Label2(0)"), QStringLiteral(" View month:"));
    Place(Label2[0], 1275, 75, 1140, 240);
    cboMonth = new ui::ComboBox(ui::ComboBox::DropDownList, picBanner);
    cboMonth->setObjectName(QStringLiteral("cboMonth"));
    Place(cboMonth, 2475, 50, 2040, 330);
    Label2[1] = BannerLabel(picBanner, QStringLiteral("Label2(1)"), QStringLiteral("Year:"));
    Place(Label2[1], 4575, 75, 465, 240);
    cboYear = new ui::ComboBox(ui::ComboBox::DropDownList, picBanner);
    cboYear->setObjectName(QStringLiteral("cboYear"));
    Place(cboYear, 5100, 50, 1065, 330);
    for (ui::ComboBox* list : {cboMonth, cboYear}) {
        QPalette p = list->palette();
        p.setColor(QPalette::Button, calendar::kBannerColour);
        p.setColor(QPalette::Base, calendar::kBannerColour);
        p.setColor(QPalette::ButtonText, Qt::white);
        p.setColor(QPalette::Text, Qt::white);
        list->setPalette(p);
    }
    // The user's choice; a choice from the program calls the handler itself.
    connect(cboMonth, &QComboBox::activated, this, [this] { cboMonth_Click(); });
    connect(cboYear, &QComboBox::activated, this, [this] { cboYear_Click(); });

    // The frame first, so that everything else lies over it.
    shpBorder = new QFrame(this);
    shpBorder->setObjectName(QStringLiteral("shpBorder"));
    shpBorder->setFrameShape(QFrame::Box);
    shpBorder->setFrameShadow(QFrame::Plain);
    shpBorder->setAttribute(Qt::WA_TransparentForMouseEvents);
    PaintText(shpBorder, kHeaderColour);
    Place(shpBorder, 60, 600, 9180, 6540);

    lblCalHdr =
        NewHeaderLabel(this, QStringLiteral("lblCalHdr"), QStringLiteral("month / year"), kHeaderColour);
    lblCalHdr->setAlignment(Qt::AlignCenter);
    QFont bold = lblCalHdr->font();
    bold.setBold(true);
    lblCalHdr->setFont(bold);
    Place(lblCalHdr, 75, 615, 9150, 240);

    for (int k = 0; k < grid::kColumns; ++k) {
        lblWkDay[k] = NewHeaderLabel(this, Indexed(QStringLiteral("lblWkDay"), k),
                                     QString::fromLatin1(kDays[k]), Qt::white);
        lblWkDay[k]->setAlignment(Qt::AlignCenter);
        Place(lblWkDay[k], 75 + k * 1304, 855, 1304, 240);
    }

    BuildGrid();

    Label1 = NewHeaderLabel(this, QStringLiteral("Label1"), QStringLiteral("Current Date:"),
                            calendar::kBannerColour);
    PaintText(Label1, Qt::white);
    Place(Label1, 75, 7290, 1215, 240);
    lblDate = NewHeaderLabel(this, QStringLiteral("lblDate"), QString(), calendar::kBannerColour);
    PaintText(lblDate, Qt::white);
    Place(lblDate, 1290, 7290, 4365, 240);

    BuildPopUp();
}

frmCalMnth::~frmCalMnth() = default;

void frmCalMnth::BuildGrid() {
    for (int c = 0; c < grid::kColumns; ++c) {
        const QString day = QString::fromLatin1(kDays[c]);
        for (int r = 0; r < grid::kRows; ++r) {
            const int i = Cell(c, r);
            auto* frame = new QWidget(this);
            frame->setObjectName(Indexed(QStringLiteral("pic") + day, r));
            Fill(frame, kCellColour);
            frame->setFocusPolicy(Qt::ClickFocus);
            Place(frame, 75 + c * 1304 + (c ? 7 : 0), 1109 + r * kRowPitch, kCellWidth, kCellHeight);

            auto* label = NewLabel(frame, Indexed(QStringLiteral("lbl") + day, r), QString());
            label->setAutoFillBackground(true);
            Place(label, 15, 15, 315, 240);

            QPlainTextEdit* text = ShowBox(frame, Indexed(QStringLiteral("txt") + day, r), kCellColour);
            Place(text, 0, 300, kCellWidth, 690);

            m_pic[i] = frame;
            m_lbl[i] = label;
            m_txt[i] = text;
            m_frameCell.insert(frame, i);
            m_textCell.insert(text->viewport(), i);
            frame->installEventFilter(this);
            text->viewport()->installEventFilter(this);
        }
    }
}

void frmCalMnth::BuildPopUp() {
    picTooltip = new QFrame(this);
    picTooltip->setObjectName(QStringLiteral("picTooltip"));
    const QColor tip = picTooltip->palette().color(QPalette::ToolTipBase);
    Fill(picTooltip, tip);
    picTooltip->setFocusPolicy(Qt::ClickFocus);
    Place(picTooltip, 0, 0, 3240, 1815);
    txtTooltip = ShowBox(picTooltip, QStringLiteral("txtTooltip"), tip);
    txtTooltip->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    PaintText(txtTooltip, picTooltip->palette().color(QPalette::ToolTipText));
    Place(txtTooltip, 0, 0, 3240, 1800);
    picTooltip->hide();

    // The pop-up's tick count.
    Text1 = new QLineEdit(QStringLiteral("1"), this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->hide();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
}

QWidget* frmCalMnth::Open() {
    auto* form = new frmCalMnth;
    form->Form_Load();
    ui::ScreenRegistry::instance().showScreen(form);
    // The grid is built when the screen is first activated.
    form->Form_Activate();
    return form;
}

// ---------------------------------------------------------------------------------------------
// Load and activation

void frmCalMnth::Form_Load() {
    core::trap(QStringLiteral("frmCalMnth.Form_Load"), Tail::ErrorBox, [this] {
        calendar::BeginLoad(QStringLiteral(" Loading Calendar Month View"));
        for (const QString& month : grid::MonthNames()) cboMonth->addItem(month);
        const QDate today = core::Clock::Today();
        QVector<QPair<QString, qint64>> years;
        for (int year = today.year(); year <= 3000; ++year) years.append({QString::number(year), 0});
        cboYear->addItems(years);

        m_vCurDate = today;
        m_strMonth = grid::MonthNames().value(today.month() - 1);
        m_intYear = static_cast<int16_t>(today.year());
        calendar::EndLoad(QStringLiteral("CMnth"));
    });
}

void frmCalMnth::Form_Activate() {
    // Each step on its own. Both selections run their handlers even when the entry is selected
    // already, so the header always names the month the grid shows.
    Steps({
        [this] { lblCalHdr->setText(calendar::FormatDisplay(m_vCurDate, u"mmmm, yyyy")); },
        [this] { lblDate->setText(calendar::FormatDisplay(m_vCurDate, u"dddd - mmmm dd, yyyy")); },
        [this] {
            Select(cboMonth, m_strMonth);
            cboMonth_Click();
        },
        [this] {
            Select(cboYear, QString::number(m_intYear));
            cboYear_Click();
        },
        [this] { picBanner->SelectTab(calendar::kMonthTab); },
    });
}

// ---------------------------------------------------------------------------------------------
// Choosing the month

void frmCalMnth::Refresh() {
    EmptyDateValues();
    CreateCalendar();
    HighlightCalendarDates();
    LoadAppointments();
    lblCalHdr->setText(m_strMonth + QStringLiteral(", ") + QString::number(m_intYear));
}

void frmCalMnth::cboMonth_Click() {
    core::trap(QStringLiteral("frmCalMnth.cboMonth_Click"), Tail::Action,
               QStringLiteral("changing Calendar Dates"), [this] {
                   m_strMonth = cboMonth->text();
                   const QString year = cboYear->text();
                   m_intYear =
                       static_cast<int16_t>(year.isEmpty() ? core::Clock::Today().year() : year.toInt());
                   Refresh();
               });
}

void frmCalMnth::cboYear_Click() {
    core::trap(QStringLiteral("frmCalMnth.cboYear_Click"), Tail::Action,
               QStringLiteral("changing Calendar Dates"), [this] {
                   bool ok = false;
                   const int year = cboYear->text().toInt(&ok);
                   if (!ok) throw std::invalid_argument("Type mismatch");
                   m_intYear = static_cast<int16_t>(year);
                   if (!cboMonth->text().isEmpty()) m_strMonth = cboMonth->text();
                   Refresh();
               });
}

void frmCalMnth::tbsMain_Click() {
    const int tab = picBanner->SelectedTab();
    core::trap(QStringLiteral("frmCalMnth.tbsMain_Click"), Tail::ErrorBox, [tab] {
        // This view's own tab opens nothing; the others replace it.
        if (tab != calendar::kMonthTab) calendar::OpenTab(tab);
    });
}

// ---------------------------------------------------------------------------------------------
// The pop-up

void frmCalMnth::txtCell_Click(int column, int row) {
    core::trap(
        QStringLiteral("frmCalMnth.txt") + QString::fromLatin1(kDays[column]) + QStringLiteral("_Click"),
        Tail::Unknown, [&] {
            const int i = Cell(column, row);
            QWidget* frame = m_pic[i];
            const QString text = m_txt[i]->toPlainText();
            if (text.isEmpty()) {
                frame->setFocus();
                return;
            }
            const TRect cell = Geo(frame);
            const TRect tip = Geo(picTooltip);
            // Below the cell in the upper rows, above it in the two lowest; a Saturday's ends at
            // the cell's right edge, so that it stays inside the grid.
            const double top = row <= 3 ? cell.top + cell.height + 15 : cell.top - tip.height - 15;
            const double left =
                column == grid::kColumns - 1 ? cell.left - (tip.width - cell.width) : cell.left;
            Move(picTooltip, left, top);
            picTooltip->show();
            picTooltip->raise();
            txtTooltip->setPlainText(text);
            Text1->setText(QStringLiteral("1"));
            Timer1->start();
            picTooltip->setFocus();
        });
}

void frmCalMnth::Timer1_Timer() {
    core::trap(QStringLiteral("frmCalMnth.Timer1_Timer"), Tail::Silent, [this] {
        const int ticks = Text1->text().toInt() + 1;
        Text1->setText(QString::number(ticks));
        // Six ticks after the last click.
        if (ticks == 7) {
            picTooltip->hide();
            Timer1->stop();
            Text1->setText(QStringLiteral("1"));
        }
    });
}

bool frmCalMnth::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize) {
        if (auto it = m_frameCell.constFind(watched); it != m_frameCell.cend())
            CellFrame_Resize(*it / grid::kRows, *it % grid::kRows);
    } else if (event->type() == QEvent::MouseButtonRelease) {
        // A read-only box's viewport takes the click, not the box: it goes to the cell's handler.
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (auto it = m_textCell.constFind(watched);
            it != m_textCell.cend() && mouse->button() == Qt::LeftButton)
            txtCell_Click(*it / grid::kRows, *it % grid::kRows);
    }
    return QWidget::eventFilter(watched, event);
}

// picSun_Resize ... picSat_Resize: the text runs across the cell's whole width.
void frmCalMnth::CellFrame_Resize(int column, int row) {
    core::trap(
        QStringLiteral("frmCalMnth.pic") + QString::fromLatin1(kDays[column]) + QStringLiteral("_Resize"),
        Tail::Silent, [&] {
            const int i = Cell(column, row);
            const TRect text = Geo(m_txt[i]);
            Place(m_txt[i], 0, text.top, ScaleWidth(m_pic[i]), text.height);
        });
}

// ---------------------------------------------------------------------------------------------
// Layout: from the width alone, each placement chained to the places the earlier ones gave.

void frmCalMnth::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmCalMnth::Form_Resize() {
    if (Minimised(this)) return;
    // The banner spans the top whatever the layout below it does.
    Steps({[this] { Place(picBanner, 0, 0, ScaleWidth(this), Geo(picBanner).height); }});

    const RedrawSuspended oneRedraw(this);
    Steps({[this] {
        Place(lblCalHdr, 75, Geo(picBanner).height + 150, ScaleWidth(this) - 150, Geo(lblCalHdr).height);
    }});
    // The header's width in whole twips (halves to even), shared by the seven columns.
    const auto columnWidth = [this] { return std::floor(std::nearbyint(Geo(lblCalHdr).width) / 7); };
    for (int k = 0; k < grid::kColumns; ++k) {
        Steps({[&, k] {
            const TRect before = k == 0 ? Geo(lblCalHdr) : Geo(lblWkDay[k - 1]);
            const double left = k == 0 ? before.left : before.left + before.width;
            const double top = k == 0 ? before.top + 240 : before.top;
            Place(lblWkDay[k], left, top, columnWidth(), Geo(lblWkDay[k]).height);
        }});
    }
    // Sunday starts at the header's left edge; the other columns are inset 7 on both sides.
    for (int c = 0; c < grid::kColumns; ++c) {
        for (int r = 0; r < grid::kRows; ++r) {
            Steps({[&, c, r] {
                QWidget* cell = m_pic[Cell(c, r)];
                const double height = Geo(cell).height;
                if (r == 0) {
                    const TRect day = Geo(lblWkDay[c]);
                    const double inset = c == 0 ? 0 : 7;
                    Place(cell, day.left + inset, day.top + 254, day.width - (c == 0 ? 7 : 14), height);
                    return;
                }
                const TRect above = Geo(m_pic[Cell(c, r - 1)]);
                const double top = c == 0 ? above.top + kRowPitch : Geo(m_pic[Cell(c - 1, r)]).top;
                Place(cell, above.left, top, above.width, height);
            }});
        }
    }
    Steps({
        [this] {
            const TRect h = Geo(lblCalHdr);
            Place(shpBorder, h.left - 15, h.top - 15, h.width + 30, 6540);
        },
        [this] {
            const TRect border = Geo(shpBorder);
            Move(Label1, Geo(lblCalHdr).left, border.top + border.height + 150);
        },
        [this] {
            const TRect label = Geo(Label1);
            Move(lblDate, label.left + label.width, label.top);
        },
    });
}

// ---------------------------------------------------------------------------------------------
// Unload

void frmCalMnth::closeEvent(QCloseEvent* event) {
    Form_Unload();
    QWidget::closeEvent(event);
}

void frmCalMnth::Form_Unload() {
    if (m_unloaded) return;
    m_unloaded = true;
    core::trap(QStringLiteral("frmCalMnth.Form_Unload"), Tail::Silent, [this] { Timer1->stop(); });
}
