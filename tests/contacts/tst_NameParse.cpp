#include <QTest>
#include <memory>

#include "contacts/clsNameParse.h"
#include "core/Trap.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

namespace {

const QString kUnable = QStringLiteral("Unable To Parse");

struct Parts {
    Parts(const char* prefix = "", const char* first = "", const char* middle = "", const char* last = "",
          const char* suffix = "", const char* title = "", const char* initial = "")
        : prefix(prefix),
          first(first),
          middle(middle),
          last(last),
          suffix(suffix),
          title(title),
          initial(initial) {}
    QString prefix, first, middle, last, suffix, title, initial;
};

}  // namespace

class NameParseTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testsupport::Fixture> f;  // ErrLog rows, and a failing test on any box shown

    static void row(const char* tag, const QString& input, const Parts& p, bool error = false) {
        QTest::newRow(tag) << input << p.prefix << p.first << p.middle << p.last << p.suffix << p.title
                           << p.initial << error;
    }
    static void failed(const char* tag, const QString& input, const Parts& p = Parts()) {
        row(tag, input, p, true);
    }

private Q_SLOTS:
    void init() { f = std::make_unique<testsupport::Fixture>(); }
    void cleanup() { f.reset(); }

    void parse_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("middle");
        QTest::addColumn<QString>("last");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("initial");
        QTest::addColumn<bool>("error");

        // {prefix, first, middle, last, suffix, title, middle initial}
        row("first last", "Anna Berg", {"", "Anna", "", "Berg"});
        row("first middle last", "Anna Maria Berg", {"", "Anna", "Maria", "Berg", "", "", "M"});
        row("last, first", "Berg, Anna", {"", "Anna", "", "Berg"});
        row("last, first middle", "Berg, Anna Maria", {"", "Anna", "Maria", "Berg", "", "", "M"});
        // Every word before the first comma is the last name, every one after the first name the middle.
        row("last, first middle more", "Berg, Anna Maria Louise",
            {"", "Anna", "Maria Louise", "Berg", "", "", "M"});
        row("two-word last name", "van Berg, Anna Maria", {"", "Anna", "Maria", "van Berg", "", "", "M"});
        row("three-word last name", "de la Cruz, Juan Carlos",
            {"", "Juan", "Carlos", "de la Cruz", "", "", "C"});
        row("words joined by one blank", "van  Berg,\tAnna  Maria   Louise",
            {"", "Anna", "Maria Louise", "van Berg", "", "", "M"});
        row("hyphen and apostrophe in one word", "O'Neil-Smith, Mary Ann",
            {"", "Mary", "Ann", "O'Neil-Smith", "", "", "A"});
        row("title after a second comma", "Berg, Anna, Director", {"", "Anna", "", "Berg", "", "Director"});
        row("title after last, first middle", "Berg, Anna Maria, Director",
            {"", "Anna", "Maria", "Berg", "", "Director", "M"});
        row("ends in a comma: no title", "Berg, Anna,", {"", "Anna", "", "Berg"});
        row("prefix with full stop", "Dr. Anna Berg", {"Dr.", "Anna", "", "Berg"});
        row("prefix in capitals", "DR ANNA BERG", {"DR", "ANNA", "", "BERG"});
        row("mr does not take Mrs.", "Mrs. Anna Berg", {"Mrs.", "Anna", "", "Berg"});
        row("only one prefix", "Lt. Col. Anna Berg", {"Lt.", "Col.", "Anna", "Berg", "", "", "A"});
        row("suffix with full stop", "Anna Berg Jr.", {"", "Anna", "", "Berg", "Jr."});
        row("III whole, not i or ii", "Anna Berg III", {"", "Anna", "", "Berg", "III"});
        row("only one suffix", "Anna Berg Jr. Esq.", {"", "Anna", "Berg", "Esq.", "Jr.", "", "B"});
        row("lone V is a suffix", "Anna V Berg", {"", "Anna", "", "Berg", "V"});
        row("i earlier in the list than jr", "Anna I Berg Jr", {"", "Anna", "Berg", "Jr", "I", "", "B"});
        row("suffix in the middle", "Anna Jr Berg", {"", "Anna", "", "Berg", "Jr"});
        row("suffix with a blank in it", "Anna Berg Ph D", {"", "Anna", "", "Berg", "Ph D"});
        row("comma before the suffix stripped", "Anna Berg, Jr.", {"", "Anna", "", "Berg", "Jr."});
        row("all five parts", "Dr. Anna Maria Berg Jr.", {"Dr.", "Anna", "Maria", "Berg", "Jr.", "", "M"});
        row("blanks around and between", "  Anna   Berg  ", {"", "Anna", "", "Berg"});
        row("tab between words", "Anna\tBerg", {"", "Anna", "", "Berg"});

        failed("no white space after the comma", "Berg,Anna");
        failed("one word", "Berg");
        failed("prefix and one word", "Mr. Berg", {"Mr."});
        failed("four words", "Anna Maria Louise Berg");
        failed("empty", "");
        failed("second comma, two-word title", "Berg, Anna, Vice President");
        // White space is only blank, form feed, line feed, carriage return, tab and vertical tab,
        // trimming takes blanks only, and $ is the very end of the text.
        failed("no-break space is not white space", QStringLiteral("Anna\u00A0Berg"));
        failed("line feed at the end stays", "Anna Berg\n");
    }
    void parse() {
        QFETCH(QString, input);
        QFETCH(QString, prefix);
        QFETCH(QString, first);
        QFETCH(QString, middle);
        QFETCH(QString, last);
        QFETCH(QString, suffix);
        QFETCH(QString, title);
        QFETCH(QString, initial);
        QFETCH(bool, error);

        clsNameParse p;
        p.ParseName(input);
        QCOMPARE(p.Prefix(), prefix);
        QCOMPARE(p.FirstName(), first);
        QCOMPARE(p.MiddleName(), middle);
        QCOMPARE(p.LastName(), last);
        QCOMPARE(p.Suffix(), suffix);
        QCOMPARE(p.Title(), title);
        QCOMPARE(p.MiddleInitial(), initial);
        QCOMPARE(p.HasError(), error);
        QCOMPARE(p.ErrorMessage(), error ? kUnable : QString());
        // A name that cannot be split is an outcome, not an error: nothing is logged.
        QCOMPARE(f->rowCount(QStringLiteral("ErrLog")), 0);
    }

    void middleInitial_data() {
        QTest::addColumn<QString>("middle");
        QTest::addColumn<QString>("initial");
        QTest::newRow("name") << "Maria"
                              << "M";
        QTest::newRow("initial with full stop") << "M."
                                                << "M";
        QTest::newRow("one letter") << "M"
                                    << "";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("letter outside the BMP")
            << QStringLiteral("\U0001D4DCaria") << QStringLiteral("\U0001D4DC");
        QTest::newRow("lone letter outside the BMP") << QStringLiteral("\U0001D4DC") << "";
    }
    void middleInitial() {
        QFETCH(QString, middle);
        QFETCH(QString, initial);
        clsNameParse p;
        p.setMiddleInitial(QStringLiteral("X"));
        p.setMiddleName(middle);
        QCOMPARE(p.MiddleInitial(), initial);
    }

    void laterParseKeepsWhatItDoesNotSet() {
        clsNameParse p;
        p.ParseName(QStringLiteral("Dr. Berg, Jr. Anna Maria, Director"));
        QCOMPARE(p.Prefix(), QStringLiteral("Dr."));
        QCOMPARE(p.Suffix(), QStringLiteral("Jr."));
        QCOMPARE(p.Title(), QStringLiteral("Director"));

        p.ParseName(QStringLiteral("Eva Lind"));
        QCOMPARE(p.FirstName(), QStringLiteral("Eva"));
        QCOMPARE(p.LastName(), QStringLiteral("Lind"));
        QCOMPARE(p.MiddleName(), QStringLiteral("Maria"));
        QCOMPARE(p.Prefix(), QStringLiteral("Dr."));
        QCOMPARE(p.Suffix(), QStringLiteral("Jr."));
        QCOMPARE(p.Title(), QStringLiteral("Director"));

        p.ParseName(QStringLiteral("Lind"));
        QVERIFY(p.HasError());
        QCOMPARE(p.FirstName(), QStringLiteral("Eva"));
        p.ParseName(QStringLiteral("Eva Berg"));
        QVERIFY(p.HasError());
        QCOMPARE(p.ErrorMessage(), kUnable);
        QCOMPARE(p.LastName(), QStringLiteral("Berg"));

        p.Clear();
        QVERIFY(!p.HasError());
        QVERIFY(p.ErrorMessage().isEmpty());
        for (const QString& part : {p.Prefix(), p.FirstName(), p.MiddleName(), p.MiddleInitial(),
                                    p.LastName(), p.Suffix(), p.Title()})
            QVERIFY(part.isEmpty());
    }

    // An error inside a step is logged under the step's name and shown nowhere (the fixture fails the
    // test on any box); a failed extraction leaves nothing to parse.
    void errorsAreLoggedSilently_data() {
        QTest::addColumn<QString>("procName");
        QTest::addColumn<bool>("error");
        QTest::addColumn<QString>("first");
        QTest::newRow("suffix step") << "clsNameParse.fncExtractSuffix" << true << "";
        QTest::newRow("prefix step") << "clsNameParse.fncExtractPrefix" << true << "";
        QTest::newRow("title step") << "clsNameParse.fncExtractTitle" << true << "";
        QTest::newRow("word step") << "clsNameParse.subParseFirstMiddleLast" << false << "";
        QTest::newRow("whole parse") << "clsNameParse.ParseName" << false << "";
    }
    void errorsAreLoggedSilently() {
        QFETCH(QString, procName);
        QFETCH(bool, error);
        QFETCH(QString, first);
        core::InjectFault(procName, 5, QStringLiteral("Invalid procedure call"));
        clsNameParse p;
        p.ParseName(QStringLiteral("Mr. Anna Maria Berg"));
        QCOMPARE(p.HasError(), error);
        QCOMPARE(p.ErrorMessage(), error ? kUnable : QString());
        QCOMPARE(p.FirstName(), first);
        QCOMPARE(
            f->rowCount(QStringLiteral("ErrLog"), QStringLiteral("ModName = ? AND ErrNum = 5"), {procName}),
            1);
        QCOMPARE(f->rowCount(QStringLiteral("ErrLog")), 1);
    }
};

POMARET_TEST(NameParseTest)

#include "tst_NameParse.moc"
