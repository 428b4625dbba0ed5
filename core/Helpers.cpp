// The small shared procedures every screen calls: status line, SQL quoting, key-to-name lookups,
// text-box focus, flat borders, closing the screens, word-wrapped printing.
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBoundaryFinder>
#include <QTextEdit>
#include <stdexcept>

#include "core/MainWindowLink.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/Error.h"
#include "platform/db/SqlDialect.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/Printer.h"
#include "platform/ui/ScreenRegistry.h"

using core::Tail;

namespace modAPI {

void FlatBorder(QWidget* control) {
    core::trap(QStringLiteral("modAPI.FlatBorder"), Tail::Silent, [&] {
        if (!control) throw std::invalid_argument("FlatBorder: no control");
        if (qobject_cast<QLineEdit*>(control) || qobject_cast<QComboBox*>(control) ||
            qobject_cast<QAbstractSpinBox*>(control)) {
            // These draw their own frame; a style sheet is the one way to replace it. The property
            // selector keeps the rule off the control's children (a spin box's inner edit box).
            // The background follows PaintBox (the "locked" property).
            if (control->property("flatBorder").toBool()) return;
            control->setProperty("flatBorder", true);
            const QString colour = control->palette().color(QPalette::Dark).name();
            control->setStyleSheet(
                control->styleSheet() +
                QStringLiteral("\n[flatBorder=\"true\"] { border: 1px solid %1; }"
                               "\n[flatBorder=\"true\"][locked=\"true\"] { background-color: palette(button); }"
                               "\n[flatBorder=\"true\"][locked=\"false\"] { background-color: white; }")
                    .arg(colour));
        } else if (auto* frame = qobject_cast<QFrame*>(control)) {
            frame->setFrameShape(QFrame::Box);
            frame->setFrameShadow(QFrame::Plain);
            frame->setLineWidth(1);
        }
    });
}

}  // namespace modAPI

