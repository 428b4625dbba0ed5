#pragma once

class QDialog;
class QPushButton;

namespace ui {

// The keys of a dialog, set once its controls are built. Enter presses the focused button, as Space
// does; anywhere else it presses `defaultButton`, or nothing when the dialog has none (nullptr).
// Several-line boxes keep Enter for a new line but give Tab up to the next control.
void SetDialogKeys(QDialog* dialog, QPushButton* defaultButton);

}  // namespace ui
