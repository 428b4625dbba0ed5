#include "core/frmAbout.h"

#include <QFont>
#include <QLabel>
#include <QPushButton>

#include "core/DialogLayout.h"
#include "platform/ui/DialogKeys.h"
#include "platform/ui/ScreenRegistry.h"

using core::layout::Place;

frmAbout::frmAbout(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Pomaret"));
    setModal(true);

    Label1 = new QLabel(QStringLiteral("Pomaret - Contact Management System"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont title = Label1->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.4);
    Label1->setFont(title);
    Place(Label1, 240, 240, 5880, 420);

    Label2 = new QLabel(
        QStringLiteral("This is a database program used to store Contact Information plus a whole lot more.  "
                       "It can also be used to track Projects, maintain Appointments and Scheduling, keep "
                       "track of To Do Items, log Notes and Phone Calls, query Contact & Project information "
                       "by User Definded Fields, Back-Up & Restore the system database, track Related "
                       "Contact information as well as Related Project information, etc, etc."),
        this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setWordWrap(true);
    Label2->setTextFormat(Qt::PlainText);
    Place(Label2, 240, 780, 5880, 1800);

    lblVersion = new QLabel(this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    Place(lblVersion, 240, 2700, 3600, 285);

    Label3 = new QLabel(QString(), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Place(Label3, 240, 3060, 3600, 255);
    Label4 = new QLabel(QString(), this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Place(Label4, 240, 3360, 3600, 255);

    cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    Place(cmdClose, 4920, 3300, 1200, 375);
    connect(cmdClose, &QPushButton::clicked, this, &frmAbout::cmdClose_Click);

    ui::SetDialogKeys(this, nullptr);
    setFixedSize(ui::twips::ToPixelsX(6360), ui::twips::ToPixelsY(3900));
    ui::ScreenRegistry::instance().add(this);
}

frmAbout::~frmAbout() = default;

QString frmAbout::VersionText() {
    return QStringLiteral("Version / Build %1.%2.%3")
        .arg(POMARET_VERSION_MAJOR)
        .arg(POMARET_VERSION_MINOR)
        .arg(POMARET_VERSION_PATCH);
}

void frmAbout::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Form_Activate();
}

void frmAbout::Form_Activate() {
    lblVersion->setText(VersionText());
}

void frmAbout::cmdClose_Click() {
    accept();
}
