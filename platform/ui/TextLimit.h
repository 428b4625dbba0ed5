#pragma once

#include <QString>

class QLineEdit;
class QPlainTextEdit;
class QWidget;

// How the program's edit boxes take text from the user and give it back.
//
// A limit is the most a user may type or paste into a box, counted as QString::size() counts (and as
// the database layer counts a text column's size). A character outside the Basic Multilingual Plane,
// most emoji, counts two; Qt's own limit cuts between the two and leaves half a character, which no
// database text can hold. These limits keep whole characters: one that does not fit is left out whole.
//
// Only the user's edits are limited. A text the program puts into a box (setText, setPlainText) is
// shown whole however long it is, so that a stored text is never cut on its way to the screen and
// back; the user may then shorten it, but not lengthen it.
namespace ui {

void LimitLength(QLineEdit* box, int length);
// A several-line box has no limit of its own: what goes past it is taken back out of what was just
// typed or pasted. The box keeps its undo enabled: setPlainText is told from typing by the undo that
// Qt turns off while it replaces the whole text.
void LimitLength(QPlainTextEdit* box, int length);
// The limit a box was given; 0 for none.
int LengthLimit(const QWidget* box);

// Puts a text the program holds into a one-line box, shown from its beginning: setText leaves the
// cursor, and with it the view of a text longer than the box, at its end.
void ShowText(QLineEdit* box, const QString& text);

// A several-line box's text exactly as it holds it, a line break as "\n". QPlainTextEdit::toPlainText
// turns a no-break space into a blank and a line separator (U+2028) into a line break, so a stored
// text read back that way would differ from itself.
QString PlainText(const QPlainTextEdit* box);

}  // namespace ui
