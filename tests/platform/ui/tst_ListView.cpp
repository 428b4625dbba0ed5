#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <limits>
#include <memory>

#include "platform/db/DbError.h"
#include "platform/ui/ListView.h"
#include "platform/ui/PickList.h"
#include "platform/ui/Twips.h"
#include "support/TestRegistry.h"

using ui::ListView;

namespace {

const QColor kBase(255, 255, 255);
const QColor kStripe(20, 180, 40);

// Number of the error `fn` throws; 0 when it throws none.
int ErrorOf(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const db::DbError& e) {
        return e.number();
    }
    return 0;
}

// A shown list with two narrow columns (room beside them) and `rows` one-letter rows "K0", "K1", ...
std::unique_ptr<ListView> ShownList(int rows) {
    auto lv = std::make_unique<ListView>();
    QPalette pal = lv->palette();
    pal.setColor(QPalette::Base, kBase);
    lv->setPalette(pal);
    lv->addColumn("Name", 1500);
    lv->addColumn("Phone", 1500);
    for (int i = 0; i < rows; ++i) lv->addRow(QString("K%1").arg(i), QString(QChar('a' + i)));
    lv->resize(500, 300);
    lv->setFocusPolicy(Qt::NoFocus);  // no focus frame over the pixels looked at
    lv->show();
    if (!QTest::qWaitForWindowExposed(lv.get())) qWarning("list not exposed");
    return lv;
}

QPoint InRow(const ListView& lv, int row) {
    return QPoint(20, lv.rowRect(row).center().y());
}

}  // namespace

class ListViewTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void keysSubItemsAndErrors() {
        ListView lv;
        lv.addColumn("Name", 2000);
        lv.addColumn("Phone", 1500, Qt::AlignRight);
        QCOMPARE(lv.addRow("ID12", "Adams"), 0);
        QCOMPARE(lv.addRow("ID7", "Baker"), 1);
        QCOMPARE(lv.addRow("", "no key"), 2);
        QCOMPARE(lv.addRow("", "no key either"), 3);  // rows without a key are never refused
        lv.setSubItem(1, 1, "555-1234");

        QCOMPARE(ErrorOf([&] { lv.addRow("ID12", "Again"); }), 35602);
        QCOMPARE(lv.rowCount(), 4);
        QCOMPARE(lv.model()->rowCount(), 4);
        QCOMPARE(lv.text(0), QString("Adams"));
        QCOMPARE(lv.text(0, 1), QString());
        QCOMPARE(lv.text(1, 1), QString("555-1234"));
        QCOMPARE(lv.model()->index(1, 1).data().toString(), QString("555-1234"));
        QCOMPARE(lv.findKey("ID7"), 1);
        QCOMPARE(lv.findKey("ID8"), -1);
        QCOMPARE(lv.findKey(""), -1);
        QCOMPARE(lv.key(2), QString());

        QCOMPARE(ErrorOf([&] { lv.setSubItem(0, 2, "x"); }), 35600);  // no third column
        QCOMPARE(ErrorOf([&] { lv.setSubItem(4, 1, "x"); }), 35600);
        QCOMPARE(ErrorOf([&] { (void)lv.key(-1); }), 35600);

        // Removing a row renumbers the keys behind it; its own key becomes free.
        lv.removeRow(0);
        QCOMPARE(lv.findKey("ID7"), 0);
        QCOMPARE(lv.text(0, 1), QString("555-1234"));
        QCOMPARE(lv.addRow("ID12", "Adams"), 3);

