#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;

// "Password Logon": the log-on at start while the security option is on. The user has 60 ticks of
// a one-second timer to give a user name and its password. Modal, owned by the main window; its
// outcome is m_blnEmerShutdown: false after a successful log-on, true however else it closed.
class frmPassLogon : public QDialog {
    Q_OBJECT

public:
    explicit frmPassLogon(QWidget* owner = nullptr);
    ~frmPassLogon() override;

    // True until a log-on succeeds; the start-up ends the program when it is still true.
    bool m_blnEmerShutdown = true;

    // One tick of the countdown (Timer1 calls it every second; tests call it directly).
    void Timer1_Timer();
    int Ticks() const { return m_intTicks; }

    QLabel* Label1 = nullptr;
    QLabel* Label2[2] = {};
    QLabel* Label3[2] = {};
    QLineEdit* Text1[2] = {};  // user name, password
    QProgressBar* prbTimer = nullptr;
    QLabel* lblTimeTicker = nullptr;
    QTimer* Timer1 = nullptr;
    QPushButton* cmdOpts[2] = {};  // OK, Cancel; neither is pressed by Enter

    // Every ending passes here: only a successful log-on clears the shut-down flag.
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void Form_Load();
    void Text1_GotFocus(int index);
    void Text1_LostFocus(int index);
    // Looks up `name`; a name not on file forgets the user found before. The message waits for the
    // focus change when one is being handled.
    void GetUserPassword(const QString& name, bool duringFocusChange);
    void cmdOpts_Click(int index);
    void Form_QueryUnload();

    QString m_strUserName;   // the name last looked up
    QString m_strStoredPwd;  // that user's stored (hashed) password; empty when none was found
    bool m_blnLoggedOn = false;
    int m_intTicks = 0;
};
