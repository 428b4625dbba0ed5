#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The about box: the program's name, what it does and its version. Modal; the Help menu waits until
// it is closed.
class frmAbout : public QDialog {
    Q_OBJECT

public:
    explicit frmAbout(QWidget* owner = nullptr);
    ~frmAbout() override;

    // "Version / Build 1.0.9", from the version the program was built as.
    static QString VersionText();

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QPushButton* cmdClose = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Form_Activate();
    void cmdClose_Click();
};
