// The error log table and the error box that every trapped procedure ends in.
#include <cstdio>

#include "core/modGeneral.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/MessageBox.h"

namespace modGeneral {

namespace {

// Where a row goes that cannot reach the database: it must not be lost without trace.
void LogToStandardError(const QString& modName, int32_t errNum, const QString& errDesc) noexcept {
    try {
        const QByteArray line =
            QStringLiteral("ErrLog: %1 %2 %3\n").arg(modName).arg(errNum).arg(errDesc).toLocal8Bit();
        std::fputs(line.constData(), stderr);
        std::fflush(stderr);
    } catch (...) {
    }
}

}  // namespace

void LogErrors(const QString& modName, int32_t errNum, const QString& errDesc) {
    // Called from inside other procedures' error handlers: it must never fail towards them.
    try {
        if (!g_dbLocal) {
            LogToStandardError(modName, errNum, errDesc);
            return;
        }
        db::Recordset rs = g_dbLocal->OpenRecordset(QStringLiteral("ErrLog"));
        rs.AddNew();
        if (!modName.isEmpty()) rs.Fields(QStringLiteral("ModName")) = modName;
        rs.Fields(QStringLiteral("ErrNum")) = errNum;
        if (!errDesc.isEmpty()) rs.Fields(QStringLiteral("ErrDesc")) = errDesc;
        // DateStamp is the column default: the database's own local time.
        rs.Update();
        rs.Close();
    } catch (...) {
        LogToStandardError(modName, errNum, errDesc);
    }
}

void ShowError(int32_t errNum, const QString& errDesc) {
    // The failed procedure may have left the hourglass up.
    ui::SetArrow();
    const QString text = QStringLiteral("The following Error occurred:\n\nDescription : ") + errDesc +
                         QStringLiteral("\nNumber : ") + QString::number(errNum);
    ui::Beep();
    // The box has no title of its own: the program's title shows.
    ui::MsgBox(text, ui::OKOnly, ui::ProgramTitle());
}

}  // namespace modGeneral
