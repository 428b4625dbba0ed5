#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "platform/settings/Settings.h"
#include "support/TestRegistry.h"

// The store on its own: values go to the chosen INI file, come back as written, and a store that
// cannot be reached says so instead of losing or inventing values.
class SettingsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;

    QString path(const QString& name = QStringLiteral("Application.ini")) const {
        return dir->filePath(name);
    }
    QByteArray fileText(const QString& name = QStringLiteral("Application.ini")) const {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void writeFile(const QByteArray& text) const {
        QFile f(path());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }

private Q_SLOTS:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        settings::SetFile(path());
    }
    void cleanup() {
        settings::SetFile(QString());
        dir.reset();
    }

    void roundTrip_data() {
        QTest::addColumn<QString>("value");
        QTest::newRow("number") << "1500";
        QTest::newRow("negative") << "-1";
        QTest::newRow("fraction") << "1234.5";
        QTest::newRow("empty") << "";
        QTest::newRow("blanks around") << "  12  ";
        QTest::newRow("commas") << "1, 2,3";
        QTest::newRow("at sign") << "@Variant(x)";
        QTest::newRow("equals and semicolon") << "a=b;c";
        QTest::newRow("quotes and backslash") << "\"C:\\x\" 'y'";
        QTest::newRow("accents") << QString::fromUtf8("Émile Brontë");
    }
    void roundTrip() {
        QFETCH(QString, value);
        settings::SaveSetting("Application", "Pomaret", "Key", value);
        QCOMPARE(settings::GetSetting("Application", "Pomaret", "Key", "default"), value);
        // On disk at once, under the section, in the file that was chosen.
        QVERIFY(fileText().contains("[Pomaret]"));
        QVERIFY(fileText().contains("Key="));
    }

    void absentKeyGivesDefault() {
        QCOMPARE(settings::GetSetting("Application", "Pomaret", "WindowState", "2"), QString("2"));
        settings::SaveSetting("Application", "Other", "WindowState", "0");
        QCOMPARE(settings::GetSetting("Application", "Pomaret", "WindowState", "2"), QString("2"));
        QCOMPARE(settings::GetSetting("Application", "Other", "WindowState", "2"), QString("0"));
    }

    void keepsOtherKeysAndSeesOutsideEdits() {
        writeFile("[Pomaret]\nAltColors=5\nGridLines=1,2\n");
        QCOMPARE(settings::GetSetting("Application", "Pomaret", "AltColors", "-1"), QString("5"));
        QCOMPARE(settings::GetSetting("Application", "Pomaret", "GridLines", "0"), QString("1, 2"));
        settings::SaveSetting("Application", "Pomaret", "Security", "0");
        QCOMPARE(settings::GetSetting("Application", "Pomaret", "AltColors", "-1"), QString("5"));
        writeFile("[Pomaret]\nAltColors=0\n");
        QCOMPARE(settings::GetSetting("Application", "Pomaret", "AltColors", "-1"), QString("0"));
    }

    void otherApplicationIsAFileBeside() {
        settings::SaveSetting("Other", "Pomaret", "Key", "x");
        QVERIFY(!QFile::exists(path()));
        QVERIFY(fileText("Other.ini").contains("Key=x"));
        QCOMPARE(settings::GetSetting("Application", "Pomaret", "Key", "none"), QString("none"));
    }

    void createsItsFolder() {
        settings::SetFile(dir->filePath("config/Pomaret/Application.ini"));
        settings::SaveSetting("Application", "Pomaret", "WindowLeft", "1500");
        QCOMPARE(settings::GetSetting("Application", "Pomaret", "WindowLeft", ""), QString("1500"));
    }

    // A write onto a file broken by hand keeps it aside (start-up's reads are the main window's test).
    void writeOntoUnparsableFileSetsItAside() {
        const QByteArray bad("[Pomaret\nAltColors=0\n");
        writeFile(bad);
        settings::SaveSetting("Application", "Pomaret", "WindowState", "0");
        QCOMPARE(fileText("Application.ini.unreadable"), bad);
        QCOMPARE(fileText(), QByteArray("[Pomaret]\nWindowState=0\n"));
        QCOMPARE(settings::TakeSetAsideFile(), path("Application.ini.unreadable"));
        QCOMPARE(settings::TakeSetAsideFile(), QString());
    }

    void unreachableStoreRaises() {
        // A folder where the file's folder should be: nothing can be written there.
        QFile blocker(path("blocker"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        settings::SetFile(path("blocker") + "/Application.ini");
        QVERIFY_THROWS_EXCEPTION(settings::SettingsError,
                                 settings::SaveSetting("Application", "Pomaret", "K", "1"));

        // A folder standing where the file should be gives the defaults and takes nothing.
        QVERIFY(QDir().mkpath(path()));
        settings::SetFile(path());
        QCOMPARE(settings::GetSetting("Application", "Pomaret", "K", "0"), QString("0"));
        QVERIFY_THROWS_EXCEPTION(settings::SettingsError,
                                 settings::SaveSetting("Application", "Pomaret", "K", "1"));
        QCOMPARE(settings::TakeUnusableFile(), path());
        QCOMPARE(settings::TakeUnusableFile(), QString());
        QVERIFY(QFileInfo(path()).isDir());

        settings::SetFile(QString());
        QVERIFY_THROWS_EXCEPTION(settings::SettingsError,
                                 settings::GetSetting("Application", "Pomaret", "K", "0"));
    }
};

POMARET_TEST(SettingsTest)
#include "tst_Settings.moc"
