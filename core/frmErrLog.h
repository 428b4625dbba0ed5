#pragma once

#include <QDialog>

class QWidget;
namespace ui {
class ListView;
}

// "Program Error Log": the rows of ErrLog, newest first, in a striped list. Modal; filled once when
// it opens (an error logged while it is open shows the next time).
class frmErrLog : public QDialog {
    Q_OBJECT

public:
    explicit frmErrLog(QWidget* owner = nullptr);
    ~frmErrLog() override;

    // Opens the viewer modally over `owner` and returns when the user has closed it.
    static void ShowModal(QWidget* owner);

    // (Re)fills lvError from ErrLog.
    void LoadErrorList();

    ui::ListView* lvError = nullptr;
    QWidget* picGrdClr = nullptr;  // hidden; its background colour is the stripe colour

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Form_Load();
    void Form_Resize();
};
