// The strict reader the hostile-input table reads the list exports with: a lenient one would let a
// broken export pass as the list's texts.
#include <QTest>

#include "support/HostileInput.h"
#include "support/TestRegistry.h"

class CsvReaderTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void reads_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("records");  // fields joined by "|", records by "/"; "!" refused
        QTest::newRow("quoted and plain") << QByteArray("\"a\",b\r\n\"\",\"c\"\r\n") << "a|b/|c";
        QTest::newRow("inner quotes, comma, line breaks")
            << QByteArray("\"Say \"\"Hi\"\"\",\"x,y\"\r\n\"1\r\n2\",\"3\n\r4\"\r\n")
            << "Say \"Hi\"|x,y/1\r\n2|3\n\r4";
        QTest::newRow("last line without CR LF") << QByteArray("a,b\r\nc,d") << "a|b/c|d";
        QTest::newRow("UTF-8") << QByteArray("\"Zo\xc3\xab\"\r\n") << "Zoë";
        QTest::newRow("quote in a plain field") << QByteArray("a\"b\r\n") << "!";
        QTest::newRow("unclosed quote") << QByteArray("\"ab\r\n") << "!";
        QTest::newRow("text after a closing quote") << QByteArray("\"a\"b\r\n") << "!";
        QTest::newRow("LF alone ends a line") << QByteArray("a\nb\r\n") << "!";
        QTest::newRow("CR alone ends a line") << QByteArray("a\rb\r\n") << "!";
        QTest::newRow("lines of different lengths") << QByteArray("a,b\r\nc\r\n") << "!";
        QTest::newRow("not UTF-8") << QByteArray("\"Zo\xeb\"\r\n") << "!";
        QTest::newRow("byte-order mark") << QByteArray("\xef\xbb\xbf\"a\"\r\n") << "!";
        QTest::newRow("empty last field") << QByteArray("a,") << "a|";
    }
    void reads() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, records);
        QString error;
        QStringList got;
        for (const QStringList& r : testsupport::hostile::ReadCsv(bytes, &error)) got << r.join(u'|');
        QCOMPARE(error.isEmpty() ? got.join(u'/') : QStringLiteral("!"), records);
    }
};

POMARET_TEST(CsvReaderTest)
#include "tst_CsvReader.moc"
