#include "support/HostileInput.h"

#include <algorithm>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFontDatabase>
#include <QHash>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRawFont>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTest>

#include "contacts/dialogs/UserFieldsDialog.h"
#include "contacts/frmContEntry.h"
#include "core/modGeneral.h"
#include "platform/shell/SingleInstance.h"
#include "platform/ui/ListView.h"
#include "platform/ui/PickList.h"
#include "platform/ui/ScreenRegistry.h"
#include "platform/ui/TextLimit.h"
#include "projects/frmProjEntry.h"
#include "shell/frmMain.h"
#include "support/ListScreenCheck.h"

namespace testsupport::hostile {

const QList<QPair<const char*, QString>>& Texts() {
    static const QList<QPair<const char*, QString>> texts{
        {"apostrophes", QStringLiteral("O'Brien's 'Bar'")},
        {"double quotes", QStringLiteral("Say \"Hi\" \"\"")},
        {"percent and underscore", QStringLiteral("50% off_sale")},
        {"star and question mark", QStringLiteral("Who*s? there")},
        {"hash, bracket, semicolon", QStringLiteral("#1 [a-z]; [Group]")},
        {"drop table", QStringLiteral("'; DROP TABLE Contacts; --")},
        {"always true", QStringLiteral("x' OR '1'='1")},
        {"accents and scripts", QStringLiteral("Émile-Straße, Жуков (中文)")},
        {"emoji", QStringLiteral("Ann 😀 Bo 👍🏽")},
        {"right to left", QStringLiteral("שלום, مرحبا!")},
        {"control characters", QStringLiteral("a\tb\u0001c\u007Fd\re\nf")},
        {"far too long", QStringLiteral("Ab ").repeated(150)},
        // Every limit falls inside a pair in one of the two.
        {"emoji past the limit, even", QStringLiteral("😀").repeated(200)},
        {"emoji past the limit, odd", QStringLiteral("x") + QStringLiteral("😀").repeated(200)},
    };
    return texts;
}

void AddRows(bool withCompany) {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("pasted");
    QTest::addColumn<bool>("company");
    for (const auto& [name, text] : Texts()) {
        for (const bool pasted : {false, true}) {
            for (const bool company : withCompany ? QList<bool>{false, true} : QList<bool>{false}) {
                QTest::addRow("%s, %s%s", name, pasted ? "pasted" : "typed",
                              withCompany ? (company ? ", company" : ", person") : "")
                    << text << pasted << company;
            }
        }
    }
}

void AddTextRows() {
    QTest::addColumn<QString>("text");
    for (const auto& [name, text] : Texts()) QTest::newRow(name) << text;
}

QStringList Characters(const QString& text) {
    QStringList out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair =
            text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        out << text.mid(i, pair ? 2 : 1);
        if (pair) ++i;
    }
    return out;
}

bool WholeCharacters(const QString& text) {
    for (const QString& c : Characters(text)) {
        if (c.size() == 1 && c.at(0).isSurrogate()) return false;
    }
    return true;
}

QString Expected(QString text, bool pasted, bool multiLine, int maxLength) {
    if (multiLine && pasted) text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QString out;
    for (QString c : Characters(text)) {
        if (multiLine && (c == u'\r' || c == u'\n')) {
            c = QStringLiteral("\n");
        } else if (!pasted && c.at(0).category() == QChar::Other_Control && !(multiLine && c == u'\t')) {
            continue;
        }
        if (maxLength > 0 && out.size() + c.size() > maxLength) {
            if (pasted) break;
            continue;
        }
        out += c;
    }
    return out;
}

void Enter(QWidget* box, const QString& text, bool pasted) {
    if (auto* combo = qobject_cast<QComboBox*>(box)) box = combo->lineEdit();
    box->setFocus();
    QMetaObject::invokeMethod(box, "selectAll");
    if (pasted) {
        QGuiApplication::clipboard()->setText(text);
        QTest::keySequence(box, QKeySequence(QKeySequence::Paste));
        return;
    }
    const bool multiLine = qobject_cast<QPlainTextEdit*>(box) != nullptr;
    for (const QString& c : Characters(text)) {
        if (multiLine && (c == u'\r' || c == u'\n')) {
            QTest::keyClick(box, Qt::Key_Return);
        } else {
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, c, Qt::NoModifier);
        }
    }
}

