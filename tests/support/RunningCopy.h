#pragma once

#include <QProcess>
#include <QString>

namespace testsupport {

// A program of this build, by its path in the build folder: "pomaret", "bench/pomaret-bench".
QString BuiltProgram(const QString& name);

// Starts the real program on the data root `root` and waits until its lock file names it: false
// when it ended first or never took the lock.
bool StartCopy(QProcess& copy, const QString& root);

}  // namespace testsupport
