#pragma once

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include "platform/ui/ListView.h"
#include "support/PromptSeam.h"
#include "support/SaveFileSeam.h"

// What the tests of the list screens (names, projects, to-do items) read and do on them.
namespace testsupport {

inline ui::ListView* ResultList(QWidget* screen) {
    return screen ? screen->findChild<ui::ListView*>(QStringLiteral("lvResult")) : nullptr;
}

inline QStringList Keys(const ui::ListView& list) {
    QStringList keys;
    for (int r = 0; r < list.rowCount(); ++r) keys << list.key(r);
    return keys;
}

// Every row as "key|cell|cell|...".
inline QStringList Rows(const ui::ListView& list) {
    QStringList rows;
    for (int r = 0; r < list.rowCount(); ++r) {
        QStringList cells{list.key(r)};
        for (int c = 0; c < list.columnCount(); ++c) cells << list.text(r, c);
        rows << cells.join(u'|');
    }
    return rows;
}

// A drop-down entry chosen as the user chooses it.
inline void Choose(QWidget* screen, const char* box, int index) {
    auto* combo = screen->findChild<QComboBox*>(QLatin1String(box));
    combo->setCurrentIndex(index);
    Q_EMIT combo->activated(index);
}

// "Save File As ..." clicked and a new file chosen; the file's bytes, empty when none was written.
inline QByteArray SaveAs(QWidget* screen, PromptSeam& prompts) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.csv"));
    SaveFileSeam files;
    files.choose(path);
    prompts.answer(ui::Answer::OK);
    QTest::mouseClick(screen->findChild<QLabel*>(QStringLiteral("lblSaveAs")), Qt::LeftButton);
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace testsupport
