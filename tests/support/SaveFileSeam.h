#pragma once

#include <QList>
#include <QString>
#include <optional>

#include "platform/ui/SaveFileDialog.h"

namespace testsupport {

// Answers the program's save dialogs in a test and records what they were asked.
//
//   SaveFileSeam files;                    // installed until it goes out of scope
//   files.choose(dir.filePath("out.csv")).cancel();
//   ... code that asks ...
//   QCOMPARE(files.last().title, "Save file as CSV File");
//
// Replies are used in the order queued. As with PromptSeam, the running test fails at once when a
// dialog comes with nothing queued (the dialog is then cancelled, so the code finishes) and when
// the seam goes away with replies never used.
class SaveFileSeam : public ui::SaveFileHandler {
public:
    SaveFileSeam();
    ~SaveFileSeam() override;
    SaveFileSeam(const SaveFileSeam&) = delete;
    SaveFileSeam& operator=(const SaveFileSeam&) = delete;

    SaveFileSeam& choose(const QString& path);
    SaveFileSeam& cancel();
    int pending() const { return static_cast<int>(m_replies.size()); }

    const QList<ui::SaveFileRequest>& shown() const { return m_shown; }
    int count() const { return static_cast<int>(m_shown.size()); }
    const ui::SaveFileRequest& last() const;

private:
    std::optional<QString> saveFile(const ui::SaveFileRequest& request) override;

    ui::SaveFileHandler* m_previous = nullptr;
    QList<std::optional<QString>> m_replies;
    QList<ui::SaveFileRequest> m_shown;
};

}  // namespace testsupport