        lv.clear();
        QCOMPARE(lv.rowCount(), 0);
        QCOMPARE(lv.findKey("ID7"), -1);
        QCOMPARE(lv.columnCount(), 2);
    }

    // Keys of every shape come back as given and are found, near twins apart ("ID5", "ID05", "ID 5",
    // "5"), a second one of each refused, also after a sort and a removal.
    void keysOfEveryShape() {
        const QStringList keys = QStringLiteral(
                                     "ID5|ID05|ID 5|5|0|ID0|NT5|ID-5|id5|ID|X|ID5a|ID\u0663|Zo\u00EB7|"
                                     "ID1234567890123456789|ID123456789012345678|CA12|ID9223372036854775807")
                                     .split(u'|');
        ListView lv;
        lv.addColumn("Name", 2000);
        for (int i = 0; i < keys.size(); ++i)
            QCOMPARE(lv.addRow(keys[i], QString::number(keys.size() - i)), i);
        const auto check = [&] {
            for (int i = 0; i < keys.size(); ++i) {
                const int row = lv.findKey(keys[i]);
                QVERIFY2(row >= 0 && lv.key(row) == keys[i], qPrintable(keys[i]));
                QCOMPARE(ErrorOf([&] { lv.addRow(keys[i], "again"); }), 35602);
            }
            for (const char* absent : {"ID6", "ID005", "NT05", "Y5", "ID50"})
                QCOMPARE(lv.findKey(absent), -1);
        };
        check();
        lv.sortByColumn(0);
        check();
        const QString gone = lv.key(3);
        lv.removeRow(3);
        QCOMPARE(lv.findKey(gone), -1);
        QCOMPARE(lv.addRow(gone, "back"), keys.size() - 1);
        check();
    }

    void rowKeys_data() {
        QTest::addColumn<QByteArray>("prefix");
        QTest::addColumn<qint64>("number");
        QTest::newRow("zero") << QByteArray("ID") << qint64(0);
        QTest::newRow("one digit") << QByteArray("NT") << qint64(5);
        QTest::newRow("many digits") << QByteArray("ID") << qint64(1234567890123);
        QTest::newRow("negative") << QByteArray("AP") << qint64(-42);
        QTest::newRow("smallest") << QByteArray("ID") << std::numeric_limits<qint64>::min();
        QTest::newRow("largest") << QByteArray("TD") << std::numeric_limits<qint64>::max();
        QTest::newRow("no prefix") << QByteArray() << qint64(7);
    }
    void rowKeys() {
        QFETCH(QByteArray, prefix);
        QFETCH(qint64, number);
        QCOMPARE(ui::RowKey(prefix.constData(), number),
                 QString::fromLatin1(prefix) + QString::number(number));
    }

    // Rows added in a batch reach the view in one insert, also when the loader stops with an error.
    void bulkFill() {
        ListView lv;
        lv.addColumn("Name", 2000);
        lv.addColumn("Phone", 1500);
        QSignalSpy inserts(lv.model(), &QAbstractItemModel::rowsInserted);
        {
            ListView::Batch batch(lv);
            for (int i = 0; i < 100000; ++i) {
                const int row = lv.addRow(QStringLiteral("ID%1").arg(i), QStringLiteral("Name %1").arg(i));
                if (i % 2 == 0) lv.setSubItem(row, 1, QStringLiteral("555-%1").arg(i));
            }
            QCOMPARE(lv.rowCount(), 100000);
        }
        QCOMPARE(inserts.count(), 1);
        QCOMPARE(lv.model()->rowCount(), 100000);
        // Every key is found where it was put, however often the key index grew meanwhile.
        for (int i = 0; i < 100000; ++i) {
            if (lv.findKey(QStringLiteral("ID%1").arg(i)) != i)
                QFAIL(qPrintable(QStringLiteral("ID%1").arg(i)));
        }
        QCOMPARE(ErrorOf([&] { lv.addRow("ID65536", "Again"); }), 35602);
        QCOMPARE(lv.text(99998, 1), QString("555-99998"));
        QCOMPARE(lv.text(99999, 1), QString());

        lv.clear();
        try {
            ListView::Batch batch(lv);
            lv.addRow("ID1", "one");
            lv.addRow("ID1", "one again");
            QFAIL("duplicate key accepted");
        } catch (const db::DbError&) {
        }
        QCOMPARE(lv.model()->rowCount(), 1);
        QVERIFY(lv.setSelectedKey("ID1"));
    }

    // Cell texts come back as set, whatever their length and however rows were filled, changed,
    // sorted and removed since: runs of one text (which rows may share), a text longer than the
    // list's blocks of text, texts across many blocks, changing one of a run, UTF-8 and UTF-16.
    void cellTextsSurviveEdits() {
        ListView lv;
        lv.addColumn("Subject", 2000);
        lv.addColumn("Due", 1500);
        QStringList subjects, dues;
        const QString longText = QString(70000, u'\u00E9') + QStringLiteral("end");
        {
            ListView::Batch batch(lv);
            for (int i = 0; i < 20000; ++i) {
                const QString subject =
                    i % 3 ? QStringLiteral("Subject %1") : QStringLiteral("Subject \u00FC %1");
                subjects << (i == 777 ? longText : subject.arg(i));
                dues << (i % 5 == 4 ? QString() : QStringLiteral("12/%1").arg(10 + i / 1000));
                // Every second row as a query row hands it over, in UTF-8.
                if (i % 2) {
                    const int row = lv.addRowUtf8(ui::RowKey("ID", i), subjects.last().toUtf8());
                    lv.setSubItemUtf8(row, 1, dues.last().toUtf8());
                } else {
                    const int row = lv.addRow(ui::RowKey("ID", i), subjects.last());
                    lv.setSubItem(row, 1, dues.last());
                }
            }
        }
        // One of a run of equal dates changed, and a row's own text; the rows beside keep theirs.
        lv.setSubItem(1, 1, "01/01");
        dues[1] = "01/01";
        lv.setSubItem(5000, 0, "changed");
        subjects[5000] = "changed";
        const auto check = [&] {
            QCOMPARE(lv.rowCount(), subjects.size());
            for (int row = 0; row < lv.rowCount(); ++row) {
                const int i = lv.key(row).mid(2).toInt();
                if (lv.text(row) != subjects[i] || lv.text(row, 1) != dues[i])
                    QFAIL(qPrintable(QStringLiteral("row %1 (item %2)").arg(row).arg(i)));
            }
        };
        check();
        lv.sortByColumn(1, Qt::DescendingOrder);
        check();
        lv.removeRow(lv.findKey("ID777"));
        subjects.removeLast();
        dues.removeLast();
        lv.removeRow(lv.findKey("ID19999"));
        QCOMPARE(lv.findKey("ID777"), -1);
        lv.addRow("ID777", longText);
        dues[777] = QString();
        check();
    }

    void clicks_data() {
        QTest::addColumn<int>("button");
        QTest::newRow("left") << int(Qt::LeftButton);
        QTest::newRow("right") << int(Qt::RightButton);
    }
    void clicks() {
        QFETCH(int, button);
        const auto b = Qt::MouseButton(button);
        auto lv = ShownList(3);
        QSignalSpy rows(lv.get(), &ListView::rowClicked);
        QSignalSpy empty(lv.get(), &ListView::emptyAreaClicked);

        QTest::mouseClick(lv->viewport(), b, {}, InRow(*lv, 1));
        QCOMPARE(rows.count(), 1);
        QCOMPARE(rows.last().at(0).toInt(), 1);
        QCOMPARE(rows.last().at(1).value<Qt::MouseButton>(), b);
        QCOMPARE(empty.count(), 0);
        QCOMPARE(lv->selectedRow(), 1);
        QCOMPARE(lv->selectedKey(), QString("K1"));

        // Below the last row, and beside the columns: the empty area, which deselects.
        QTest::mouseClick(lv->viewport(), b, {}, QPoint(20, lv->rowRect(2).bottom() + 40));
        QCOMPARE(empty.count(), 1);
        QCOMPARE(empty.last().at(0).value<Qt::MouseButton>(), b);
        QCOMPARE(lv->selectedRow(), -1);
        QCOMPARE(lv->selectedKey(), QString());
        QTest::mouseClick(lv->viewport(), b, {}, QPoint(450, InRow(*lv, 0).y()));
        QCOMPARE(empty.count(), 2);
        QCOMPARE(rows.count(), 1);
    }

    void doubleClickAndSelection() {
        auto lv = ShownList(3);
        QSignalSpy doubles(lv.get(), &ListView::rowDoubleClicked);
        QSignalSpy changed(lv.get(), &ListView::selectedRowChanged);
        // A real double click: press and release, then the double-click press.
        QTest::mouseClick(lv->viewport(), Qt::LeftButton, {}, InRow(*lv, 2));
        QTest::mouseDClick(lv->viewport(), Qt::LeftButton, {}, InRow(*lv, 2));
        QCOMPARE(doubles.count(), 1);
        QCOMPARE(doubles.last().at(0).toInt(), 2);
        QCOMPARE(changed.last().at(0).toInt(), 2);

        QVERIFY(lv->setSelectedKey("K0"));
        QCOMPARE(lv->selectedRow(), 0);
        QVERIFY(!lv->setSelectedKey("K9"));
        QCOMPARE(lv->selectedRow(), -1);

        // Sorting keeps the selected row selected and the keys pointing at their rows.
        lv->setSubItem(0, 0, "c");
        lv->setSelectedKey("K1");
        lv->sortByColumn(0, Qt::DescendingOrder);
        QCOMPARE(lv->text(0), QString("c"));
        QCOMPARE(lv->text(1), QString("c"));  // "K2" row, "c" as well: kept in its old place
        QCOMPARE(lv->key(0), QString("K0"));
        QCOMPARE(lv->findKey("K1"), 2);
        QCOMPARE(lv->selectedKey(), QString("K1"));
        QCOMPARE(lv->selectedRow(), 2);

        lv->clear();
        QCOMPARE(changed.last().at(0).toInt(), -1);
    }

    void stripePixels_data() {
        QTest::addColumn<int>("flag");
        QTest::newRow("rule") << 0;
        QTest::newRow("fill") << 1;
    }
    // The stripe is painted on the rows only: flag 0 a rule on the top line of rows 1, 3, 5 and no
    // other pixel line; flag 1 all of rows 0, 2, 4 but their last line.
    void stripePixels() {
        QFETCH(int, flag);
        auto lv = ShownList(6);
        lv->setStripe(kStripe, flag);
        QVERIFY(lv->hasStripe());
        const QImage img = lv->viewport()->grab().toImage();
        QCOMPARE(img.width(), lv->viewport()->width());

        QList<int> expected;
        for (int r = 0; r < 6; ++r) {
            const QRect rr = lv->rowRect(r);
            QVERIFY(rr.height() > 2);
            if (flag == 0 && r % 2 == 1) expected << rr.top();
            if (flag != 0 && r % 2 == 0) {
                for (int y = rr.top(); y < rr.bottom(); ++y) expected << y;
            }
        }
        QList<int> striped;
        for (int y = 0; y < img.height(); ++y) {
            const bool left = img.pixelColor(1, y) == kStripe;
            const bool right = img.pixelColor(img.width() - 2, y) == kStripe;
            QCOMPARE(left, right);
            if (right) striped << y;
        }
        QCOMPARE(striped, expected);

        lv->clearStripe();
        QVERIFY(!lv->hasStripe());
        const QImage plain = lv->viewport()->grab().toImage();
        QCOMPARE(plain.pixelColor(1, lv->rowRect(1).top()), kBase);
    }

    void gridLines() {
        auto lv = ShownList(3);
        const int x = 150;  // inside column 1, no text there
        const int bottom = lv->rowRect(0).bottom();
        const int mid = lv->rowRect(0).center().y();
        const int edge = lv->header()->sectionSize(0) - 1;
        QImage img = lv->viewport()->grab().toImage();
        QCOMPARE(img.pixelColor(x, bottom), kBase);
        QCOMPARE(img.pixelColor(edge, mid), kBase);

        lv->setGridLines(true);
        img = lv->viewport()->grab().toImage();
        QVERIFY(img.pixelColor(x, bottom) != kBase);
        QVERIFY(img.pixelColor(edge, mid) != kBase);
        QCOMPARE(img.pixelColor(x, mid), kBase);
        QCOMPARE(img.pixelColor(450, bottom), kBase);  // beside the columns

        lv->setGridLines(false);
        img = lv->viewport()->grab().toImage();
        QCOMPARE(img.pixelColor(x, bottom), kBase);
    }

    void columnsInTwips() {
        ListView lv;
        lv.addColumn("Module Name:", 3390);
        lv.addColumn("Number:", 990);
        QCOMPARE(lv.columnText(1), QString("Number:"));
        QCOMPARE(lv.header()->sectionSize(0), ui::twips::ToPixelsX(3390));
        QCOMPARE(lv.model()->headerData(0, Qt::Horizontal).toString(), QString("Module Name:"));
    }
};

