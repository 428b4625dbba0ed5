// The fuzz build's error trap. The program's trap logs an escaping error and goes on; under the
// fuzzer an error escaping a parser's body is exactly what we are looking for, so it stops the run
// with the error's text (libFuzzer then keeps the input that caused it).
#include <QHash>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "core/Trap.h"
#include "platform/Error.h"

namespace core {

namespace {

QHash<QString, std::pair<int32_t, QString>>& InjectedFaults() {
    static QHash<QString, std::pair<int32_t, QString>> faults;
    return faults;
}

[[noreturn]] void Escaped(const QString& procName, const QString& what) {
    std::fprintf(stderr, "error escaped %s: %s\n", qPrintable(procName), qPrintable(what));
    std::abort();
}

}  // namespace

bool trap(const QString& procName, Tail, const QString&, const std::function<void()>& body) {
    // An injected fault behaves as the real trap's logged error: the body does not run.
    if (InjectedFaults().remove(procName) > 0) return false;
    try {
        body();
    } catch (const platform::Error& e) {
        Escaped(procName, QStringLiteral("%1 %2").arg(e.number()).arg(e.description()));
    } catch (const std::exception& e) {
        Escaped(procName, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        Escaped(procName, QStringLiteral("an unknown exception"));
    }
    return true;
}

void InjectFault(const QString& procName, int32_t number, const QString& description) {
    InjectedFaults().insert(procName, {number, description});
}

}  // namespace core
