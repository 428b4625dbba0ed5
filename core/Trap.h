#pragma once

#include <QString>
#include <cstdint>
#include <functional>

namespace core {

// What a trapped procedure does after logging its error.
enum class Tail {
    Silent,    // nothing more (list loaders, value readers)
    ErrorBox,  // the error box, modGeneral::ShowError
    Action,    // "An un-known error occurred while <action>!" / "Sorry for the inconvenience"
    Unknown,   // "An un-known error occurred!" / "Sorry for the inconvenience"
    Message,   // the whole first line given as `action` / "Sorry for the inconvenience", for the
               // messages that do not read "occurred while <action>!"
};

// Runs `body` under the program's one error trap: any error escaping it is logged with `procName`
// ("frmMain.mnuFileBackupDB_Click"), its number and description (modGeneral::LogErrors), then the
// tail runs, and the mouse pointer and the status line are put back as SetStatus("") leaves them
// when the body had changed either. Returns true when the body ran to its end.
//
//   trap("frmMain.mnuFileBackupDB_Click", Tail::Action, "Backing Up the Database", [&] { ... });
bool trap(const QString& procName, Tail tail, const QString& action, const std::function<void()>& body);
inline bool trap(const QString& procName, Tail tail, const std::function<void()>& body) {
    return trap(procName, tail, QString(), body);
}

// The action tail's text, for a procedure that adds a word of its own after it.
QString ActionFailureText(const QString& action);

// Tests: the next trapped run of `procName` fails at its start with this error.
void InjectFault(const QString& procName, int32_t number, const QString& description);

}  // namespace core
