#pragma once

#include <QColor>
#include <QDate>
#include <QString>
#include <QWidget>

class QLabel;
class QTabBar;

// What the four calendar views (day, week, month, list) share: the banner with its tab strip, the
// way one view replaces another, and the colour and status of a view that loads.
namespace calendar {

// The dark grey of the banner and of the status strip under every calendar view.
inline const QColor kBannerColour(0x4A, 0x4A, 0x4A);

// The tabs of the strip, as the views number them.
enum Tab { kDayTab = 1, kWeekTab = 2, kMonthTab = 3, kListTab = 4 };

// The banner across the top of a calendar view, "picBanner" (465 twips high): "Image1", the caption
// "lblBanner" ("Calendar") and the tab strip "tbsMain", which picBanner_Resize keeps at the right end.
// A view puts its own pickers on it.
class CalendarBanner : public QWidget {
    Q_OBJECT

public:
    explicit CalendarBanner(QWidget* view);

    // Shows the view's own tab as selected; selecting it opens nothing.
    void SelectTab(int tab);
    int SelectedTab() const;  // 1 "Day" ... 4 "List"

    QTabBar* tbsMain = nullptr;

Q_SIGNALS:
    // The user chose another tab.
    void tabChosen();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void picBanner_Resize();

    QLabel* Image1 = nullptr;
    QLabel* lblBanner = nullptr;
    bool m_selecting = false;
};

// Opens the view of a tab in place of every open screen and dialog; the day view opens on today.
void OpenTab(int tab);

// Closes every open screen and dialog and opens the day view: on today when `isSystem`, else on
// `date`. Both values are in place before the view loads.
void OpenDayView(bool isSystem, const QDate& date = QDate());

// A view that begins to load: the hourglass, its status text with the wait suffix, the status strip
// in the calendar's colour.
void BeginLoad(const QString& status);
// A view that has loaded: its active-screen code ("CMnth"), the normal pointer and "Ready ...".
void EndLoad(const QString& screenCode);

}  // namespace calendar
