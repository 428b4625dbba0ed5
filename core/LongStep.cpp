#include "core/LongStep.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QWidget>
#include <QWindow>

#include "core/MainWindowLink.h"
#include "core/modGeneral.h"
#include "platform/ui/Cursor.h"

namespace core {
namespace {

// Long enough for any window system to map a window just shown, short enough not to hold up a step
// whose window is never drawn.
constexpr int kExposeWaitMs = 1000;

// Waits for the window shown just before to be on the screen, then lets what is pending be drawn.
// User input is left waiting: a click must not start another command in the middle of this one.
void paintPending(QWidget* window) {
    if (window && window->isVisible() && !window->isMinimized()) {
        const QDeadlineTimer deadline(kExposeWaitMs);
        while (window->windowHandle() && !window->windowHandle()->isExposed() && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            QThread::msleep(5);
        }
    }
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// The window system's close request is not user input, yet its handler must not run in the middle of
// a step: it is held, and asked again once the step is over.
class CloseHold : public QObject {
public:
    bool asked = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Close) return QObject::eventFilter(watched, event);
        event->ignore();
        asked = true;
        return true;
    }
};

}  // namespace

LongStep::LongStep(const QString& status) : m_closeHold(std::make_unique<CloseHold>()) {
    MainWindowLink* link = MainWindow();
    if (link) m_window = link->Widget();
    if (m_window) m_window->installEventFilter(m_closeHold.get());
    modGeneral::SetStatus(status, true);
    ui::SetBusy();
    if (link) link->ShowProgress(0, 1);
    paintPending(m_window);
}

LongStep::~LongStep() {
    if (MainWindowLink* link = MainWindow()) link->HideProgress();
    if (!m_window) return;
    m_window->removeEventFilter(m_closeHold.get());
    if (static_cast<CloseHold*>(m_closeHold.get())->asked)
        QMetaObject::invokeMethod(m_window.data(), &QWidget::close, Qt::QueuedConnection);
}

db::Progress LongStep::progress() const {
    QPointer<QWidget> window = m_window;
    return [window](qint64 done, qint64 total) {
        if (MainWindowLink* link = MainWindow()) link->ShowProgress(done, total);
        paintPending(window);
    };
}

}  // namespace core
