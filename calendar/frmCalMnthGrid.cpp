// The month view's grid: day numbers, their colours and the appointments written into the cells.
#include <QLabel>
#include <QPlainTextEdit>
#include <algorithm>

#include "calendar/CalendarShell.h"
#include "calendar/DisplayFormat.h"
#include "calendar/frmCalMnth.h"
#include "core/Clock.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/db/Database.h"
#include "platform/db/Values.h"

using core::Tail;
namespace grid = calendar::grid;

namespace {

const QColor kSundayText(0xFF, 0x00, 0x00);

void PaintDay(QLabel* label, const QColor& back, const QColor& text, bool bold) {
    QPalette p = label->palette();
    p.setColor(QPalette::Window, back);
    p.setColor(QPalette::WindowText, text);
    label->setPalette(p);
    if (label->font().bold() != bold) {
        QFont f = label->font();
        f.setBold(bold);
        label->setFont(f);
    }
}

}  // namespace

void frmCalMnth::EmptyDateValues() {
    for (int i = 0; i < kCells; ++i) {
        m_lbl[i]->clear();
        m_txt[i]->clear();
    }
}

void frmCalMnth::CreateCalendar() {
    core::trap(QStringLiteral("frmCalMnth.CreateCalendar"), Tail::ErrorBox, [this] {
        const int month = grid::MonthNumber(m_strMonth);
        const int days = GetDaysPerMonth(m_strMonth, m_intYear);
        const int first = grid::FirstColumn(m_intYear, month);
        for (int c = 0; c < grid::kColumns; ++c) {
            for (int r = 0; r < grid::kRows; ++r) {
                // Cells outside the month keep the blank EmptyDateValues left.
                if (const int day = grid::DayInCell(r, c, first, days))
                    m_lbl[Cell(c, r)]->setText(QString::number(day));
            }
        }
    });
}

void frmCalMnth::HighlightCalendarDates() {
    core::trap(QStringLiteral("frmCalMnth.HighlightCalendarDates"), Tail::Silent, [this] {
        // Today's day number, in whatever month is shown.
        const QString today = QString::number(core::Clock::Today().day());
        for (int r = 0; r < grid::kRows; ++r) {
            for (int c = 0; c < grid::kColumns; ++c) {
                QLabel* label = m_lbl[Cell(c, r)];
                if (label->text() == today) continue;
                if (c == 0) {
                    PaintDay(label, kCellColour, kSundayText, true);
                } else {
                    PaintDay(label, kCellColour, Qt::black, false);
                }
            }
        }
        for (int r = 0; r < grid::kRows; ++r) {
            for (int c = 0; c < grid::kColumns; ++c) {
                QLabel* label = m_lbl[Cell(c, r)];
                if (label->text() != today) continue;
                PaintDay(label, calendar::kBannerColour, c == 0 ? kSundayText : QColor(Qt::white), true);
            }
        }
    });
}

void frmCalMnth::LoadAppointments() {
    core::trap(
        QStringLiteral("frmCalMnth.LoadAppointments"), Tail::Action,
        QStringLiteral("loading the Appointments"), [this] {
            const int month = grid::MonthNumber(m_strMonth);
            const int days = GetDaysPerMonth(m_strMonth, m_intYear);
            const QDate first(m_intYear, month, 1);
            const QDate last(m_intYear, month, days);

            // Entries gather per cell and reach the cells once at the end, also when a row fails
            // half way: what was read stays shown.
            m_pending.emplace();
            for (int i = 0; i < kCells; ++i) {
                const QString caption = m_lbl[i]->text();
                if (!caption.isEmpty()) m_pending->cellsOfDay[caption].append(i);
            }
            struct WriteAtEnd {
                frmCalMnth* form;
                ~WriteAtEnd() { form->WritePendingTexts(); }
            } writeAtEnd{this};

            // Latest first: each entry goes in front of the cell's text, so a cell lists its
            // appointments from the earliest, with those without a time (sorted last) on top.
            QTime lastTime;
            QString lastTimeText;
            g_dbLocal->ForEachRow(
                QStringLiteral("SELECT DateFrom, TimeFrom, Subject FROM Appts ") +
                    QStringLiteral("WHERE DateFrom BETWEEN ? AND ?") +
                    QStringLiteral(" ORDER BY TimeFrom Desc"),
                {first, last}, [&](const db::Database::RowView& row) {
                    QTime time;
                    if (!row.isNull(1)) {
                        const QVariant stored = db::values::fromStorage(row.text(1));
                        time = stored.typeId() == QMetaType::QDateTime ? stored.toDateTime().time()
                                                                       : stored.toTime();
                    }
                    QString timeText;
                    if (!time.isValid()) {
                        timeText = QStringLiteral("No Time");
                    } else {
                        if (time != lastTime) {
                            lastTime = time;
                            lastTimeText = calendar::FormatDisplay(time, u"h:nn AMPM") + QLatin1Char(' ');
                        }
                        timeText = lastTimeText;
                    }
                    QString subject = row.isNull(2) ? QString() : row.text(2);
                    subject.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
                    const QDate from = row.date(0);
                    if (from.isValid())
                        SetTextInCell(from, timeText + QLatin1Char('\n') + subject + QLatin1Char('\n'));
                });
        });
}

void frmCalMnth::WritePendingTexts() {
    if (!m_pending) return;
    for (int i = 0; i < kCells; ++i) {
        QStringList& entries = m_pending->entries[i];
        if (entries.isEmpty()) continue;
        std::reverse(entries.begin(), entries.end());
        m_txt[i]->setPlainText(entries.join(QString()) + m_txt[i]->toPlainText());
    }
    m_pending.reset();
}

int16_t frmCalMnth::GetDaysPerMonth(const QString& month, int year) {
    int16_t days = 0;
    core::trap(QStringLiteral("frmCalMnth.GetDaysPerMonth"), Tail::Silent,
               [&] { days = static_cast<int16_t>(grid::DaysPerMonth(month, year)); });
    return days;
}

void frmCalMnth::SetTextInCell(const QDate& date, const QString& entry) {
    core::trap(QStringLiteral("frmCalMnth.SetTextInCell"), Tail::Action,
               QStringLiteral("setting the Appointment Text"), [&] {
                   // Only LoadAppointments writes entries, into the texts it gathers.
                   if (!m_pending) return;
                   for (int i : m_pending->cellsOfDay.value(QString::number(date.day())))
                       m_pending->entries[i].append(entry);
               });
}
