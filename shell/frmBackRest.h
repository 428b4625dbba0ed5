#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QTimer;

// The small modal progress window of File > Backup and File > Restore. When it is first shown it runs
// the copy (modAPI::BackupDataFiles or RestoreDataFiles); after three ticks of its timer it shows the
// completion caption and closes itself, a restore first reopening the database and the home screen.
// A failed copy has already been reported: the window then closes at once, never claiming success.
// It has no buttons; the user cannot cancel it.
class frmBackRest : public QDialog {
    Q_OBJECT

public:
    explicit frmBackRest(QWidget* owner = nullptr);
    ~frmBackRest() override;

    // "Backup" or "Restore", set before the window is shown.
    QString m_strType;

    // Shows the window for `type` modally, owned by the main window, and returns once it has closed,
    // with the last caption it showed.
    static QString Run(const QString& type);
    // The last caption of the window that closed last (what the user read before it went).
    static QString LastCaption();

    // Milliseconds between the timer's ticks (700). Tests set 0 so that nothing really waits.
    static void SetTickInterval(int ms);
    static int TickInterval();

    QLabel* lblProgress = nullptr;
    QTimer* Timer1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void Form_Activate();
    void Timer1_Timer();
    // Restore: the database and the home screen come back, whether the copy worked or not.
    void Finish();

    short m_intCount = 0;
    bool m_blnActivated = false;
    bool m_blnDone = false;
};
