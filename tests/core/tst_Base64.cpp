#include <QTest>
#include <memory>

#include "core/modEncrypt.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

using testsupport::Fixture;

class Base64Test : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> f;

private Q_SLOTS:
    void init() { f = std::make_unique<Fixture>(); }
    void cleanup() { f.reset(); }

    // Encoding rows are also decoded back; decoding rows only decode.
    void codec_data() {
        // clang-format off
        QTest::addColumn<bool>("encode");
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("wrap");
        QTest::addColumn<QString>("expected");

        QTest::newRow("empty encodes empty") << true << "" << 0 << "";
        QTest::newRow("1 char, two pads") << true << "a" << 0 << "YQ==";
        QTest::newRow("2 chars, one pad") << true << "ab" << 0 << "YWI=";
        QTest::newRow("3 chars, no pad") << true << "abc" << 0 << "YWJj";
        QTest::newRow("4 chars, 8 out, two pads") << true << "abcd" << 0 << "YWJjZA==";
        QTest::newRow("bytes 0 to 255") << true << QString::fromLatin1("\xff\x00\x80", 3) << 0 << "/wCA";
        QTest::newRow("wrap 4: one break, none at end") << true << "abcd" << 4 << "YWJj\r\nZA==";
        QTest::newRow("wrap 4 on exactly 4") << true << "abc" << 4 << "YWJj";
        QTest::newRow("wrap 3") << true << "abcd" << 3 << "YWJ\r\njZA\r\n==";

        QTest::newRow("decode abc") << false << "YWJj" << 0 << "abc";
        QTest::newRow("decode a") << false << "YQ==" << 0 << "a";
        QTest::newRow("decode one pad") << false << "YWJ=" << 0 << "ab";
        QTest::newRow("decode empty") << false << "" << 0 << "";
        QTest::newRow("blanks and breaks only") << false << " \r\n " << 0 << "";
        QTest::newRow("blanks and CR LF anywhere") << false << " YW\r\nJj Z\nA=\r= " << 0 << "abcd";
        QTest::newRow("tab rejected") << false << "YW\tJj" << 0 << "";
        QTest::newRow("hyphen rejected") << false << "YW-j" << 0 << "";
        QTest::newRow("underscore rejected") << false << "YW_j" << 0 << "";
        QTest::newRow("length 3 rejected") << false << "YWJ" << 0 << "";
        QTest::newRow("length 5 rejected") << false << "YWJjZ" << 0 << "";
        QTest::newRow("pad inside the text") << false << "YQ==YWJj" << 0 << "";
        QTest::newRow("pad before a letter") << false << "YW=j" << 0 << "";
        QTest::newRow("character above 255") << false << QString::fromUtf8("YW\u20acj") << 0 << "";
        // clang-format on
    }
    void codec() {
        QFETCH(bool, encode);
        QFETCH(QString, input);
        QFETCH(int, wrap);
        QFETCH(QString, expected);
        if (encode) {
            QCOMPARE(modEncrypt::Base64Encode(input, static_cast<int16_t>(wrap)), expected);
            QCOMPARE(modEncrypt::Base64Decode(expected), input);
        } else {
            QCOMPARE(modEncrypt::Base64Decode(input), expected);
        }
        QCOMPARE(f->rowCount("ErrLog"), 0);
    }

    // The stored form: fresh salt each time, checked exactly; anything not salt and key never matches.
    void passwordHash() {
        const QString stored = modEncrypt::HashPassword("Secret1");
        QCOMPARE(stored.size(), 48);
        QVERIFY(stored != modEncrypt::HashPassword("Secret1"));
        QVERIFY(modEncrypt::VerifyPassword("Secret1", stored));
        for (const char* typed : {"secret1", "Secret", ""})
            QVERIFY(!modEncrypt::VerifyPassword(typed, stored));
        for (const QString& bad :
             {modEncrypt::Base64Encode("Secret1", 0), stored.left(44), QString("not base64")})
            QVERIFY(!modEncrypt::VerifyPassword("Secret1", bad));
        // Beyond Latin-1 the password counts as UTF-8.
        const QString euro = modEncrypt::HashPassword(QString::fromUtf8("\u20ac5"));
        QVERIFY(modEncrypt::VerifyPassword(QString::fromUtf8("\u20ac5"), euro));
        QVERIFY(!modEncrypt::VerifyPassword("?5", euro));
    }
};

POMARET_TEST(Base64Test)

#include "tst_Base64.moc"
