#include <QDir>
#include <QFile>
#include <QTest>
#include <memory>

#include "core/ListExport.h"
#include "platform/ui/ListView.h"
#include "support/Fixture.h"
#include "support/SaveFileSeam.h"
#include "support/TestRegistry.h"

using testsupport::Fixture;
using testsupport::SaveFileSeam;

namespace {

const char* const kProc = "frmNames.lblSaveAs_Click";
const QString kSaved = QStringLiteral("The File was Sucessfully Created and Saved.");

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A list of `columns` columns with one row per entry of `rows` (cells left unset when a row is short).
std::unique_ptr<ui::ListView> MakeList(int columns, const QList<QStringList>& rows) {
    auto list = std::make_unique<ui::ListView>();
    for (int c = 0; c < columns; ++c) list->addColumn(QStringLiteral("C%1").arg(c), 1000);
    for (int r = 0; r < rows.size(); ++r) {
        const int row = list->addRow(ui::RowKey("ID", r), rows[r].value(0));
        for (int c = 1; c < rows[r].size(); ++c) list->setSubItem(row, c, rows[r][c]);
    }
    return list;
}

}  // namespace

class ListExportTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> f;

    QString path(const QString& name) const { return QDir(f->root()).filePath(name); }
    int logged() { return f->rowCount("ErrLog"); }

