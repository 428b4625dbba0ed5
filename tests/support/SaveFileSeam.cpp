#include "support/SaveFileSeam.h"

#include <QStringList>
#include <QTest>

#include "support/PromptSeam.h"

namespace testsupport {

SaveFileSeam::SaveFileSeam() : m_previous(ui::saveFileHandler()) {
    ui::setSaveFileHandler(this);
}

SaveFileSeam::~SaveFileSeam() {
    ui::setSaveFileHandler(m_previous);
    if (m_replies.isEmpty() || QTest::currentTestFailed()) return;
    QStringList unused;
    for (const auto& reply : m_replies)
        unused << (reply ? QStringLiteral("\"%1\"").arg(*reply) : QStringLiteral("Cancel"));
    Fail(QStringLiteral("Replies queued for save dialogs that never came: %1")
             .arg(unused.join(QStringLiteral(", "))));
}

SaveFileSeam& SaveFileSeam::choose(const QString& path) {
    m_replies.append(path);
    return *this;
}

SaveFileSeam& SaveFileSeam::cancel() {
    m_replies.append(std::nullopt);
    return *this;
}

const ui::SaveFileRequest& SaveFileSeam::last() const {
    static const ui::SaveFileRequest none;
    if (m_shown.isEmpty()) {
        Fail(QStringLiteral("No save dialog was shown"));
        return none;
    }
    return m_shown.last();
}

std::optional<QString> SaveFileSeam::saveFile(const ui::SaveFileRequest& request) {
    m_shown.append(request);
    if (m_replies.isEmpty()) {
        Fail(QStringLiteral("Unexpected save dialog \"%1\": nothing queued for it").arg(request.title));
        return std::nullopt;
    }
    return m_replies.takeFirst();
}

}  // namespace testsupport
