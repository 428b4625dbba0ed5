#pragma once

#include "platform/Error.h"

#include <QString>
#include <stdexcept>

// The per-user settings store: text values addressed by application, section and key, kept in INI
// files. Application "X" is the file X.ini in the store's folder, a section is an INI group
// ([Pomaret]), a key a line in it.
namespace settings {

// Error numbers of the store (the database layer's start at 3001, these stand apart from them).
enum SettingsErrorNumber : int {
    kErrSettingsRead = 3101,      // the file exists but cannot be read or parsed
    kErrSettingsWrite = 3102,     // the value could not be written to disk
    kErrSettingsNoFile = 3103,    // SetFile was never called
    kErrSettingsSetAside = 3104,  // an unparsable file was set aside; the defaults are in use
};

class SettingsError : public platform::Error {
public:
    using platform::Error::Error;
};

// Chooses the store's file: `iniPath` is the file of the application named after it (for the
// program, ".../Application.ini"); other applications are files beside it.
void SetFile(const QString& iniPath);
QString File();

// The value of the key, or `defaultValue` when the key is absent. A missing file is an empty store.
//
// A file that cannot be read, or a folder where the file should be, gives the defaults for the rest of
// the run (until SetFile chooses another file): it is neither renamed nor written, and SaveSetting
// raises instead.
//
// A file that can be read but does not parse (a hand edit gone wrong) does not stop the program: it
// is renamed to "<file>.unreadable" (".unreadable.1", ... when that name is taken; an earlier one is
// never replaced) and the store carries on empty, so every read gives its default and the next write
// starts a fresh file.
QString GetSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& defaultValue);

// Writes the value and puts it on disk at once; a write that does not reach the disk raises
// SettingsError (callers that save placement ignore it).
void SaveSetting(const QString& appName, const QString& section, const QString& key, const QString& value);

// The name the last unparsable file was kept under, handed out once so that it is reported once;
// empty when nothing was set aside since the last call.
QString TakeSetAsideFile();
// Likewise the file found unreadable (or a folder), handed out once; empty when there is none.
QString TakeUnusableFile();

}  // namespace settings
