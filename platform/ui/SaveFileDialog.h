#pragma once

#include <QString>
#include <optional>

// The program's file-save dialog. It goes through an installable SaveFileHandler, so tests choose
// the file name or cancel, and read back what the dialog was asked (tests/support/SaveFileSeam).
namespace ui {

struct SaveFileRequest {
    QString title;
    QString filter;                // Qt's form: "Comma Separated Values (*.csv)"
    QString folder;                // where the dialog starts
    QString fileName;              // offered in the name box; a full path also chooses the folder
    bool confirmOverwrite = true;  // ask before an existing file is chosen
};

// Where save dialogs go. nullptr (the default) means the real dialog.
class SaveFileHandler {
public:
    virtual ~SaveFileHandler() = default;
    // The chosen file's full path; nullopt when cancelled.
    virtual std::optional<QString> saveFile(const SaveFileRequest& request) = 0;
};

void setSaveFileHandler(SaveFileHandler* handler);
SaveFileHandler* saveFileHandler();

// A modal save dialog on the active window. The name comes back as chosen: no extension is added.
std::optional<QString> GetSaveFileName(const SaveFileRequest& request);

}  // namespace ui