namespace modGeneral {

namespace {

// The one-row lookups: the text of `field` in the first row of `sql`, or "" for no row, a Null or
// any failure (logged under `procName`).
QString FirstText(const QString& procName, const QString& sql, const QString& field) {
    QString result;
    core::trap(procName, Tail::Silent, [&] {
        db::Recordset rs = g_dbLocal->OpenRecordset(sql);
        if (!rs.Eof()) {
            rs.MoveFirst();
            const QVariant value = rs.Value(field);
            if (!value.isNull()) result = value.toString();
        }
        rs.Close();
    });
    return result;
}

}  // namespace

void SetStatus(const QString& message, bool wait) {
    QString text;
    if (message.isEmpty()) {
        ui::SetArrow();
        text = QStringLiteral("Ready ...");
    } else {
        text = wait ? message + QStringLiteral(", please wait...") : message;
    }
    if (core::MainWindowLink* window = core::MainWindow()) window->SetStatusText(text);
}

QString FixQuotes(const QString& text) {
    return QString(text).replace(QLatin1Char('\''), QStringLiteral("''"));
}

bool NothingSelected(int row) {
    if (row >= 0) return false;
    ui::MsgBox(QStringLiteral("There is nothing from the list to select"), ui::OKOnly, ui::ProgramTitle());
    return true;
}

int32_t KeyRecordNumber(const QString& key) {
    bool ok = false;
    const int32_t number = key.mid(2).toInt(&ok);
    if (!ok) throw platform::Error(13, QStringLiteral("Type mismatch"));
    return number;
}

QString ConvertContactName(int32_t contId) {
    return FirstText(QStringLiteral("modGeneral.ConvertContactName"),
                     QStringLiteral("SELECT ContID, ShownName FROM Contacts ") +
                         QStringLiteral("WHERE ContID = ") + QString::number(contId),
                     QStringLiteral("ShownName"));
}

QString ConvertProjectName(int32_t projId) {
    return FirstText(QStringLiteral("modGeneral.ConvertProjectName"),
                     QStringLiteral("SELECT ProjID, PName FROM Projects ") +
                         QStringLiteral("WHERE ProjID = ") + QString::number(projId),
                     QStringLiteral("PName"));
}

bool RecordExists(const QString& table, const QString& keyColumn, int32_t number) {
    db::Recordset rs =
        g_dbLocal->OpenRecordset(QStringLiteral("SELECT ") + keyColumn + QStringLiteral(" FROM ") + table +
                                     QStringLiteral(" WHERE ") + keyColumn + QStringLiteral(" = ?"),
                                 {number});
    const bool found = !rs.Eof();
    rs.Close();
    return found;
}

void RequireRecord(const QString& table, const QString& keyColumn, int32_t number) {
    if (!RecordExists(table, keyColumn, number))
        throw db::DbError(db::kErrNoCurrentRecord, QStringLiteral("The record no longer exists."));
}

void CallLoader(const QString& formName, const char* loader) {
    QWidget* form = ui::ScreenRegistry::instance().find(formName);
    if (!form) return;
    const QByteArray signature = QByteArray(loader) + "()";
    if (form->metaObject()->indexOfMethod(signature.constData()) < 0) return;
    QMetaObject::invokeMethod(form, loader, Qt::DirectConnection);
}

QStringList LookupList(const QString& kind) {
    QStringList out;
    g_dbLocal->ForEachRow(QStringLiteral("SELECT ItemID, Description FROM Lookup ") +
                              QStringLiteral("WHERE ItemID = ? ") + QStringLiteral("ORDER BY Description"),
                          {kind}, [&](const db::Database::RowView& row) {
                              if (!row.isNull(1)) out << row.text(1);
                          });
    return out;
}

QString GetPhoneNum(int32_t contId) {
    return FirstText(QStringLiteral("modGeneral.GetPhoneNum"),
                     QStringLiteral("SELECT fkContID, fkLookup, PhoneNum FROM CPhone ") +
                         QStringLiteral("WHERE fkContID = ") + QString::number(contId) +
                         QStringLiteral(" AND fkLookup = '") + QStringLiteral("Home") + QStringLiteral("' "),
                     QStringLiteral("PhoneNum"));
}

namespace {

// The row FirstText would read first: the first entered.
QString FirstOfKindColumn(const char* column, const char* table, const char* kind,
                          const QString& contIdColumn) {
    const QString t = QLatin1String(table);
    return QStringLiteral(
               "(SELECT %1 FROM %2 WHERE %2.fkContID = %3 AND %2.fkLookup = '%4' ORDER BY %2.rowid LIMIT 1)")
        .arg(QLatin1String(column), t, contIdColumn, QLatin1String(kind));
}

}  // namespace

QString HomePhoneColumn(const QString& contIdColumn) {
    return FirstOfKindColumn("PhoneNum", "CPhone", "Home", contIdColumn);
}

QString NameSearchWhere(const QString& pattern, QVariantList& params) {
    QString where = QStringLiteral("WHERE ShownName LIKE ?");
    params << pattern;
    // A typed prefix is read from the ShownName index rather than by testing every contact.
    if (const auto range = db::SqlDialect::likePrefixRange(pattern)) {
        where += QStringLiteral(" AND ShownName >= ? AND ShownName < ?");
        params << range->low << range->high;
    }
    return where;
}

QString PersonalEMailColumn(const QString& contIdColumn) {
    return FirstOfKindColumn("Email", "CEMail", "Personal", contIdColumn);
}

QString GetEMail(int32_t contId) {
    return FirstText(QStringLiteral("modGeneral.GetEMail"),
                     QStringLiteral("SELECT fkContID, fkLookup, Email FROM CEMail ") +
                         QStringLiteral("WHERE fkContID = ") + QString::number(contId) +
                         QStringLiteral(" AND fkLookup = '") + QStringLiteral("Personal") +
                         QStringLiteral("' "),
                     QStringLiteral("Email"));
}

void highLightOnFocus(QWidget* box) {
    ui::afterEvent(box, [box] {
        if (box->hasFocus()) highLight();
    });
}

ItemOpening NewItem(const QString& description) {
    return {0, 0, description};
}

ItemOpening StoredItem(int32_t number) {
    return {2, number, QString()};
}

namespace {

// The program-wide edit mode is left alone: an item dialog never reads it.
void OpenItem(const char* formName, const char* numberMember, const ItemOpening& item) {
    ui::OpenValues values{{QLatin1String(kEntryModeValue), item.mode}};
    if (item.mode != 0) values.insert(QLatin1String(numberMember), item.number);
    if (!item.description.isEmpty()) values.insert(QLatin1String(kTimeSaverTextValue), item.description);
    ui::ScreenRegistry::instance().openRequired(QLatin1String(formName), values);
}

}  // namespace

void OpenToDo(const ItemOpening& item) {
    OpenItem("frmToDo", "m_lngToDoID", item);
}

void OpenNote(const ItemOpening& item) {
    OpenItem("frmNotes", "m_lngNoteID", item);
}

void OpenAppt(const ItemOpening& item) {
    OpenItem("frmAppt", "m_lngApptID", item);
}

void highLight() {
    core::trap(QStringLiteral("modGeneral.highLight"), Tail::Silent, [] {
        QWidget* focused = QApplication::focusWidget();
        if (!focused) {
            QWidget* active = QApplication::activeWindow();
            if (!active) throw std::runtime_error("No active form");
            focused = active->focusWidget();
        }
        // Typing then replaces the whole content.
        if (auto* line = qobject_cast<QLineEdit*>(focused))
            line->selectAll();
        else if (auto* plain = qobject_cast<QPlainTextEdit*>(focused))
            plain->selectAll();
        else if (auto* rich = qobject_cast<QTextEdit*>(focused))
            rich->selectAll();
    });
}

void CloseAllChildForms(Closing closing) {
    // A form that refuses to close, or takes another with it, must not stop the screen switch.
    try {
        ui::ScreenRegistry::instance().closeAll(closing == Closing::ScreenSwitch);
    } catch (...) {
    }
}

// ---------------------------------------------------------------------------------------------
// PrintWrapped: the description boxes of the print-outs, in centimetres from the printable area's
// top-left corner. Words wrap at 19.8 to x 3, one 0.38 line lower; a line that would pass the
// printer's PageBottom (the printable bottom unless set) goes to a new page at its TopMargin. A word
// wider than a whole line is broken, so nothing is printed past the right edge.

namespace {

constexpr double kRightEdge = 19.8;
constexpr double kWrapX = 3.0;
constexpr double kLineStep = 0.38;
constexpr double kEpsilon = 1e-6;

// PrintWrapped works in centimetres whatever the caller's scale, and leaves the caller's scale.
class CentimetreScale {
public:
    explicit CentimetreScale(class ui::Printer& printer) : m_printer(printer), m_saved(printer.ScaleMode()) {
        m_printer.SetScaleMode(ui::ScaleUnit::Centimeters);
    }
    ~CentimetreScale() { m_printer.SetScaleMode(m_saved); }
    CentimetreScale(const CentimetreScale&) = delete;
    CentimetreScale& operator=(const CentimetreScale&) = delete;

private:
    class ui::Printer& m_printer;
    ui::ScaleUnit m_saved;
};

void WrapLine(class ui::Printer& printer) {
    double y = printer.CurrentY() + kLineStep;
    const double bottom = printer.PageBottom() > 0 ? printer.PageBottom() : printer.ScaleHeight();
    if (y + printer.TextHeight() > bottom + kEpsilon) {
        printer.NewPage();
        y = printer.TopMargin();
    }
    printer.SetCurrentX(kWrapX);
    printer.SetCurrentY(y);
}

bool AtLineStart(class ui::Printer& printer) {
    return printer.CurrentX() <= kWrapX + kEpsilon;
}

// The length of the longest leading part of `word` (whole characters) not wider than `room`.
qsizetype FittingLength(class ui::Printer& printer, const QString& word, double room) {
    QList<qsizetype> bounds;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, word);
    for (qsizetype at = finder.toNextBoundary(); at > 0; at = finder.toNextBoundary()) bounds << at;
    qsizetype lo = 0;  // index into bounds of the longest fitting part, counted from 1; 0: none
    qsizetype hi = bounds.size();
    while (lo < hi) {
        const qsizetype mid = (lo + hi + 1) / 2;
        if (printer.TextWidth(word.left(bounds[mid - 1])) <= room + kEpsilon)
            lo = mid;
        else
            hi = mid - 1;
    }
    if (lo > 0) return bounds[lo - 1];
    return 0;
}

qsizetype FirstCharacterLength(const QString& word) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, word);
    const qsizetype at = finder.toNextBoundary();
    return at > 0 ? at : word.size();
}

