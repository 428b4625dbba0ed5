#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>

class QLabel;
class QPushButton;

// The box that asks before an editor is replaced by the editor of another record ("Load New Contact",
// "Load New Project"). Each form keeps its own name and the public member its opener sets; this is
// what they share. OK closes every screen and dialog, makes the chosen record the current one and
// opens the editor on it; Cancel, Esc and the close box change nothing. Modeless, gone when closed.
class SwitchRecordDialog : public QDialog {
    Q_OBJECT

public:
    struct Kind {
        QString formName;  // "frmSwtContact"
        QString caption;
        QString question;
        QString editor;          // the editor opened on the chosen record
        int32_t* currentNumber;  // the program-wide current number the editor shows
    };

    void done(int result) override;
    // The record chosen, as the opener handed it over.
    virtual int32_t ChosenRecord() const = 0;

protected:
    SwitchRecordDialog(const Kind& kind, QWidget* parent);

private:
    void cmdOpts_Click(int index);
    void Form_Unload();

    const Kind& m_kind;
    QLabel* Label1 = nullptr;
    QPushButton* cmdOpts[2] = {nullptr, nullptr};
    bool m_blnConfirmed = false;
    bool m_blnUnloaded = false;
};
