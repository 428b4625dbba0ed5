#include "core/ListExport.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <optional>

#include "core/CsvText.h"
#include "core/DataRoot.h"
#include "core/Trap.h"
#include "platform/Error.h"
#include "platform/ui/ListView.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/SaveFileDialog.h"

namespace core {

namespace {

constexpr int kErrFileAccess = 75;  // "Path/File access error"

// The main window's one save dialog remembers its name for the whole run, whichever list used it.
QString& LastFileName() {
    static QString name;
    return name;
}

std::optional<QString>& InjectedWriteFault() {
    static std::optional<QString> fault;
    return fault;
}

QByteArray CsvBytes(const QStringList& headers, const QAbstractItemModel& model) {
    const int fields = static_cast<int>(headers.size());
    const int rows = model.rowCount();
    QString text;
    // About what a names list needs per row; the buffer grows if it is short.
    text.reserve((qsizetype(rows) + 1) * fields * 16);
    csv::AppendLine(text, fields, [&](int c) { return headers[c]; });
    const int columns = model.columnCount();
    for (int r = 0; r < rows; ++r) {
        csv::AppendLine(text, fields, [&](int c) {
            return c < columns ? model.data(model.index(r, c), Qt::DisplayRole).toString() : QString();
        });
    }
    return text.toUtf8();
}

[[noreturn]] void WriteFailed(const QString& description) {
    throw platform::Error(kErrFileAccess, description);
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) WriteFailed(file.errorString());
    if (file.write(bytes) != bytes.size()) WriteFailed(file.errorString());
    if (auto& fault = InjectedWriteFault()) {
        const QString description = *fault;
        fault.reset();
        WriteFailed(description);  // the unfinished file goes with `file`
    }
    if (!file.commit()) WriteFailed(file.errorString());
}

QString StartFolder() {
    const QString templates = QDir(DataRoot::Dir()).filePath(QStringLiteral("Templates"));
    return QFileInfo(templates).isDir() ? templates : QDir::homePath();
}

}  // namespace

void SaveListAsCsv(const QString& procName, const QStringList& headers, ui::ListView& list) {
    trap(procName, Tail::ErrorBox, [&] {
        // The rows shown, which is what the model holds.
        const int rows = list.model()->rowCount();
        if (rows < 1) {
            ui::MsgBox(QStringLiteral("There are no item's in the list to save."), ui::OKOnly,
                       ui::ProgramTitle());
            return;
        }
        ui::SaveFileRequest request;
        request.title = QStringLiteral("Save file as CSV File");
        request.filter = QStringLiteral("Comma Separated Values (*.csv)");
        request.folder = StartFolder();
        request.fileName = LastFileName();
        request.confirmOverwrite = true;
        const std::optional<QString> path = ui::GetSaveFileName(request);
        if (!path || path->isEmpty()) return;
        LastFileName() = *path;

        WriteFile(*path, CsvBytes(headers, *list.model()));
        ui::MsgBox(QStringLiteral("The File was Sucessfully Created and Saved."), ui::OKOnly,
                   ui::ProgramTitle());
        list.setSelectedRow(rows - 1);
    });
}

void FailNextCsvWrite(const QString& description) {
    InjectedWriteFault() = description;
}

}  // namespace core