void PrintWord(class ui::Printer& printer, QString word) {
    if (printer.CurrentX() + printer.TextWidth(word) > kRightEdge + kEpsilon && !AtLineStart(printer))
        WrapLine(printer);
    while (printer.CurrentX() + printer.TextWidth(word) > kRightEdge + kEpsilon) {
        qsizetype part = FittingLength(printer, word, kRightEdge - printer.CurrentX());
        if (part == 0) {
            if (!AtLineStart(printer)) {
                WrapLine(printer);
                continue;
            }
            part = FirstCharacterLength(word);  // a single character wider than the line
        }
        printer.Print(word.left(part), true);
        word.remove(0, part);
        if (word.isEmpty()) return;
        WrapLine(printer);
    }
    printer.Print(word, true);
}

}  // namespace

void PrintWrapped(const QString& text) {
    auto& printer = ui::Printer();
    const CentimetreScale scale(printer);
    const qsizetype length = text.size();
    qsizetype i = 0;
    while (i < length) {
        const qsizetype start = i;
        while (i < length && text[i].unicode() > 32) ++i;
        if (i > start) PrintWord(printer, text.mid(start, i - start));
        for (; i < length && text[i].unicode() <= 32; ++i) {
            if (text[i] == QLatin1Char(' '))
                printer.Print(QStringLiteral(" "), true);
            else if (text[i] == QLatin1Char('\n'))
                WrapLine(printer);
            // carriage returns, tabs and other control characters are dropped
        }
    }
}

}  // namespace modGeneral
