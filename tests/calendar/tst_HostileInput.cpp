// Hostile text typed and pasted into the quick-add subject of the week view: the appointment is
// stored with the subject as the box held it, and the week, day, month and list views show it as
// stored (the day view with a description holding the same text), with no error logged or shown.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "calendar/ApptBox.h"
#include "calendar/CalendarShell.h"
#include "core/modGeneral.h"
#include "platform/ui/ListView.h"
#include "platform/ui/ScreenRegistry.h"
#include "shell/frmMain.h"
#include "support/HostileInput.h"
#include "support/ListScreenCheck.h"
#include "support/TestRegistry.h"

using namespace testsupport::hostile;

namespace {

constexpr int kSubjectLength = 255;  // what an appointment's subject holds

}  // namespace

class HostileCalendarTest : public Case {
    Q_OBJECT

    QWidget* view(int tab, const char* name) {
        calendar::OpenTab(tab);
        settle();
        return ui::ScreenRegistry::instance().find(QLatin1String(name));
    }
    static QStringList boxTexts(QWidget* view) {
        QStringList out;
        for (const auto* box : view->findChildren<calendar::ApptBox*>())
            if (box->isVisible()) out << box->toPlainText();
        return out;
    }

private Q_SLOTS:
    void init() { Case::init(); }
    void cleanup() { Case::cleanup(); }

    void quickAdd_data() { AddRows(); }
    void quickAdd() {
        QFETCH(QString, text);
        QFETCH(bool, pasted);
        start();
        QWidget* week = view(calendar::kWeekTab, "frmCalWeek");
        QVERIFY(week);
        auto* subject = week->findChild<QLineEdit*>("Text1");
        Enter(subject, text, pasted);
        const QString typed = subject->text();
        QCOMPARE(typed, Expected(text, pasted, false, kSubjectLength));
        QVERIFY(WholeCharacters(typed));
        QVERIFY(!typed.isEmpty());
        week->findChild<QPushButton*>("cmdAdd")->click();
        settle();
        QCOMPARE(stored("SELECT Subject FROM Appts").toString(), typed);
        QCOMPARE(stored("SELECT DateFrom || ' ' || TimeFrom || ' ' || TimeTo FROM Appts").toString(),
                 QStringLiteral("2026-12-08 08:00:00 09:00:00"));
        QCOMPARE(subject->text(), QString());
        QCOMPARE(boxTexts(week), QStringList{"8:00a - 9:00a\n" + typed});

        // A description holding the text too, as the appointment dialog stores it.
        const QString description = Expected(text, true, true, 0);
        f->db().Execute("UPDATE Appts SET TextBody = ?", {Stored(description)});
        QWidget* day = view(calendar::kDayTab, "frmCalDay");
        QVERIFY(day);
        QCOMPARE(boxTexts(day), QStringList{"8:00a - 9:00a\n" + typed + "\n" + description});

        QWidget* month = view(calendar::kMonthTab, "frmCalMnth");
        QVERIFY(month);
        QPlainTextEdit shown;  // a line break of the subject shows as one
        shown.setPlainText("8:00 AM \n" + typed + "\n");
        int cells = 0;
        for (const auto* cell : month->findChildren<QPlainTextEdit*>())
            cells += cell->toPlainText().contains(shown.toPlainText()) ? 1 : 0;
        QCOMPARE(cells, 1);

        QWidget* list = view(calendar::kListTab, "frmCalList");
        QVERIFY(list);
        testsupport::Choose(list, "cboFiltOpt",
                            2);  // "All Appointments": today's is neither past nor upcoming
        QCOMPARE(testsupport::Rows(*testsupport::ResultList(list)),
                 QStringList{"ID1|" + typed + "|12/8/2026|12/8/2026||"});
        checkNoErrors();
    }
};

POMARET_TEST(HostileCalendarTest)
#include "tst_HostileInput.moc"
