// Hostile text typed and pasted into the value box of the contact and project query screens, under
// each of the four operators: the query only selects, listing exactly the records whose value
// compares with the text as the database compares text (ASCII letter case aside), and the export
// gives the listed texts; no error is logged or shown and nothing is written. The same texts as the
// title of both printed reports: it only prints.
#include <QAction>
#include <QDialog>
#include <QFile>
#include <QPushButton>
#include <QLineEdit>
#include <QRadioButton>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

#include "contacts/frmContEntry.h"
#include "core/modGeneral.h"
#include "platform/ui/ListView.h"
#include "platform/ui/PickList.h"
#include "platform/ui/Printer.h"
#include "platform/ui/ScreenRegistry.h"
#include "platform/ui/TextLimit.h"
#include "projects/frmProjEntry.h"
#include "reports/QueryScreen.h"
#include "shell/frmMain.h"
#include "support/HostileInput.h"
#include "support/ListScreenCheck.h"
#include "support/PdfReader.h"
#include "support/TestRegistry.h"

using namespace testsupport::hostile;

namespace {

constexpr int kValueLength = 100;  // what a stored value holds

// A text as the value column orders it: its UTF-8 bytes with ASCII capitals made small.
QByteArray Folded(const QString& text) {
    QByteArray bytes = text.toUtf8();
    for (char& c : bytes) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return bytes;
}

bool Compares(const QString& value, int op, const QString& typed) {
    const int order = Folded(value).compare(Folded(typed));
    switch (op) {
        case 0:
            return order == 0;
        case 1:
            return order < 0;
        case 2:
            return order > 0;
        default:
            return order != 0;
    }
}

struct Screen {
    const char* menu;
    const char* form;
    const char* valuesTable;
    const char* recordColumn;
};

const Screen kScreens[] = {{"mnuViewCQry", "frmContQry", "CUFldValues", "fkContID"},
                           {"mnuViewPQry", "frmProjQry", "PUFldValues", "fkProjID"}};

}  // namespace

class HostileQueryTest : public Case {
    Q_OBJECT

    // Every hostile text as a value is stored, typed or pasted, and each one's decoy: one record each.
    QStringList m_values;

    // The field is named with the row's text too (as far as a field name holds it), beside a decoy
    // field with the same values: a query of the wrong field, or of both, lists or counts too many.
    void seed(const QString& field) {
        m_values.clear();
        for (const auto& [name, text] : Texts()) {
            for (const bool pasted : {false, true}) {
                const QString value = Expected(text, pasted, false, kValueLength);
                for (const QString& v : {value, Decoy(value)})
                    if (!m_values.contains(v)) m_values << v;
            }
        }
        const QString decoy = Decoy(field) == field ? "X" + field.left(99) : Decoy(field);
        for (const char* table : {"CUserFields", "PUserFields"})
            f->db().Execute(
                QStringLiteral("INSERT INTO %1 (Description) VALUES (?), (?)").arg(QLatin1String(table)),
                {field, decoy});
        for (int i = 0; i < m_values.size(); ++i) {
            const int id = i + 1;
            f->db().Execute("INSERT INTO Contacts (ContID, ShownName, Setting) VALUES (?, ?, 'Default')",
                            {id, QStringLiteral("Contact %1").arg(id)});
            f->db().Execute("INSERT INTO Projects (ProjID, PName, Setting) VALUES (?, ?, 'Default')",
                            {id, QStringLiteral("Project %1").arg(id)});
            for (const Screen& s : kScreens) {
                for (const QString& name : {field, decoy})
                    f->db().Execute(QStringLiteral("INSERT INTO %1 (%2, fkUserFld, Value) VALUES (?, ?, ?)")
                                        .arg(QLatin1String(s.valuesTable), QLatin1String(s.recordColumn)),
                                    {id, name, m_values[i]});
            }
        }
    }

private Q_SLOTS:
    void init() { Case::init(); }
    void cleanup() { Case::cleanup(); }

