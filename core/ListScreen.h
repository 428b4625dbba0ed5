#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>

class QComboBox;
class QFrame;
class QIcon;
class QLabel;

#include "core/Trap.h"

namespace ui {
class ComboBox;
class ListView;
}  // namespace ui

namespace core {

// The shape the list screens share: a banner strip in the screen's colour across the top, the
// report list lvResult below it filling the screen inside the frame shpResult, the hidden picGrdClr
// whose colour is the stripe colour, and where a screen exports its rows the "Save File As ..." link.
// On every resize the list takes the screen less a margin and each column its fraction of the list's
// width, the last one less room for the vertical scroll bar.
//
// A screen names its controls and places the banner's parts; loading, clicks and the export are its
// own. A click on a row (or beside the rows) calls lvResult_Click, one on the link lblSaveAs_Click.
class ListScreen : public QWidget {
    Q_OBJECT

public:
    struct Column {
        QString header;
        double fraction;  // of the list's width on resize
    };

    ~ListScreen() override;

    ui::ListView* lvResult = nullptr;

protected:
    ListScreen(const QString& formName, const QString& caption, const QColor& screenColour,
               const QColor& stripeColour, const QList<Column>& columns, QWidget* parent = nullptr);

    // Parts of the banner, at fixed places in twips from its left edge, vertically centred on it. The
    // title is bold; every text is white on the banner's colour.
    QLabel* AddBannerText(const QString& name, const QString& text, double left, double width,
                          bool title = false);
    QLabel* AddBannerIcon(const QString& name, const QIcon& icon, double left);
    // A drop-down list the user cannot type into, in the banner's colours.
    QComboBox* AddBannerList(const QString& name, double left, double width);
    // A model-based combo box in the banner's colours, in bold: a drop-down list, or one the user
    // may also type into (`editable`).
    ui::ComboBox* AddBannerCombo(const QString& name, double left, double width, bool editable);
    // The "Save File As ..." link; a left click on it calls lblSaveAs_Click.
    QLabel* AddSaveAsLink(double left, double width);

    // The main window's status strip in this screen's colour.
    void ShowScreenColour();
    // Grid lines from the preference, as every list screen takes them when it opens.
    void ApplyGridLines();
    // The stripes, when the preference asks for them.
    void Stripe();
    // "Found: <count> Records" on the status line.
    static void ShowFound(int count);
    // The selected row's record number handed to `open` under the trap `procName`, whose message
    // names `action` (as `tail` shows it); with no row selected only "There is nothing from the list
    // to select".
    // `open` typically closes every screen, this one included: nothing of it is touched afterwards.
    void OpenSelectedRow(const QString& procName, const QString& action,
                         const std::function<void(int32_t)>& open, Tail tail = Tail::Action);

    virtual void lvResult_Click() = 0;
    virtual void lblSaveAs_Click() {}

    // Suspends drawing of the screen for a scope, so that a reload or a layout is painted once.
    class RedrawSuspended {
    public:
        explicit RedrawSuspended(QWidget* screen);
        ~RedrawSuspended();
        RedrawSuspended(const RedrawSuspended&) = delete;
        RedrawSuspended& operator=(const RedrawSuspended&) = delete;

    private:
        QWidget* m_screen;
        bool m_wasEnabled;
    };

    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    QWidget* picBanner = nullptr;
    QFrame* shpResult = nullptr;
    QWidget* picGrdClr = nullptr;
    QLabel* lblSaveAs = nullptr;

private:
    void PaintBannerBox(QComboBox* box, const QString& name, double left, double width);
    void Form_Resize();
    void SetColumnWidths(double listWidth);

    QColor m_screenColour;
    QList<double> m_fractions;
};

}  // namespace core
