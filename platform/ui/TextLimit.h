#pragma once

class QLineEdit;
class QPlainTextEdit;

// The most an edit box takes, counted as QString::size() counts (and as the database layer counts a
// text column's size). A character outside the Basic Multilingual Plane, most emoji, counts two; Qt's
// own limit cuts between the two and leaves half a character, which no database text can hold. These
// limits keep whole characters: one that does not fit is left out whole.
namespace ui {

void LimitLength(QLineEdit* box, int length);
// A several-line box has no limit of its own: what goes past it is taken back out of what was just
// typed or pasted.
void LimitLength(QPlainTextEdit* box, int length);

}  // namespace ui