    void queryValue_data() { AddRows(); }
    void queryValue() {
        QFETCH(QString, text);
        QFETCH(bool, pasted);
        const QString field = Expected(text, true, false, 100);
        seed(field);
        const auto before = rows("SELECT * FROM CUFldValues") + rows("SELECT * FROM PUFldValues");
        start();
        for (const Screen& s : kScreens) {
            w->findChild<QAction*>(QLatin1String(s.menu))->trigger();
            settle();
            auto* screen = qobject_cast<reports::QueryScreen*>(
                ui::ScreenRegistry::instance().find(QLatin1String(s.form)));
            QVERIFY(screen);
            const int entry = screen->cboUserDef->findText(field);
            QVERIFY(entry >= 0);
            screen->cboUserDef->setCurrentIndex(entry);
            Q_EMIT screen->cboUserDef->activated(entry);

            Enter(screen->cboValue, text, pasted);
            // What the box holds is what is asked for, exactly as typed: nothing is completed.
            const QString typed = BoxText(screen->cboValue);
            const QString expected =
                Expected(text, pasted, false, ui::LengthLimit(screen->cboValue->lineEdit()));
            QCOMPARE(typed, expected);
            for (int op = 0; op < 4; ++op) {
                screen->optWhere[op]->click();
                QTest::keyClick(screen->cboValue, Qt::Key_Return);
                settle();
                QStringList keys;
                for (int i = 0; i < m_values.size(); ++i)
                    if (Compares(m_values[i], op, typed)) keys << QStringLiteral("ID%1").arg(i + 1);
                QStringList listed = testsupport::Keys(*testsupport::ResultList(screen));
                std::sort(listed.begin(), listed.end());
                std::sort(keys.begin(), keys.end());
                QCOMPARE(listed, keys);
                QCOMPARE(w->StatusText(),
                         QStringLiteral("Showing: %1 Records (of %1 total)").arg(keys.size()));
                QCOMPARE(BoxText(screen->cboValue), typed);
                if (op == 3) checkExport(screen);  // nearly every value, the hostile ones among them
            }
            // Enter added nothing to the list of distinct values.
            QSet<QByteArray> distinct;
            for (const QString& v : m_values) distinct.insert(Folded(v));
            QCOMPARE(screen->cboValue->count(), distinct.size());
        }
        QCOMPARE(rows("SELECT * FROM CUFldValues") + rows("SELECT * FROM PUFldValues"), before);
        checkNoErrors();
    }
};

POMARET_TEST(HostileQueryTest)

class HostileReportTest : public Case {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString pdf() const { return m_dir.filePath(QStringLiteral("report.pdf")); }

private Q_SLOTS:
    void initTestCase() {
        if (testsupport::PdfReader::Tool().isEmpty()) QSKIP("pdftotext (poppler-utils) is not installed");
    }
    void init() {
        Case::init();
        ui::SetPrinterOutputFile(pdf());
    }
    void cleanup() {
        ui::SetPrinterOutputFile(QString());
        Case::cleanup();
    }

    // The title typed or pasted over the editor's name, then OK: the report prints without a box, holds
    // the title as the box held it (one that fits across the page), and the database is as it was.
    void reportTitle_data() { AddRows(); }
    void reportTitle() {
        QFETCH(QString, text);
        QFETCH(bool, pasted);
        addContact(1, "I", "Berg, Anna");
        f->db().Execute("INSERT INTO Projects (ProjID, PName, Setting) VALUES (1, 'Roof', 'Default')");
        const auto before = rows("SELECT * FROM Contacts") + rows("SELECT * FROM Projects");
        start();
        for (const bool project : {false, true}) {
            QVERIFY(project ? openProject(1) != nullptr : openEditor(1) != nullptr);
            w->findChild<QAction*>("mnuFilePrint")->trigger();
            QPointer<QDialog> d = qobject_cast<QDialog*>(
                ui::ScreenRegistry::instance().find(project ? "frmPrintProject" : "frmPrintContact"));
            QVERIFY(d);
            auto* title = d->findChild<QLineEdit*>("txtTitle");
            Enter(title, text, pasted);
            const QString typed = title->text();
            QCOMPARE(typed, Expected(text, pasted, false, 0));
            QFile::remove(pdf());
            d->findChild<QPushButton*>("cmdOpts(0)")->click();
            settle();
            checkNoErrors();
            const QString printed = testsupport::PdfReader(pdf()).text({QStringLiteral("-raw")});
            QVERIFY2(!printed.isEmpty(), "nothing printed");
            if (typed.size() <= 60) QVERIFY2(PrintedTextHolds(printed, typed), qPrintable(printed));
            QVERIFY(d && d->isVisible());
            d->close();
            settle();
        }
        QCOMPARE(rows("SELECT * FROM Contacts") + rows("SELECT * FROM Projects"), before);
    }
};

POMARET_TEST(HostileReportTest)
#include "tst_HostileInput.moc"
