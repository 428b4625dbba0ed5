#include "core/frmErrLog.h"

#include <QDateTime>
#include <QLocale>
#include <QPalette>

#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/ui/DialogKeys.h"
#include "platform/ui/ListView.h"
#include "platform/ui/ScreenRegistry.h"
#include "platform/ui/Twips.h"

namespace {

constexpr double kMargin = 75;  // twips around the list

// "03/07/2012 09:05 PM" whatever the user's locale. A stamp holding only a date reads as midnight.
QString StampText(const QVariant& stamp) {
    QDateTime when;
    if (stamp.typeId() == QMetaType::QDate) {
        when = QDateTime(stamp.toDate(), QTime(0, 0));
    } else if (stamp.typeId() == QMetaType::QTime) {
        when = QDateTime(QDate(1899, 12, 30), stamp.toTime());
    } else {
        when = stamp.toDateTime();
    }
    const QLocale us = QLocale::c();
    return us.toString(when, QStringLiteral("MM/dd/yyyy")) + u' ' +
           us.toString(when, QStringLiteral("hh:mm AP"));
}

}  // namespace

frmErrLog::frmErrLog(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmErrLog"));
    setWindowTitle(QStringLiteral("Program Error Log"));
    setModal(true);

    lvError = new ui::ListView(this);
    lvError->setObjectName(QStringLiteral("lvError"));
    lvError->addColumn(QStringLiteral("Module Name:"), 3390);
    lvError->addColumn(QStringLiteral("Number:"), 990);
    lvError->addColumn(QStringLiteral("Error Description:"), 4890);
    lvError->addColumn(QStringLiteral("Date/Time:"), 2100);

    picGrdClr = new QWidget(this);
    picGrdClr->setObjectName(QStringLiteral("picGrdClr"));
    picGrdClr->setAutoFillBackground(true);
    QPalette stripe = picGrdClr->palette();
    stripe.setColor(QPalette::Window, QColor(196, 208, 226));  // pale grey-blue
    picGrdClr->setPalette(stripe);
    picGrdClr->hide();

    ui::SetDialogKeys(this, nullptr);
    resize(ui::twips::ToPixelsX(11910), ui::twips::ToPixelsY(3405));
    ui::ScreenRegistry::instance().add(this);
    Form_Load();
}

frmErrLog::~frmErrLog() = default;

void frmErrLog::ShowModal(QWidget* owner) {
    frmErrLog dialog(owner);
    dialog.exec();
}

void frmErrLog::Form_Load() {
    core::trap(QStringLiteral("frmErrLog.Form_Load"), core::Tail::ErrorBox, [&] { LoadErrorList(); });
}

void frmErrLog::LoadErrorList() {
    core::trap(QStringLiteral("frmErrLog.LoadErrorList"), core::Tail::Silent, [&] {
        db::Recordset rs =
            g_dbLocal->OpenRecordset(QStringLiteral("SELECT ModName, ErrNum, ErrDesc, DateStamp ") +
                                     QStringLiteral("FROM ErrLog ORDER BY DateStamp DESC"));
        lvError->clear();
        {
            ui::ListView::Batch batch(*lvError);
            if (!rs.Eof()) {
                rs.MoveFirst();
                while (!rs.Eof()) {
                    const QVariant modName = rs.Value(QStringLiteral("ModName"));
                    if (!modName.isNull()) {
                        const int row = lvError->addRow(QString(), modName.toString());
                        const QVariant number = rs.Value(QStringLiteral("ErrNum"));
                        const QVariant desc = rs.Value(QStringLiteral("ErrDesc"));
                        const QVariant stamp = rs.Value(QStringLiteral("DateStamp"));
                        if (!number.isNull())
                            lvError->setSubItem(row, 1, QString::number(number.toLongLong()));
                        if (!desc.isNull()) lvError->setSubItem(row, 2, desc.toString());
                        if (!stamp.isNull()) lvError->setSubItem(row, 3, StampText(stamp));
                    }
                    rs.MoveNext();
                }
            }
        }
        // Striped always, whatever the alternate-colours option says.
        modGeneral::AltLVBackground(*lvError, picGrdClr, 0, -1);
        rs.Close();
    });
}

void frmErrLog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    Form_Resize();
}

// A window too small for the margins leaves the list as it was.
void frmErrLog::Form_Resize() {
    const double width = ui::twips::FromPixelsX(this->width()) - 2 * kMargin;
    const double height = ui::twips::FromPixelsY(this->height()) - 2 * kMargin;
    if (width < 0 || height < 0) return;
    lvError->setGeometry(ui::twips::ToPixelsX(kMargin), ui::twips::ToPixelsY(kMargin),
                         ui::twips::ToPixelsX(width), ui::twips::ToPixelsY(height));
}