QString BoxText(QWidget* box) {
    if (auto* combo = qobject_cast<QComboBox*>(box)) return combo->currentText();
    if (auto* line = qobject_cast<QLineEdit*>(box)) return line->text();
    return ui::PlainText(qobject_cast<QPlainTextEdit*>(box));
}

bool Matches(const QString& name, const QString& typed) {
    const QStringList n = Characters(name);
    const QStringList t = Characters(typed);
    if (t.isEmpty() || t.size() > n.size()) return false;
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (t[i] != u'*' && t[i] != u'?' && t[i].toCaseFolded() != n[i].toCaseFolded()) return false;
    }
    return true;
}

QString Decoy(const QString& name) {
    QString out;
    for (const QString& c : Characters(name))
        out += (c.size() == 1 && (c.at(0).isLetterOrNumber() || c == u' ')) ? c : QStringLiteral("X");
    return out;
}

QString Stored(const QString& shown) {
    return QString(shown).replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
}

QList<QStringList> ReadCsv(const QByteArray& bytes, QString* error) {
    const auto fail = [&](const QString& why, qsizetype at) {
        *error = QStringLiteral("%1 at byte %2").arg(why).arg(at);
        return QList<QStringList>{};
    };
    QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decode(bytes);
    if (decode.hasError()) return fail(QStringLiteral("not UTF-8"), 0);
    if (bytes.startsWith("\xEF\xBB\xBF")) return fail(QStringLiteral("a byte-order mark"), 0);

    QList<QStringList> records;
    QStringList record;
    QString field;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        if (text.at(i) == u'"') {
            // Quoted: anything up to a lone quote; "" is one quote.
            for (++i;; ++i) {
                if (i >= n) return fail(QStringLiteral("an unclosed quote"), i);
                if (text.at(i) == u'"') {
                    if (i + 1 < n && text.at(i + 1) == u'"') {
                        field += u'"';
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += text.at(i);
            }
        } else {
            while (i < n && text.at(i) != u',' && text.at(i) != u'\r' && text.at(i) != u'\n') {
                if (text.at(i) == u'"') return fail(QStringLiteral("a quote in a plain field"), i);
                field += text.at(i++);
            }
        }
        // After a field: a comma, a record's CR LF, or the end.
        record << field;
        field.clear();
        if (i >= n) break;
        if (text.at(i) == u',') {
            if (++i >= n) record << QString();  // an empty last field
            continue;
        }
        if (text.at(i) != u'\r' || i + 1 >= n || text.at(i + 1) != u'\n')
            return fail(QStringLiteral("a field not followed by a comma or CR LF"), i);
        i += 2;
        records << record;
        record.clear();
    }
    if (!record.isEmpty()) records << record;
    for (const QStringList& r : records) {
        if (r.size() != records.first().size())
            return fail(QStringLiteral("records of different lengths"), n);
    }
    return records;
}

namespace {

// A character some installed font draws. Characters beyond the Basic Multilingual Plane are drawn
// but come back from Qt's PDFs with no text pdftotext can read, so they are left out too.
bool Printable(char32_t c) {
    if (c > 0xFFFF) return false;
    static QHash<char32_t, bool> known;
    const auto found = known.constFind(c);
    if (found != known.constEnd()) return *found;
    bool printable = false;
    for (const QString& family : QFontDatabase::families()) {
        if (QRawFont::fromFont(QFont(family)).supportsCharacter(c)) {
            printable = true;
            break;
        }
    }
    known.insert(c, printable);
    return printable;
}

// Without blanks, line breaks and control characters, ligatures and presentation forms as letters.
QString Letters(const QString& text) {
    QString out;
    for (const QChar c : text.normalized(QString::NormalizationForm_KC)) {
        if (!c.isSpace() && c.category() != QChar::Other_Control && c.category() != QChar::Other_Format)
            out += c;
    }
    return out;
}

}  // namespace

bool PrintedTextHolds(const QString& pdfText, const QString& text) {
    const QString printed = Letters(pdfText);
    const auto kept = [](const QString& part) {
        QString out;
        for (const QString& c : Characters(part)) {
            if (Printable(c.toUcs4().value(0))) out += c;
        }
        return Letters(out);
    };
    // Right-to-left words come back in the order they stand on the page, each one whole.
    const bool rightToLeft = std::any_of(text.begin(), text.end(), [](QChar c) {
        return c.direction() == QChar::DirR || c.direction() == QChar::DirAL;
    });
    if (!rightToLeft) return printed.contains(kept(text));
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    for (const QString& word : text.split(blanks, Qt::SkipEmptyParts)) {
        if (!printed.contains(kept(word))) return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------------

void Case::init() {
    f = std::make_unique<Fixture>();
}

void Case::cleanup() {
    modGeneral::CloseAllChildForms();
    settle();
    w.reset();
    shell::SingleInstance::release();
    f.reset();
}

void Case::start() {
    w = std::make_unique<frmMain>();
    if (w->MDIForm_Load() != frmMain::LoadResult::Running) qFatal("the start-up ended the program");
    QApplication::setActiveWindow(w.get());
    if (!QTest::qWaitForWindowActive(w.get())) qFatal("the main window never became active");
}

void Case::settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void Case::addContact(int id, const QString& type, const QString& shownName, const QVariant& company,
                      const QVariant& jobTitle) {
    f->db().Execute(
        "INSERT INTO Contacts (ContID, CTYPE, Setting, FullName, ShownName, CompName, JobTitle) "
        "VALUES (?, ?, 'Default', ?, ?, ?, ?)",
        {id, type, shownName, shownName, company, jobTitle});
}

QList<QVariantList> Case::rows(const QString& sql) {
    QList<QVariantList> out;
    for (db::Recordset rs = f->db().OpenRecordset(sql); !rs.Eof(); rs.MoveNext()) {
        QVariantList row;
        for (int i = 0; i < rs.FieldCount(); ++i) row << rs.Value(i);
        out << row;
    }
    return out;
}

QVariant Case::stored(const QString& sql, const QVariantList& params) {
    return f->scalar(sql, params);
}

QList<QStringList> Case::texts(const QString& sql) {
    QList<QStringList> out;
    for (const QVariantList& row : rows(sql)) {
        out << QStringList{};
        for (const QVariant& v : row) out.last() << v.toString();  // Null reads as empty
    }
    return out;
}

frmContEntry* Case::openEditor(int id) {
    g_lngCurContID = id;
    modGeneral::CloseAllChildForms();
    settle();
    return qobject_cast<frmContEntry*>(ui::ScreenRegistry::instance().open(QStringLiteral("frmContEntry")));
}

frmProjEntry* Case::openProject(int id) {
    g_lngCurProjID = id;
    modGeneral::CloseAllChildForms();
    settle();
    return qobject_cast<frmProjEntry*>(ui::ScreenRegistry::instance().open(QStringLiteral("frmProjEntry")));
}

void Case::checkNoErrors() {
    settle();
    QCOMPARE(f->rowCount(QStringLiteral("ErrLog")), 0);
    QCOMPARE(f->prompts().pending(), 0);
}

void Case::checkExport(QWidget* screen) {
    ui::ListView* list = ResultList(screen);
    QVERIFY(list);
    QVERIFY(list->rowCount() > 0);
    const int before = f->prompts().count();
    const QByteArray bytes = SaveAs(screen, f->prompts());
    QCOMPARE(f->prompts().count(), before + 1);
    QCOMPARE(f->prompts().lastText(), QStringLiteral("The File was Sucessfully Created and Saved."));
    QString error;
    const QList<QStringList> records = ReadCsv(bytes, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(records.size(), list->rowCount() + 1);
    const qsizetype fields = records.first().size();
    QVERIFY(fields <= list->columnCount());
    for (int r = 0; r < list->rowCount(); ++r) {
        QStringList shown;
        for (int c = 0; c < fields; ++c) shown << list->text(r, c);
        QCOMPARE(records.at(r + 1), shown);
    }
}

void Case::userFieldsOf(bool project) {
    QFETCH(QString, text);
    QFETCH(bool, pasted);
    const QString fields = project ? "PUserFields" : "CUserFields";
    const QString values = project ? "PUFldValues" : "CUFldValues";
    const QString owner = project ? "fkProjID" : "fkContID";
    addContact(1, "I", "Berg, Anna");
    f->db().Execute("INSERT INTO Projects (ProjID, PName, Setting) VALUES (1, 'Roof', 'Default')");
    const QString name = Expected(text, true, false, 100);
    const QString decoy = Decoy(name);
    const bool withDecoy = decoy != name;
    if (withDecoy) {
        f->db().Execute("INSERT INTO " + fields + " (Description) VALUES (?)", {decoy});
        f->db().Execute("INSERT INTO " + values + " (" + owner + ", fkUserFld, Value) VALUES (1, ?, 'decoy')",
                        {decoy});
    }
    start();
    g_lngCurProjID = 1;
    QWidget* e = project ? ui::ScreenRegistry::instance().open("frmProjEntry") : openEditor(1);
    QVERIFY(e);
    e->findChild<QAbstractButton*>("cmdUserFld")->click();
    QPointer<UserFieldsDialog> dlg = qobject_cast<UserFieldsDialog*>(
        ui::ScreenRegistry::instance().find(project ? "frmUserPrjFields" : "frmUserFields"));
    QVERIFY(dlg);
    auto* list = dlg->findChild<ui::ListBox*>("lstUserFld");
    auto* box = dlg->findChild<QLineEdit*>("txtValue");
    const auto choose = [&] {
        const QModelIndex entry = list->model()->index(list->findText(name), 0);
        list->scrollTo(entry);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(entry).center());
        settle();
    };

    // A name longer than a field name may be is refused; the one that fits is taken as given.
    if (text.size() > 100) {
        f->prompts().input(text).answer(ui::Answer::OK);
        dlg->findChild<QAbstractButton*>("cmdOpts(0)")->click();
        QCOMPARE(f->prompts().lastText(), QString("The field entered is too long. (100 characters max)"));
    }
    f->prompts().input(name);
    dlg->findChild<QAbstractButton*>("cmdOpts(0)")->click();
    QCOMPARE(f->rowCount(fields, "Description = ?", {name}), 1);

    choose();
    QCOMPARE(box->text(), QString());
    Enter(box, text, pasted);
    const QString value = box->text();
    QCOMPARE(value, Expected(text, pasted, false, 100));
    QVERIFY(WholeCharacters(value));
    QTest::keyClick(box, Qt::Key_Return);
    settle();
    QCOMPARE(f->rowCount(values, "fkUserFld = ?", {name}), 1);
    QCOMPARE(stored("SELECT Value FROM " + values + " WHERE " + owner + " = 1 AND fkUserFld = ?", {name})
                 .toString(),
             value);
    choose();
    QCOMPARE(box->text(), value);

    // In use: refused. Once its value is gone: asked, and removed.
    f->prompts().answer(ui::Answer::OK);
    dlg->findChild<QAbstractButton*>("cmdOpts(1)")->click();
    QCOMPARE(f->prompts().lastTitle(), QString("Cannot Remove Used Field"));
    f->db().Execute("DELETE * FROM " + values + " WHERE fkUserFld = ?", {name});
    choose();
    f->prompts().answer(ui::Answer::Yes);
    dlg->findChild<QAbstractButton*>("cmdOpts(1)")->click();
    QCOMPARE(f->prompts().lastText(),
             "Are you sure you want to DELETE User Field\n[ " + name + " ] from the User Field List?");
    QCOMPARE(f->rowCount(fields, "Description = ?", {name}), 0);
    QCOMPARE(f->rowCount(fields), withDecoy ? 1 : 0);
    QCOMPARE(f->rowCount(values, "Value = 'decoy'"), withDecoy ? 1 : 0);

    dlg->findChild<QAbstractButton*>("cmdOpts(2)")->click();
    settle();
    QVERIFY(!dlg);
    QCOMPARE(e->findChild<ui::ListView*>("lvUserDef")->rowCount(), withDecoy ? 1 : 0);
    checkNoErrors();
}

}  // namespace testsupport::hostile
