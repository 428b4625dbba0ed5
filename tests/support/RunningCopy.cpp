#include "support/RunningCopy.h"

#include <QCoreApplication>
#include <QFile>
#include <QTest>

namespace testsupport {

QString BuiltProgram(const QString& name) {
    // CTest says where the build is; run by hand, the tests sit one folder below it.
    return qEnvironmentVariable("POMARET_BUILD_DIR", QCoreApplication::applicationDirPath() + "/..") + '/' +
           name;
}

bool StartCopy(QProcess& copy, const QString& root) {
    copy.start(BuiltProgram(QStringLiteral("pomaret")), {QStringLiteral("--data-dir"), root});
    if (!copy.waitForStarted()) return false;
    const QByteArray named = QByteArray::number(copy.processId()) + '\n';
    const auto holds = [&] {
        QFile lock(root + QStringLiteral("/Pomaret.lock"));
        return lock.open(QIODevice::ReadOnly) && lock.read(named.size()) == named;
    };
    // A start under the sanitizers, with the others' builds beside it, may take long.
    return QTest::qWaitFor([&] { return holds() || copy.state() == QProcess::NotRunning; }, 120000) &&
           copy.state() == QProcess::Running;
}

}  // namespace testsupport
