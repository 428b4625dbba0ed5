#pragma once

#include <QDialog>
#include <cstdint>

class QLabel;
class QPushButton;

// "Load New Contact": asks before the contact editor is replaced by the editor of another contact.
// The opener hands over m_lngContactID; OK closes every screen and dialog and opens the editor on that
// contact, Cancel and the close box change nothing.
class frmSwtContact : public QDialog {
    Q_OBJECT

public:
    explicit frmSwtContact(QWidget* parent = nullptr);

    int32_t m_lngContactID = 0;

    void done(int result) override;

private:
    void cmdOpts_Click(int index);
    void Form_Unload();

    QLabel* Label1 = nullptr;
    QPushButton* cmdOpts[2] = {nullptr, nullptr};
    bool m_blnConfirmed = false;
    bool m_blnUnloaded = false;
};
