#include <QCoreApplication>
#include <QHeaderView>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <memory>

#include "core/Trap.h"
#include "core/frmErrLog.h"
#include "core/modGeneral.h"
#include "platform/ui/ListView.h"
#include "platform/ui/PickList.h"
#include "platform/ui/ScreenRegistry.h"
#include "platform/ui/Twips.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

using testsupport::Fixture;

namespace {

QStringList RowTexts(const ui::ListView& lv, int row) {
    QStringList texts;
    for (int c = 0; c < lv.columnCount(); ++c) texts << lv.text(row, c);
    return texts;
}

QRect MarginRect(QSize inner) {
    using namespace ui::twips;
    return QRect(ToPixelsX(75), ToPixelsY(75), ToPixelsX(FromPixelsX(inner.width()) - 150),
                 ToPixelsY(FromPixelsY(inner.height()) - 150));
}

}  // namespace

class ErrLogViewerTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> f;

    void logRow(const QVariant& modName, const QVariant& number, const QVariant& desc,
                const QVariant& stamp) {
        f->db().Execute("INSERT INTO ErrLog (ModName, ErrNum, ErrDesc, DateStamp) VALUES (?, ?, ?, ?)",
                        {modName, number, desc, stamp});
    }

private Q_SLOTS:
    void init() { f = std::make_unique<Fixture>(); }
    void cleanup() { f.reset(); }

    void opensWithItsLayout() {
        g_blnAltColors = false;  // the viewer stripes whatever the option says
        logRow("frmHome.LoadContactInfo", 3021, "No current record.", "2012-03-07 21:05:00");
        frmErrLog dlg;
        QCOMPARE(dlg.windowTitle(), QString("Program Error Log"));
        QVERIFY(dlg.isModal());
        QCOMPARE(dlg.lvError->objectName(), QString("lvError"));
        QCOMPARE(dlg.findChild<QWidget*>("picGrdClr"), dlg.picGrdClr);
        QCOMPARE(ui::ScreenRegistry::instance().find<frmErrLog>(), &dlg);

        const QStringList titles{"Module Name:", "Number:", "Error Description:", "Date/Time:"};
        const QList<int> widths{3390, 990, 4890, 2100};
        QCOMPARE(dlg.lvError->columnCount(), 4);
        for (int c = 0; c < 4; ++c) {
            QCOMPARE(dlg.lvError->columnText(c), titles[c]);
            QCOMPARE(dlg.lvError->header()->sectionSize(c), ui::twips::ToPixelsX(widths[c]));
        }
        QCOMPARE(RowTexts(*dlg.lvError, 0), QStringList({"frmHome.LoadContactInfo", "3021",
                                                         "No current record.", "03/07/2012 09:05 PM"}));
        QVERIFY(dlg.lvError->hasStripe());
        QCOMPARE(dlg.lvError->stripeFlag(), 0);
        QCOMPARE(dlg.lvError->stripeColor(), dlg.picGrdClr->palette().color(QPalette::Window));
        QVERIFY(!dlg.picGrdClr->isVisible());

        // Opens at its inner size; the list keeps a 75-twip margin as the window is resized, and stays
        // as it was when the window is too small for the margins.
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QCOMPARE(dlg.size(), QSize(ui::twips::ToPixelsX(11910), ui::twips::ToPixelsY(3405)));
        QCOMPARE(dlg.lvError->geometry(), MarginRect(dlg.size()));
        dlg.resize(600, 400);
        QCoreApplication::processEvents();
        QCOMPARE(dlg.size(), QSize(600, 400));
        QCOMPARE(dlg.lvError->geometry(), MarginRect(QSize(600, 400)));
        dlg.resize(6, 6);
        QCoreApplication::processEvents();
        QCOMPARE(dlg.size(), QSize(6, 6));
        QCOMPARE(dlg.lvError->geometry(), MarginRect(QSize(600, 400)));
        dlg.close();
    }

    void rowsAndTheirCells() {
        logRow("modGeneral.GetPhoneNum", 0, QVariant(), "2012-03-07 09:05:00");  // empty description
        logRow(QVariant(), 17, "left out", "2013-01-01 10:00:00");               // no procedure name
        logRow("frmMain.MDIForm_Load", QVariant(), "no number", "2012-03-08 00:05:09");
        logRow("frmNotes.cmdSave_Click", 3022, "Duplicate", "2011-12-31 12:00:00");
        logRow("frmToDo.Form_Load", 5, "date only", "2010-01-02");
        frmErrLog dlg;
        QCOMPARE(dlg.lvError->rowCount(), 4);
        QCOMPARE(RowTexts(*dlg.lvError, 0),
                 QStringList({"frmMain.MDIForm_Load", "", "no number", "03/08/2012 12:05 AM"}));
        QCOMPARE(RowTexts(*dlg.lvError, 1),
                 QStringList({"modGeneral.GetPhoneNum", "0", "", "03/07/2012 09:05 AM"}));
        QCOMPARE(RowTexts(*dlg.lvError, 2),
                 QStringList({"frmNotes.cmdSave_Click", "3022", "Duplicate", "12/31/2011 12:00 PM"}));
        QCOMPARE(RowTexts(*dlg.lvError, 3),
                 QStringList({"frmToDo.Form_Load", "5", "date only", "01/02/2010 12:00 AM"}));
    }

    // Rows logged within one second show in the order the database gives them, not re-sorted.
    void equalStampsInTheDatabasesOrder() {
        for (const char* name : {"frmB.one", "frmA.two", "frmC.three"})
            logRow(name, 1, "x", "2012-03-07 21:05:00");
        logRow("frmZ.newer", 1, "x", "2012-03-07 21:05:01");
        db::Recordset rs = f->db().OpenRecordset("SELECT ModName FROM ErrLog ORDER BY DateStamp DESC");
        QStringList dbOrder;
        for (; !rs.Eof(); rs.MoveNext()) dbOrder << rs.Value("ModName").toString();
        frmErrLog dlg;
        QStringList shown;
        for (int r = 0; r < dlg.lvError->rowCount(); ++r) shown << dlg.lvError->text(r);
        QCOMPARE(shown, dbOrder);
        QCOMPARE(shown.first(), QString("frmZ.newer"));
    }

    // Through the logger itself: the database stamps the row, an empty name leaves the row out.
    void loggedErrorsAndEmptyLog() {
        {
            frmErrLog empty;
            QCOMPARE(empty.lvError->rowCount(), 0);
            QVERIFY(!empty.lvError->hasStripe());
        }
        modGeneral::LogErrors("frmTest.cmdGo_Click", 0, "");
        modGeneral::LogErrors("", 91, "unnamed");
        frmErrLog dlg;
        QCOMPARE(dlg.lvError->rowCount(), 1);
        QCOMPARE(dlg.lvError->text(0, 0), QString("frmTest.cmdGo_Click"));
        QCOMPARE(dlg.lvError->text(0, 1), QString("0"));
        QCOMPARE(dlg.lvError->text(0, 2), QString());
        QVERIFY(QRegularExpression("^\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d [AP]M$")
                    .match(dlg.lvError->text(0, 3))
                    .hasMatch());
    }

    void trappedFailures_data() {
        QTest::addColumn<QString>("procName");
        QTest::addColumn<bool>("box");
        QTest::newRow("load") << "frmErrLog.Form_Load" << true;
        QTest::newRow("list") << "frmErrLog.LoadErrorList" << false;
    }
    void trappedFailures() {
        QFETCH(QString, procName);
        QFETCH(bool, box);
        logRow("frmOld.Proc", 1, "old", "2012-03-07 21:05:00");
        core::InjectFault(procName, 3051, "The database is locked.");
        if (box) f->prompts().answer(ui::Answer::OK);
        frmErrLog dlg;
        QCOMPARE(f->prompts().count(), box ? 1 : 0);
        if (box) QVERIFY(f->prompts().lastText().contains("The database is locked."));
        QCOMPARE(dlg.lvError->rowCount(), 0);
        QCOMPARE(f->rowCount("ErrLog", "ModName = ? AND ErrNum = 3051", {procName}), 1);

        dlg.LoadErrorList();  // the public reload lists both rows now
        QCOMPARE(dlg.lvError->rowCount(), 2);
    }

    void showModalUntilClosed() {
        logRow("frmOld.Proc", 1, "old", "2012-03-07 21:05:00");
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* dlg = ui::ScreenRegistry::instance().find<frmErrLog>();
            seen = dlg && dlg->isVisible() && dlg->isModal() && dlg->lvError->rowCount() == 1;
            if (dlg) dlg->close();
        });
        frmErrLog::ShowModal(nullptr);
        QVERIFY(seen);
        QVERIFY(!ui::ScreenRegistry::instance().find<frmErrLog>());
    }
};

