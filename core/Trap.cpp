#include "core/Trap.h"

#include <QHash>
#include <exception>

#include "core/MainWindowLink.h"
#include "core/modGeneral.h"
#include "platform/Error.h"
#include "platform/db/DbError.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/MessageBox.h"

namespace core {

namespace {

struct Fault {
    int32_t number;
    QString description;
};

QHash<QString, Fault>& InjectedFaults() {
    static QHash<QString, Fault> faults;
    return faults;
}

QString StatusNow() {
    const MainWindowLink* window = MainWindow();
    return window ? window->StatusText() : QString();
}

void RunTail(Tail tail, const QString& action, int32_t number, const QString& description) {
    switch (tail) {
        case Tail::Silent:
            break;
        case Tail::ErrorBox:
            modGeneral::ShowError(number, description);
            break;
        case Tail::Action:
            ui::MsgBox(ActionFailureText(action), ui::OKOnly, ui::ProgramTitle());
            break;
        case Tail::Message:
            ui::MsgBox(action + QStringLiteral("\nSorry for the inconvenience"), ui::OKOnly,
                       ui::ProgramTitle());
            break;
        case Tail::Unknown:
            ui::MsgBox(QStringLiteral("An un-known error occurred!\nSorry for the inconvenience"), ui::OKOnly,
                       ui::ProgramTitle());
            break;
    }
}

}  // namespace

QString ActionFailureText(const QString& action) {
    return QStringLiteral("An un-known error occurred while ") + action +
           QStringLiteral("!\nSorry for the inconvenience");
}

bool trap(const QString& procName, Tail tail, const QString& action, const std::function<void()>& body) {
    const bool busyBefore = ui::IsBusy();
    const QString statusBefore = StatusNow();

    int32_t number = 0;
    QString description;
    try {
        if (auto it = InjectedFaults().find(procName); it != InjectedFaults().end()) {
            const Fault fault = it.value();
            InjectedFaults().erase(it);
            throw db::DbError(fault.number, fault.description);
        }
        body();
        return true;
    } catch (const platform::Error& e) {
        number = e.number();
        description = e.description();
    } catch (const std::exception& e) {
        number = 1;
        description = QString::fromLocal8Bit(e.what());
    } catch (...) {
        number = 1;
        description = QStringLiteral("Unknown error");
    }

    // The handler itself must not throw: an error never travels on to the caller.
    try {
        modGeneral::LogErrors(procName, number, description);
        // The pointer and status line go back first, so the box is shown with the arrow.
        if ((ui::IsBusy() && !busyBefore) || StatusNow() != statusBefore) modGeneral::SetStatus(QString());
        RunTail(tail, action, number, description);
    } catch (...) {
    }
    return false;
}

void InjectFault(const QString& procName, int32_t number, const QString& description) {
    InjectedFaults().insert(procName, Fault{number, description});
}

}  // namespace core
