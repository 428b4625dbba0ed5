#pragma once

#include <QDialog>
#include <QString>
#include <QWidget>

class QLabel;

// Stands in for a screen that is not built yet: an MDI child showing its caption and a line saying
// that it comes later, under the screen's own name, so that the start-up and the screen switches
// already work with it.
class PlaceholderScreen : public QWidget {
    Q_OBJECT

public:
    PlaceholderScreen(const QString& name, const QString& caption, QWidget* parent = nullptr);

    // A further line under the note, e.g. what the screen was handed ("lblDetail").
    void SetDetail(const QString& text);

private:
    QLabel* m_detail = nullptr;
};

// The same for a dialog: a small window under the dialog's name and caption. It deletes itself when
// closed, as a closed dialog is unloaded.
class PlaceholderDialog : public QDialog {
    Q_OBJECT

public:
    PlaceholderDialog(const QString& name, const QString& caption, QWidget* owner = nullptr);

    // A further line under the note: what the dialog was handed ("lblDetail").
    void SetDetail(const QString& text);

private:
    QLabel* m_detail = nullptr;
};
