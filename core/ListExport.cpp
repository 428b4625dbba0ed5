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

[[noreturn]] void WriteFailed(const QString& description) {
    throw platform::Error(kErrFileAccess, description);
}

// The header and the rows into the file as UTF-8, a block of lines at a time: a list of 350,000
// rows never stands in memory as one text beside the list.
void WriteCsv(QSaveFile& file, const QStringList& headers, const QAbstractItemModel& model) {
    constexpr qsizetype kBlock = 1 << 16;  // characters
    const int fields = static_cast<int>(headers.size());
    const int rows = model.rowCount();
    const int columns = model.columnCount();
    QString text;
    text.reserve(kBlock + 4096);
    const auto flush = [&] {
        const QByteArray bytes = text.toUtf8();
        if (file.write(bytes) != bytes.size()) WriteFailed(file.errorString());
        text.resize(0);
    };
    csv::AppendLine(text, fields, [&](int c) { return headers[c]; });
    for (int r = 0; r < rows; ++r) {
        csv::AppendLine(text, fields, [&](int c) {
            return c < columns ? model.data(model.index(r, c), Qt::DisplayRole).toString() : QString();
        });
        if (text.size() >= kBlock) flush();
    }
    flush();
}

// The file is replaced only once it is whole.
void WriteFile(const QString& path, const QStringList& headers, const QAbstractItemModel& model) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) WriteFailed(file.errorString());
    WriteCsv(file, headers, model);
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

        WriteFile(*path, headers, *list.model());
        ui::MsgBox(QStringLiteral("The File was Sucessfully Created and Saved."), ui::OKOnly,
                   ui::ProgramTitle());
        list.setSelectedRow(rows - 1);
    });
}

void FailNextCsvWrite(const QString& description) {
    InjectedWriteFault() = description;
}

}  // namespace core
