#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>

class QLabel;
class QPushButton;
class QRadioButton;

// "Select Setting": the visibility of the contact or project on view ("Hidden", "Default",
// "Private"), opened from the contact or project editor. It opens on the record's present setting;
// OK writes the choice and refreshes the editor, and so does the close box without writing;
// Cancel (or Esc) does neither. Modeless, owned by the main window, gone when closed.
class frmSetting : public QDialog {
    Q_OBJECT

public:
    explicit frmSetting(QWidget* owner = nullptr);
    ~frmSetting() override;

    // Makes and shows the dialog; the screen registry opens it by name, one at a time.
    static frmSetting* Open(QWidget* owner);

    QLabel* Label1 = nullptr;
    QRadioButton* optSet[3] = {};  // Hidden, Default, Private
    QPushButton* cmdOpts[2] = {};  // OK (Enter), Cancel (Esc)

    QString ChosenSetting() const { return m_strSetting; }

    void done(int result) override;
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void Form_Load();
    void optSet_Click(int index);
    void cmdOpts_Click(int index);
    void PostContactEntry();
    void PostProjectEntry();
    void PostEntry(const QString& procName, const QString& sql);
    void Form_Unload();

    // What the dialog was opened for, kept from its opening.
    QString m_strScreen;
    int32_t m_lngRecordID = 0;
    QString m_strSetting = QStringLiteral("Default");
    bool m_blnCancelled = false;
    bool m_blnUnloaded = false;
};
