// Hostile text typed and pasted into the subject and description of the to-do and appointment
// dialogs and into the note/call dialog's text: stored as the boxes held them (CR LF line breaks),
// shown so when the item opens again, on the home screen and in the to-do list and its export, and
// printed whole by the item's print-out, with no error logged or shown.
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "core/modGeneral.h"
#include "items/ItemDialog.h"
#include "platform/ui/ListView.h"
#include "platform/ui/Printer.h"
#include "platform/ui/ScreenRegistry.h"
#include "shell/frmMain.h"
#include "support/HostileInput.h"
#include "support/ListScreenCheck.h"
#include "support/PdfReader.h"
#include "support/TestRegistry.h"

using namespace testsupport::hostile;
using testsupport::PdfReader;

namespace {

constexpr int kSubjectLength = 255;  // what a to-do's or an appointment's subject holds

enum Kind { kToDo, kAppt, kNote };

struct KindSetup {
    const char* name;
    const char* table;
    const char* subjectBox;  // none for a note
    const char* textBox;
    const char* homeList;  // the home screen's list of such items, and the column of the text shown
    int homeColumn;
};

const KindSetup kKinds[] = {
    {"to-do", "ToDo", "Text1(0)", "Text1(1)", "lvToDo", 0},
    {"appointment", "Appts", "Text1(0)", "Text1(1)", "lvAppts", 1},
    {"note", "Attach", nullptr, "Text1", "lvNotes", 0},
};

void Open(Kind kind, const modGeneral::ItemOpening& item) {
    if (kind == kToDo) modGeneral::OpenToDo(item);
    if (kind == kAppt) modGeneral::OpenAppt(item);
    if (kind == kNote) modGeneral::OpenNote(item);
}

ItemDialog* Dialog() {
    return ui::ScreenRegistry::instance().find<ItemDialog>();
}

}  // namespace

Q_DECLARE_METATYPE(Kind)

class HostileItemsTest : public Case {
    Q_OBJECT

    QTemporaryDir m_dir;

    QWidget* box(const char* name) { return Dialog()->findChild<QWidget*>(QLatin1String(name)); }

private Q_SLOTS:
    void initTestCase() {
        if (PdfReader::Tool().isEmpty()) QSKIP("pdftotext (poppler-utils) is not installed");
    }
    void init() {
        Case::init();
        ui::SetPrinterOutputFile(m_dir.filePath(QStringLiteral("item.pdf")));
    }
    void cleanup() {
        ui::SetPrinterOutputFile(QString());
        Case::cleanup();
    }

    // A new item of each kind, its boxes typed or pasted into, then OK: the stored texts, the item
    // opened again, the home screen, the to-do list and its export, and the print-out.
    void itemDialogs_data() {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("pasted");
        for (const Kind kind : {kToDo, kAppt, kNote}) {
            for (const auto& [name, text] : Texts()) {
                for (const bool pasted : {false, true})
                    QTest::addRow("%s, %s, %s", kKinds[kind].name, name, pasted ? "pasted" : "typed")
                        << kind << text << pasted;
            }
        }
    }
    void itemDialogs() {
        QFETCH(Kind, kind);
        QFETCH(QString, text);
        QFETCH(bool, pasted);
        const KindSetup& k = kKinds[kind];
        // One stored item of each kind that no list below shows: done, past, a contact's.
        f->db().Execute("INSERT INTO ToDo (Subject, DueDate, Completed) VALUES ('Other', '2026-01-05', -1)");
        f->db().Execute(
            "INSERT INTO Appts (Subject, DateFrom, DateTo) VALUES ('Other', '2026-01-05', '2026-01-05')");
        f->db().Execute("INSERT INTO Attach (TextBody, NType, fkContID) VALUES ('Other', 'N', 5)");
        const auto others = [this] {
            return rows("SELECT * FROM ToDo WHERE RefNum = 1") +
                   rows("SELECT * FROM Appts WHERE RefNum = 1") +
                   rows("SELECT * FROM Attach WHERE RefNum = 1");
        };
        const auto before = others();
        start();
        Open(kind, modGeneral::NewItem());
        QVERIFY(Dialog());
        QString subject;
        if (k.subjectBox) {
            QWidget* line = box(k.subjectBox);
            Enter(line, text, pasted);
            subject = BoxText(line);
            QCOMPARE(subject, Expected(text, pasted, false, kSubjectLength));
            QVERIFY(WholeCharacters(subject));
        }
        Enter(box(k.textBox), text, pasted);
        const QString description = BoxText(box(k.textBox));
        QCOMPARE(description, Expected(text, pasted, true, 0));
        Dialog()->findChild<QPushButton*>("cmdOpts(3)")->click();
        settle();
        QVERIFY(!Dialog());

        const QString table = QLatin1String(k.table);
        QCOMPARE(f->rowCount(table), 2);
        QCOMPARE(others(), before);
        const QString body = Stored(description);
        if (k.subjectBox) {
            QCOMPARE(texts("SELECT Subject, TextBody FROM " + table + " WHERE RefNum = 2"),
                     (QList<QStringList>{{subject, body}}));
        } else {
            QCOMPARE(texts("SELECT TextBody, NType FROM Attach WHERE RefNum = 2"),
                     (QList<QStringList>{{body, "N"}}));
        }

        // The home screen lists it by its subject, a free note by its text, as stored.
        QWidget* home = ui::ScreenRegistry::instance().find(QStringLiteral("frmHome"));
        QVERIFY(home);
        const ui::ListView* homeList = home->findChild<ui::ListView*>(QLatin1String(k.homeList));
        QCOMPARE(homeList->rowCount(), 1);
        QCOMPARE(homeList->text(0, k.homeColumn), k.subjectBox ? subject : body);

        // Opened again: shown as stored.
        Open(kind, modGeneral::StoredItem(2));
        QVERIFY(Dialog());
        if (k.subjectBox) QCOMPARE(BoxText(box(k.subjectBox)), subject);
        QCOMPARE(BoxText(box(k.textBox)), description);

        // Printed whole, without an error box.
        const QString pdf = m_dir.filePath(QStringLiteral("item.pdf"));
        QFile::remove(pdf);
        f->prompts().answer(ui::Answer::Yes);
        Dialog()->findChild<QPushButton*>("cmdOpts(2)")->click();
        settle();
        QCOMPARE(f->prompts().count(), 1);
        const QString printed = PdfReader(pdf).text({QStringLiteral("-raw")});
        QVERIFY2(!printed.isEmpty(), "nothing printed");
        if (k.subjectBox) QVERIFY2(PrintedTextHolds(printed, subject), qPrintable(printed));
        QVERIFY2(PrintedTextHolds(printed, description), qPrintable(printed));
        Dialog()->findChild<QPushButton*>("cmdOpts(4)")->click();
        settle();

        // The to-do list shows and exports the subject as stored.
        if (kind == kToDo) {
            modGeneral::CloseAllChildForms();
            settle();
            QWidget* list = ui::ScreenRegistry::instance().open(QStringLiteral("frmToDoList"));
            QVERIFY(list);
            const ui::ListView* lv = testsupport::ResultList(list);
            const int row = testsupport::Keys(*lv).indexOf("ID2");
            QVERIFY(row >= 0);
            QCOMPARE(lv->text(row, 0), subject);
            checkExport(list);
        }
        checkNoErrors();
    }
};

POMARET_TEST(HostileItemsTest)
#include "tst_HostileInput.moc"
