#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>

#include "platform/ui/ScreenRegistry.h"

namespace db {
class Recordset;
}

class QCloseEvent;
class QFrame;
class QLabel;
class QPaintEvent;

// The pop-up that announces one due reminder: it shows the to-do item or appointment, plays the
// alert and, when it is closed, marks the reminder done, brings the main window back and opens the
// item for editing. It stays above other windows while it is open; the reminder poll runs it
// modally, without an owner.
class frmReminder : public QDialog {
    Q_OBJECT

public:
    // The reminder, its item and its kind ("TD" or "AP") are handed over before it loads; it comes
    // back loaded but not shown.
    explicit frmReminder(const ui::OpenValues& values);

    int32_t RemindID() const { return m_lngRemindID; }
    int32_t ToDoID() const { return m_lngToDoID; }
    int32_t ApptID() const { return m_lngApptID; }
    QString Type() const { return m_strType; }

    void done(int result) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void Form_Load();
    void InitializeScreen();
    void ShowItemTexts(db::Recordset& rs, const QString& dateColumn, const QString& timeColumn);
    void LoadToDoReminder();
    void LoadApptReminder();
    void MarkReminderDone();
    void lblClose_Click();
    void Form_Unload();

    QLabel* lblBanner = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* Label1 = nullptr;
    QFrame* Shape1 = nullptr;
    QLabel* lblCaption[6] = {};
    QLabel* lblText[6] = {};
    QFrame* Line1 = nullptr;
    QFrame* shpClose = nullptr;
    QLabel* lblClose = nullptr;

    int32_t m_lngRemindID = 0;
    int32_t m_lngToDoID = 0;
    int32_t m_lngApptID = 0;
    QString m_strType;
    bool m_blnUnloaded = false;
};
