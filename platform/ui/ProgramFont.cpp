#include "platform/ui/ProgramFont.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QFontDatabase>

namespace ui {

QString ProgramFontFamily() {
    return QStringLiteral("Tahoma");
}

void UseProgramFont() {
    static const bool loaded = [] {
        for (const char* file : {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"}) {
            const QString path = QString::fromLatin1(file);
            if (QFile::exists(path)) QFontDatabase::addApplicationFont(path);
        }
        return true;
    }();
    (void)loaded;
    QFont font(ProgramFontFamily());
    font.setPointSizeF(8.25);
    QApplication::setFont(font);
}

}  // namespace ui
