#include "calendar/CalendarShell.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QTabBar>

#include "core/EditorLayout.h"
#include "core/MainWindowLink.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/ScreenRegistry.h"
#include "platform/ui/Twips.h"

namespace calendar {

namespace {

using namespace core::editor;

// A small calendar page: a red band over a white sheet ruled in squares.
QPixmap PageIcon(int side) {
    const QString key = QStringLiteral("calendar.page.%1").arg(side);
    QPixmap icon;
    if (QPixmapCache::find(key, &icon)) return icon;
    icon = QPixmap(side, side);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QRectF sheet(0.5, 0.5, side - 1.0, side - 1.0);
    p.setPen(QColor(0xD0, 0xD0, 0xD0));
    p.setBrush(Qt::white);
    p.drawRect(sheet);
    const double band = side / 4.0;
    p.fillRect(QRectF(1, 1, side - 2.0, band), QColor(0xC0, 0x30, 0x30));
    p.setPen(QColor(0x90, 0x90, 0x90));
    const double cell = (side - 2.0) / 4.0;
    for (int i = 1; i < 4; ++i) {
        p.drawLine(QPointF(1 + i * cell, band + 1), QPointF(1 + i * cell, side - 1.0));
        if (i < 3)
            p.drawLine(QPointF(1, band + 1 + i * (side - band - 2) / 3),
                       QPointF(side - 1.0, band + 1 + i * (side - band - 2) / 3));
    }
    p.end();
    QPixmapCache::insert(key, icon);
    return icon;
}

void SwitchTo(const QString& name, const ui::OpenValues& values = {}) {
    modGeneral::CloseAllChildForms(modGeneral::Closing::ScreenSwitch);
    ui::ScreenRegistry::instance().openRequired(name, values);
}

}  // namespace

CalendarBanner::CalendarBanner(QWidget* view) : QWidget(view) {
    setObjectName(QStringLiteral("picBanner"));
    Fill(this, kBannerColour);
    Place(this, 0, 0, ScaleWidth(view), 465);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(PageIcon(ui::twips::ToPixelsY(315)));
    Place(Image1, 75, 75, 315, 315);

    lblBanner = NewLabel(this, QStringLiteral("lblBanner"), QStringLiteral("Calendar"));
    QPalette white = lblBanner->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    lblBanner->setPalette(white);
    QFont title = lblBanner->font();
    title.setPointSizeF(9);
    title.setBold(true);
    lblBanner->setFont(title);
    Place(lblBanner, 450, 75, 840, 240);

    tbsMain = new QTabBar(this);
    tbsMain->setObjectName(QStringLiteral("tbsMain"));
    tbsMain->setUsesScrollButtons(false);
    tbsMain->setDrawBase(false);
    tbsMain->setExpanding(true);
    tbsMain->setFocusPolicy(Qt::TabFocus);
    // Four tabs in the strip's designed width, each as high as the strip: squeezed to their
    // caption's height, the style's tab frame cut through the captions' lower edge.
    QFont small = tbsMain->font();
    small.setPointSizeF(small.pointSizeF() - 1);
    tbsMain->setFont(small);
    tbsMain->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 0px 3px; min-width: 0px; height: %1px; }")
                               .arg(ui::twips::ToPixelsY(315)));
    for (const char* caption : {"Day", "Week", "Month", "List"})
        tbsMain->addTab(QString::fromLatin1(caption));
    Place(tbsMain, 8850, 150, 2565, 315);
    connect(tbsMain, &QTabBar::currentChanged, this, [this] {
        if (!m_selecting) Q_EMIT tabChosen();
    });
}

void CalendarBanner::SelectTab(int tab) {
    m_selecting = true;
    tbsMain->setCurrentIndex(tab - 1);
    m_selecting = false;
}

int CalendarBanner::SelectedTab() const {
    return tbsMain->currentIndex() + 1;
}

void CalendarBanner::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    picBanner_Resize();
}

void CalendarBanner::picBanner_Resize() {
    const QString view = parentWidget() ? parentWidget()->objectName() : QString();
    core::trap(view + QStringLiteral(".picBanner_Resize"), core::Tail::Silent,
               [this] { Move(tbsMain, ScaleWidth(this) - Geo(tbsMain).width, Geo(tbsMain).top); });
}

void OpenTab(int tab) {
    switch (tab) {
        case kDayTab:
            OpenDayView(true);
            break;
        case kWeekTab:
            SwitchTo(QStringLiteral("frmCalWeek"));
            break;
        case kMonthTab:
            SwitchTo(QStringLiteral("frmCalMnth"));
            break;
        case kListTab:
            SwitchTo(QStringLiteral("frmCalList"));
            break;
        default:
            break;
    }
}

void OpenDayView(bool isSystem, const QDate& date) {
    ui::OpenValues values{{QStringLiteral("m_blnIsSystem"), isSystem}};
    if (date.isValid()) values.insert(QStringLiteral("m_vSrchDate"), date);
    SwitchTo(QStringLiteral("frmCalDay"), values);
}

void BeginLoad(const QString& status) {
    ui::SetBusy();
    modGeneral::SetStatus(status, true);
    if (core::MainWindowLink* window = core::MainWindow()) window->SetStatusColor(kBannerColour);
}

void EndLoad(const QString& screenCode) {
    g_strCurScreen = screenCode;
    ui::SetArrow();
    modGeneral::SetStatus(QString());
}

}  // namespace calendar
