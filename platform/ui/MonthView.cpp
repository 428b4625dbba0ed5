#include "platform/ui/MonthView.h"

#include <QAbstractSpinBox>
#include <QCalendarWidget>
#include <QFocusEvent>
#include <QMetaObject>
#include <utility>

namespace ui {

namespace {

class MonthClicks : public QObject {
public:
    explicit MonthClicks(QCalendarWidget* view) : QObject(view), m_view(view) {
        for (QWidget* part : view->findChildren<QWidget*>()) part->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::FocusOut:
                // A click took the focus from the view's own box, and Qt has ended what was typed there.
                if (qobject_cast<QAbstractSpinBox*>(watched) &&
                    static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason) {
                    m_boxLeftByClick = true;
                    // The click comes next, before anything queued; one that lands elsewhere is not ours.
                    QMetaObject::invokeMethod(
                        this, [this] { m_boxLeftByClick = false; }, Qt::QueuedConnection);
                }
                return false;
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
                if (!std::exchange(m_boxLeftByClick, false)) return false;
                // The keys go back to the days, as after Enter in the box.
                m_view->setFocus();
                return true;
            default:
                return false;
        }
    }

private:
    QCalendarWidget* m_view;
    bool m_boxLeftByClick = false;
};

}  // namespace

void MakeMonthView(QCalendarWidget* view) {
    new MonthClicks(view);
}

}  // namespace ui
