#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

#include "platform/ui/ScreenRegistry.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QTimer;

// Deletes the whole file of the contact or project open in its editor: the record and every row of
// the other tables that refers to it, in one transaction, showing one caption and progress value per
// table. Opened by Edit > Delete Item after the user confirmed; it takes the current contact and
// project numbers at that moment. While it works it is application-modal, so nothing else can write
// into its open transaction.
class frmDelete : public QDialog {
    Q_OBJECT
    // What to delete: 1 the current contact, 2 the current project; handed over by the menu command
    // when it opens the window.
    Q_PROPERTY(int m_intType MEMBER m_intType)

public:
    explicit frmDelete(QWidget* owner = nullptr);
    ~frmDelete() override;

    // The screen registry's opener: made with its type, shown and left to start its work from its timer.
    static QWidget* Open(const ui::OpenValues& values);

    // Milliseconds before the work starts (800). Tests set 0 so that nothing really waits.
    static void SetTickInterval(int ms);

    int m_intType = 0;

    void DeleteContact();
    void DeleteProject();

    QLabel* lblProgress = nullptr;
    QProgressBar* prbProg = nullptr;
    QTimer* Timer1 = nullptr;
    QLineEdit* Text1 = nullptr;

Q_SIGNALS:
    // A step's caption and value, emitted once they have been painted and before its statements run.
    void StepShown(const QString& caption, int value);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    struct Step {
        QString caption;
        int value;
        QStringList statements;  // "%1" stands for the record's number
    };

    void Form_Activate();
    void Timer1_Timer();
    // The frame both deletions share; `current` is the program-wide number reset afterwards.
    void RunDeletion(const QString& procName, const QString& status, const QString& doneStatus, int32_t id,
                     const std::vector<Step>& steps, int32_t& current);
    void ShowStep(const Step& step);

    int32_t m_lngContID = 0;
    int32_t m_lngProjID = 0;
    bool m_blnActivated = false;
    bool m_blnWorking = false;
};