// ---------------------------------------------------------------------------------------------

namespace {

enum Kind { DropDownList, DropDownCombo, List, SortedList };

std::unique_ptr<QWidget> MakePick(int kind, ui::PickList*& pick) {
    switch (kind) {
        case DropDownList:
        case DropDownCombo: {
            auto* c = new ui::ComboBox(kind == DropDownList ? ui::ComboBox::DropDownList
                                                            : ui::ComboBox::DropDownCombo);
            pick = c;
            return std::unique_ptr<QWidget>(c);
        }
        default: {
            auto* l = new ui::ListBox(nullptr, kind == SortedList);
            pick = l;
            return std::unique_ptr<QWidget>(l);
        }
    }
}

}  // namespace

class PickListTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void kinds_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("drop-down list") << int(DropDownList);
        QTest::newRow("drop-down combo") << int(DropDownCombo);
        QTest::newRow("list box") << int(List);
        QTest::newRow("sorted list box") << int(SortedList);
    }

    // Adding entries neither selects one nor moves the selected entry, and sends no change.
    void entriesAndSelection_data() { kinds_data(); }
    void entriesAndSelection() {
        QFETCH(int, kind);
        ui::PickList* p = nullptr;
        auto w = MakePick(kind, p);
        std::unique_ptr<QSignalSpy> spy;
        if (auto* c = qobject_cast<ui::ComboBox*>(w.get())) {
            spy = std::make_unique<QSignalSpy>(c, &QComboBox::currentIndexChanged);
        } else {
            spy = std::make_unique<QSignalSpy>(static_cast<ui::ListBox*>(w.get()),
                                               &ui::ListBox::listIndexChanged);
        }
        QSignalSpy& changed = *spy;

        p->addItem("Miller", 4);
        p->addItems({{"Adams", 1}, {"Zeta", 9}, {"Adams", 2}});
        QCOMPARE(p->count(), 4);
        QCOMPARE(p->listIndex(), -1);
        QCOMPARE(p->text(), QString());
        QCOMPARE(changed.count(), 0);

        // Item data belongs to the entry, not to its text.
        const int first = p->findData(1);
        const int second = p->findData(2);
        QVERIFY(first >= 0 && second >= 0 && first != second);
        QCOMPARE(p->itemText(first), QString("Adams"));
        QCOMPARE(p->itemText(second), QString("Adams"));

        p->setListIndex(p->findData(9));
        QCOMPARE(p->text(), QString("Zeta"));
        const int changes = changed.count();
        QVERIFY(changes >= 1);
        p->addItem("Baker", 3);
        p->addItems({{"Carter", 5}, {"Able", 6}});
        QCOMPARE(p->text(), QString("Zeta"));
        QCOMPARE(p->itemData(p->listIndex()), qint64(9));
        QCOMPARE(changed.count(), changes);

        if (kind == SortedList) {
            QStringList order;
            for (int i = 0; i < p->count(); ++i) order << p->itemText(i);
            QCOMPARE(order, QStringList({"Able", "Adams", "Adams", "Baker", "Carter", "Miller", "Zeta"}));
            QCOMPARE(p->itemData(1), qint64(1));  // equal texts in the order added
            QCOMPARE(p->addItem("b", 7), 3);
            QCOMPARE(p->newIndex(), 3);
        } else {
            QCOMPARE(p->itemText(0), QString("Miller"));
            QCOMPARE(p->itemText(6), QString("Able"));
            QCOMPARE(p->newIndex(), 6);
        }

        p->removeItem(p->listIndex());
        QCOMPARE(p->listIndex(), -1);
        p->clear();
        QCOMPARE(p->count(), 0);
        QCOMPARE(p->listIndex(), -1);
        QCOMPARE(p->itemText(0), QString());
    }

    // Clicks on entries, by index; the entries selected afterwards and the list index.
    void multipleSelection_data() {
        QTest::addColumn<bool>("multi");
        QTest::addColumn<QList<int>>("clicks");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<int>("index");
        QTest::newRow("multiple: clicks add") << true << QList<int>{0, 2, 3} << QList<int>{0, 2, 3} << 3;
        QTest::newRow("multiple: a second click deselects")
            << true << QList<int>{1, 3, 1} << QList<int>{3} << 1;
        QTest::newRow("multiple: all off again") << true << QList<int>{2, 2} << QList<int>{} << 2;
        QTest::newRow("single: a click replaces") << false << QList<int>{0, 2} << QList<int>{2} << 2;
    }
    void multipleSelection() {
        QFETCH(bool, multi);
        QFETCH(QList<int>, clicks);
        QFETCH(QList<int>, selected);
        QFETCH(int, index);
        ui::ListBox list(nullptr, true);
        list.setMultiSelect(multi);
        list.addItems({{"Work", 1}, {"Family", 2}, {"Network", 3}, {"Friends", 4}});  // sorted: F, F, N, W
        list.resize(200, 200);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        for (int i : clicks) {
            QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                              list.visualRect(list.model()->index(i, 0)).center());
        }
        QList<int> got;
        for (int i = 0; i < list.count(); ++i) {
            if (list.selected(i)) got << i;
        }
        QCOMPARE(got, selected);
        QCOMPARE(list.selCount(), selected.size());
        QCOMPARE(list.listIndex(), index);

        // Entries added in alphabetical order keep the marks (and the current entry) where they were.
        const QString current = list.text();
        QStringList before;
        for (int i : selected) before << list.itemText(i);
        list.addItems({{"Alpha", 5}, {"Beta", 6}});
        QStringList after;
        for (int i = 0; i < list.count(); ++i) {
            if (list.selected(i)) after << list.itemText(i);
        }
        QCOMPARE(after, before);
        QCOMPARE(list.text(), current);
    }

    void editableComboKeepsTypedText() {
        ui::ComboBox c(ui::ComboBox::DropDownCombo);
        QTest::keyClicks(c.lineEdit(), "Smi");
        c.addItems({{"Smith", 1}, {"Jones", 2}});
        QCOMPARE(c.text(), QString("Smi"));
        QCOMPARE(c.listIndex(), -1);
        c.setListIndex(1);
        QCOMPARE(c.text(), QString("Jones"));
    }

    void manyEntriesAtOnce_data() { kinds_data(); }
    void manyEntriesAtOnce() {
        QFETCH(int, kind);
        ui::PickList* p = nullptr;
        auto w = MakePick(kind, p);
        QVector<QPair<QString, qint64>> items;
        items.reserve(100000);
        for (int i = 0; i < 100000; ++i) items.append({QStringLiteral("Name %1").arg(99999 - i), i});
        p->addItems(items);
        QCOMPARE(p->count(), 100000);
        QCOMPARE(p->itemText(p->findData(5)), QString("Name 99994"));
    }
};

POMARET_TEST(ListViewTest)
POMARET_TEST(PickListTest)
#include "tst_ListView.moc"
