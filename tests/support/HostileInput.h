#pragma once

#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

#include "support/Fixture.h"

class QWidget;
class frmMain;
class frmContEntry;
class frmProjEntry;

namespace ui {
class ListView;
}

// The hostile-input table: texts that have broken programs before, typed and pasted into a box as a
// user can, with what the box then holds and how the stored text is followed to the lists, their
// exports and the print-outs.
namespace testsupport::hostile {

// The hostile texts every box gets, by row name.
const QList<QPair<const char*, QString>>& Texts();

// The columns "text" and "pasted" (and "company" with `withCompany`): each text typed and pasted;
// with `withCompany`, each once as a person's name and once as a company's.
void AddRows(bool withCompany = false);
// The column "text" alone, for a text given to an input box (typing and pasting are the box's own).
void AddTextRows();

// The characters of a text, a pair of surrogates as one.
QStringList Characters(const QString& text);
bool WholeCharacters(const QString& text);

// What an empty box holds after Enter(text): typing drops control characters (a several-line box takes
// a tab, and a line break as Return); a several-line box makes CR, LF and a pasted CR LF one line
// break; a maximum length (0: none) keeps whole characters: a paste ends before the first character
// that does not fit, typed characters that do not fit are left out.
QString Expected(QString text, bool pasted, bool multiLine, int maxLength);

// Replaces what a box holds as a user can: typed a character at a time (one outside the Basic
// Multilingual Plane arrives whole, as an input method sends it; a line break as Return in a
// several-line box), or pasted at once with Ctrl+V. An editable combo box takes it in its line.
void Enter(QWidget* box, const QString& text, bool pasted);

// What a box holds, a several-line box's line breaks as "\n".
QString BoxText(QWidget* box);

// Whether the name search for `typed` finds `name`: a prefix match in which `*` and `?` stand for
// a character and every other character is itself, letter case aside.
bool Matches(const QString& name, const QString& typed);

// The name with each character that is not a letter, digit or blank replaced by "X": a search for the
// name finds it only where a character of the search acts as a wildcard.
QString Decoy(const QString& name);

// A stored text with CR LF line breaks, as the several-line boxes store what they show.
QString Stored(const QString& shown);

// A comma-separated file read as RFC 4180 has it (with the UTF-8 its text/csv type allows): records
// ended by CR LF (the last one may end the file without it), fields separated by commas, a field
// either plain (no comma, double quote, CR or LF) or quoted with inner quotes doubled, every record
// with the same number of fields. Empty, with `error` set, when the bytes break any of this.
QList<QStringList> ReadCsv(const QByteArray& bytes, QString* error);

// Whether pdftotext's text of a print-out holds `text`, as far as the machine has a font for its
// characters (with none, nothing is printed that could be read back) and in the Basic Multilingual
// Plane (Qt's PDFs give pdftotext no text for the others), without control characters.
// Blanks and line breaks play no part, so a text wrapped over lines is whole again; ligatures and
// presentation forms read back as their letters; in a text with right-to-left letters each word
// stands whole, in the order the page shows them.
bool PrintedTextHolds(const QString& pdfText, const QString& text);

// What a test of the table needs around it: a fresh database for every row, the main window, the
// rows read back, and the stored texts followed to a list screen's export.
class Case : public QObject {
protected:
    std::unique_ptr<Fixture> f;
    std::unique_ptr<frmMain> w;

    void init();
    void cleanup();
    // The main window loaded and active, as at start-up.
    void start();
    static void settle();

    void addContact(int id, const QString& type, const QString& shownName, const QVariant& company = {},
                    const QVariant& jobTitle = {});
    QList<QVariantList> rows(const QString& sql);
    QVariant stored(const QString& sql, const QVariantList& params = {});
    // The rows of a query as the boxes show them, Null as empty.
    QList<QStringList> texts(const QString& sql);
    frmContEntry* openEditor(int id);
    frmProjEntry* openProject(int id);
    // No error logged or shown, however hostile the text.
    void checkNoErrors();
    // The list screen's "Save File As ..." read back: a well-formed file of the headers and, line by
    // line, exactly the texts its list shows.
    void checkExport(QWidget* screen);

    // The user-field dialog of contacts (or of projects), each on its own pair of tables: a field
    // named with the row's text (cut to what a name may hold) gets the text as its value, typed or
    // pasted; it loads, saves and is removed by its own name only: a decoy field whose name differs in
    // each character that is not a letter, digit or blank keeps its value and stays.
    void userFieldsOf(bool project);
};

}  // namespace testsupport::hostile
