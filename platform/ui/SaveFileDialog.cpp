#include "platform/ui/SaveFileDialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QStringList>

namespace ui {

namespace {

SaveFileHandler* g_handler = nullptr;

std::optional<QString> ShowDialog(const SaveFileRequest& request) {
    QFileDialog dialog(QApplication::activeWindow(), request.title, request.folder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(request.filter);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return std::nullopt;
    return files.first();
}

}  // namespace

void setSaveFileHandler(SaveFileHandler* handler) {
    g_handler = handler;
}

SaveFileHandler* saveFileHandler() {
    return g_handler;
}

std::optional<QString> GetSaveFileName(const SaveFileRequest& request) {
    return g_handler ? g_handler->saveFile(request) : ShowDialog(request);
}

}  // namespace ui
