#pragma once

class QCalendarWidget;

namespace ui {

// Makes a click on `view` pick the day that was under the pointer when it was made. Qt ends a year
// typed in the view's own box when a click takes the focus from it, and turns the page before that
// click arrives, which would then pick whatever day the new page has there. As in the desktop's date
// pop-up, that click only shows the month and picks nothing; the next click picks.
void MakeMonthView(QCalendarWidget* view);

}  // namespace ui