private Q_SLOTS:
    void init() { f = std::make_unique<Fixture>(); }
    void cleanup() { f.reset(); }

    // Each cell as its own field: quotes doubled, separators and line breaks kept inside the quotes.
    void fieldBytes_data() {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QByteArray>("field");
        QTest::newRow("plain") << "Manager" << QByteArray("\"Manager\"");
        QTest::newRow("comma") << "Sales, East" << QByteArray("\"Sales, East\"");
        QTest::newRow("quote") << "5\" Disk" << QByteArray("\"5\"\" Disk\"");
        QTest::newRow("only quotes") << "\"\"" << QByteArray("\"\"\"\"\"\"");
        QTest::newRow("line break") << "Line 1\r\nLine 2" << QByteArray("\"Line 1\r\nLine 2\"");
        QTest::newRow("empty") << "" << QByteArray("\"\"");
        QTest::newRow("non-ASCII") << QString::fromUtf8("Zoë Ångström €") << QByteArray("\"Zoë Ångström €\"");
        QTest::newRow("leading blanks") << "  x  " << QByteArray("\"  x  \"");
    }
    void fieldBytes() {
        QFETCH(QString, cell);
        QFETCH(QByteArray, field);
        auto list = MakeList(3, {{"Smith", cell, "end"}});
        SaveFileSeam files;
        files.choose(path("out.csv"));
        f->prompts().answer(ui::Answer::OK);
        core::SaveListAsCsv(kProc, {"Name", "Job Title", "Phone"}, *list);
        QCOMPARE(ReadAll(path("out.csv")),
                 "\"Name\",\"Job Title\",\"Phone\"\r\n\"Smith\"," + field + ",\"end\"\r\n");
    }

    void wholeFile() {
        // Short rows: cells never set are empty fields; the header decides how many fields.
        auto list = MakeList(8, {{"Adams", "Clerk"}, {"Baker"}, {QString::fromUtf8("Zoë"), "", "555-1234"}});
        WriteAll(path("names.csv"), "an older, longer file that must not leave a tail behind");
        SaveFileSeam files;
        files.choose(path("names.csv"));
        f->prompts().answer(ui::Answer::OK);
        core::SaveListAsCsv(kProc, {"Name", "Job Title", "Phone", "E-Mail", "Address", "City", "St.", "ZIP"},
                            *list);

        const QByteArray expected =
            "\"Name\",\"Job Title\",\"Phone\",\"E-Mail\",\"Address\",\"City\",\"St.\",\"ZIP\"\r\n"
            "\"Adams\",\"Clerk\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n"
            "\"Baker\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n"
            "\"Zo\xC3\xAB\",\"\",\"555-1234\",\"\",\"\",\"\",\"\",\"\"\r\n";
        QCOMPARE(ReadAll(path("names.csv")), expected);
        QCOMPARE(f->prompts().count(), 1);
        QCOMPARE(f->prompts().lastText(), kSaved);
        QCOMPARE(f->prompts().lastTitle(), ui::ProgramTitle());
        QCOMPARE(f->prompts().lastStyle(), ui::OKOnly);
        QCOMPARE(list->selectedRow(), 2);
        QCOMPARE(logged(), 0);
    }

    // Rows past any 16-bit count are written too, every one whole and in order, however the file is
    // written out in pieces.
    void manyRows() {
        auto list = std::make_unique<ui::ListView>();
        list->addColumn("Name", 1000);
        list->addColumn("Job", 1000);
        QByteArray expected("\"Name\",\"Job\"\r\n");
        {
            ui::ListView::Batch batch(*list, 70000);
            for (int r = 0; r < 70000; ++r) {
                const QString name = QStringLiteral("Zo\u00EB %1").arg(r);
                const QString job = r % 7 == 0 ? QStringLiteral("5\" Disk") : QString();
                list->setSubItem(list->addRow(ui::RowKey("ID", r), name), 1, job);
                expected += "\"" + name.toUtf8() + "\",\"" + (r % 7 == 0 ? "5\"\" Disk" : "") + "\"\r\n";
            }
        }
        SaveFileSeam files;
        files.choose(path("many.csv"));
        f->prompts().answer(ui::Answer::OK);
        core::SaveListAsCsv(kProc, {"Name", "Job"}, *list);
        QVERIFY(ReadAll(path("many.csv")) == expected);
        QCOMPARE(list->selectedRow(), 69999);
    }

    void emptyListOnlySaysSo() {
        auto list = MakeList(2, {});
        f->prompts().answer(ui::Answer::OK);
        core::SaveListAsCsv(kProc, {"Name", "Job Title"}, *list);  // the fallback seam fails any dialog
        QCOMPARE(f->prompts().lastText(), QString("There are no item's in the list to save."));
        QCOMPARE(f->prompts().lastTitle(), ui::ProgramTitle());
        QCOMPARE(f->prompts().lastStyle(), ui::OKOnly);
        QCOMPARE(logged(), 0);
    }

    void cancelDoesNothing() {
        auto list = MakeList(1, {{"Adams"}});
        SaveFileSeam files;
        files.cancel();
        core::SaveListAsCsv(kProc, {"Name"}, *list);
        QCOMPARE(files.count(), 1);
        QCOMPARE(f->prompts().count(), 0);
        QCOMPARE(logged(), 0);
        QCOMPARE(QDir(f->root()).entryList({"*.csv"}), QStringList());
        QCOMPARE(list->selectedRow(), -1);
    }

    // A failed write is logged under the caller's name and shown in the error box; a file that was
    // there stays as it was.
    void failureKeepsTheOldFile_data() {
        QTest::addColumn<bool>("folderMissing");
        QTest::newRow("fails before the file is in place") << false;
        QTest::newRow("folder does not exist") << true;
    }
    void failureKeepsTheOldFile() {
        QFETCH(bool, folderMissing);
        const QString target = folderMissing ? path("nowhere/out.csv") : path("out.csv");
        if (!folderMissing) {
            WriteAll(target, "old contents\r\n");
            core::FailNextCsvWrite("Disk full");
        }
        auto list = MakeList(2, {{"Adams", "Clerk"}});
        SaveFileSeam files;
        files.choose(target);
        f->prompts().answer(ui::Answer::OK);
        core::SaveListAsCsv("frmProjects.lblSaveAs_Click", {"Name", "Job Title"}, *list);

        QCOMPARE(ReadAll(target), folderMissing ? QByteArray("<missing>") : QByteArray("old contents\r\n"));
        QCOMPARE(QDir(f->root()).entryList({"out.csv*"}, QDir::Files | QDir::Hidden),
                 folderMissing ? QStringList() : QStringList{"out.csv"});  // no unfinished copy left
        QCOMPARE(logged(), 1);
        QCOMPARE(f->scalar("SELECT ModName FROM ErrLog").toString(), QString("frmProjects.lblSaveAs_Click"));
        QCOMPARE(f->scalar("SELECT ErrNum FROM ErrLog").toInt(), 75);
        if (!folderMissing)
            QCOMPARE(f->scalar("SELECT ErrDesc FROM ErrLog").toString(), QString("Disk full"));
        QCOMPARE(f->prompts().count(), 1);
        QVERIFY(f->prompts().lastText().startsWith("The following Error occurred:"));
        QVERIFY(f->prompts().lastText() != kSaved);
    }

    // The dialog's settings, where it starts, and the name offered the second time.
    void dialogRequest_data() {
        QTest::addColumn<bool>("templates");
        QTest::newRow("Templates folder present") << true;
        QTest::newRow("no Templates folder") << false;
    }
    void dialogRequest() {
        QFETCH(bool, templates);
        const QString folder = path("Templates");
        if (templates) QVERIFY(QDir().mkpath(folder));
        auto list = MakeList(1, {{"Adams"}});
        SaveFileSeam files;
        files.choose(path("first")).cancel();
        f->prompts().answer(ui::Answer::OK);
        core::SaveListAsCsv(kProc, {"Name"}, *list);
        core::SaveListAsCsv(kProc, {"Name"}, *list);

        QCOMPARE(files.count(), 2);
        const ui::SaveFileRequest& first = files.shown()[0];
        QCOMPARE(first.title, QString("Save file as CSV File"));
        QCOMPARE(first.filter, QString("Comma Separated Values (*.csv)"));
        QVERIFY(first.confirmOverwrite);
        QCOMPARE(first.folder, templates ? folder : QDir::homePath());
        QCOMPARE(files.last().fileName, path("first"));
        QCOMPARE(QFileInfo(folder).isDir(), templates);  // never made by the export
        // No extension is added to the name chosen.
        QCOMPARE(ReadAll(path("first")), QByteArray("\"Name\"\r\n\"Adams\"\r\n"));
    }
};

POMARET_TEST(ListExportTest)
#include "tst_ListExport.moc"
