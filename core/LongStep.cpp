#include "core/LongStep.h"

#include <QApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QWidget>
#include <exception>
#include <mutex>
#include <thread>

#include "core/MainWindowLink.h"
#include "core/modGeneral.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/InputHold.h"

namespace core {
namespace {

int g_running = 0;

// What the worker tells the GUI thread: the last progress, and whether a call to show it is still on
// its way (one at a time, so a fast step does not flood the event queue).
struct Reported {
    std::mutex lock;
    qint64 done = 0;
    qint64 total = 1;
    bool queued = false;
};

}  // namespace

void RunLongStep(const QString& status, const std::function<void(const db::Progress&)>& work) {
    ++g_running;
    struct EndStep {
        ~EndStep() {
            --g_running;
            if (MainWindowLink* link = MainWindow()) link->HideProgress();
        }
    } endStep;
    const ui::InputHold hold;
    modGeneral::SetStatus(status, true);
    ui::SetBusy();
    MainWindowLink* link = MainWindow();
    if (link) link->ShowProgress(0, 1);
    // Painted before the work begins, whether the windows are on the screen yet or not: the event
    // loop below brings what the window system asks for later.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible()) window->repaint();
    }

    QEventLoop loop;
    QObject receiver;  // calls queued to it are dropped with it, once the worker has ended
    Reported reported;
    double shown = 0;
    const auto show = [&] {
        qint64 done = 0;
        qint64 total = 1;
        {
            const std::lock_guard<std::mutex> guard(reported.lock);
            done = reported.done;
            total = reported.total;
            reported.queued = false;
        }
        const double share = total > 0 ? double(done) / double(total) : 0;
        if (share < shown) return;
        shown = share;
        if (MainWindowLink* window = MainWindow()) window->ShowProgress(done, total);
    };
    const db::Progress progress = [&](qint64 done, qint64 total) {
        {
            const std::lock_guard<std::mutex> guard(reported.lock);
            reported.done = done;
            reported.total = total;
            if (reported.queued) return;
            reported.queued = true;
        }
        QMetaObject::invokeMethod(&receiver, show, Qt::QueuedConnection);
    };

    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            work(progress);
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    // The loop also ends when the program is told to quit; the step still runs to its end.
    worker.join();
    if (failure) std::rethrow_exception(failure);
}

bool LongStepRunning() {
    return g_running > 0;
}

}  // namespace core