// ---------------------------------------------------------------------------------------------

class ListHelpersTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> f;

private Q_SLOTS:
    void init() {
        f = std::make_unique<Fixture>();
        for (const auto& [id, name] :
             QList<QPair<int, QVariant>>{{1, "  Zed  "}, {2, QVariant()}, {3, "Adams"}, {4, "baker"}}) {
            f->db().Execute("INSERT INTO Contacts (ContID, ShownName) VALUES (?, ?)", {id, name});
        }
        for (const auto& [id, name] :
             QList<QPair<int, QVariant>>{{5, " Alpha  "}, {6, QVariant()}, {7, "Beta"}}) {
            f->db().Execute("INSERT INTO Projects (ProjID, PName) VALUES (?, ?)", {id, name});
        }
    }
    void cleanup() { f.reset(); }

    void pickLists_data() {
        QTest::addColumn<bool>("combo");
        QTest::newRow("combo box") << true;
        QTest::newRow("list box") << false;
    }
    // Null names are skipped and the others keep their own numbers; names trimmed, projects as
    // stored; the caller's blank first entry stays first and the list is not cleared.
    void pickLists() {
        QFETCH(bool, combo);
        std::unique_ptr<QWidget> widget;
        ui::PickList* list = nullptr;
        if (combo) {
            auto* c = new ui::ComboBox(ui::ComboBox::DropDownList);
            widget.reset(c);
            list = c;
        } else {
            auto* l = new ui::ListBox;
            widget.reset(l);
            list = l;
        }
        auto entries = [&] {
            QStringList out;
            for (int i = 0; i < list->count(); ++i)
                out << QStringLiteral("%1=%2").arg(list->itemText(i)).arg(list->itemData(i));
            return out;
        };

        list->addItem("", 0);
        modGeneral::LoadAllNames(*list);
        QCOMPARE(entries(), QStringList({"=0", "Zed=1", "Adams=3", "baker=4"}));
        QCOMPARE(list->listIndex(), -1);

        list->clear();
        list->addItem("", 0);
        modGeneral::LoadAllProjects(*list);
        modGeneral::LoadAllProjects(*list);
        QCOMPARE(entries(), QStringList({"=0", " Alpha  =5", "Beta=7", " Alpha  =5", "Beta=7"}));
    }

    void loadFailureIsSilentAndLogged_data() {
        QTest::addColumn<QString>("procName");
        QTest::newRow("names") << "modGeneral.LoadAllNames";
        QTest::newRow("projects") << "modGeneral.LoadAllProjects";
    }
    void loadFailureIsSilentAndLogged() {
        QFETCH(QString, procName);
        ui::ListBox list;
        list.addItem("kept", 9);
        core::InjectFault(procName, 3078, "No such table.");
        if (procName.endsWith("Names")) {
            modGeneral::LoadAllNames(list);
        } else {
            modGeneral::LoadAllProjects(list);
        }
        QCOMPARE(list.count(), 1);
        QCOMPARE(f->prompts().count(), 0);
        QCOMPARE(f->rowCount("ErrLog", "ModName = ? AND ErrNum = 3078", {procName}), 1);
    }

    void altBackground_data() {
        QTest::addColumn<int>("rows");
        QTest::addColumn<qint64>("colour");
        QTest::addColumn<int>("flag");
        QTest::addColumn<QColor>("stripe");  // invalid: none
        const QColor picture(196, 208, 226);
        QTest::newRow("picture's colour") << 3 << qint64(-1) << 0 << picture;
        QTest::newRow("colour number, red in the low byte")
            << 3 << qint64(0x336699) << 1 << QColor(0x99, 0x66, 0x33);
        QTest::newRow("one row") << 1 << qint64(-1) << 0 << picture;
        QTest::newRow("no rows") << 0 << qint64(-1) << 0 << QColor();
    }
    void altBackground() {
        QFETCH(int, rows);
        QFETCH(qint64, colour);
        QFETCH(int, flag);
        QFETCH(QColor, stripe);
        ui::ListView lv;
        QWidget pic;
        QPalette pal = pic.palette();
        pal.setColor(QPalette::Window, QColor(196, 208, 226));
        pic.setPalette(pal);
        lv.addColumn("Name", 2000);
        lv.setStripe(Qt::black, 1);  // left from an earlier fill
        for (int i = 0; i < rows; ++i) lv.addRow(QString("ID%1").arg(i), "x");

        modGeneral::AltLVBackground(lv, &pic, flag, colour);
        QCOMPARE(lv.hasStripe(), stripe.isValid());
        if (stripe.isValid()) {
            QCOMPARE(lv.stripeColor(), stripe);
            QCOMPARE(lv.stripeFlag(), flag);
        }
        QCOMPARE(f->rowCount("ErrLog"), 0);

        modGeneral::AltLVBackground(lv, nullptr, 0, -1);  // no picture to take the colour from
        QCOMPARE(f->rowCount("ErrLog", "ModName = 'modGeneral.AltLVBackground'"), 1);
        QCOMPARE(f->prompts().count(), 0);
    }
};

POMARET_TEST(ErrLogViewerTest)
POMARET_TEST(ListHelpersTest)
#include "tst_frmErrLog.moc"
