// The project editor's controls and its resize rules. Every measure is in twips of the screen.
#include <QCalendarWidget>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "core/EditorLayout.h"
#include "platform/ui/ListView.h"
#include "platform/ui/PickList.h"
#include "platform/ui/TextLimit.h"
#include "platform/ui/Twips.h"
#include "projects/frmProjEntry.h"

namespace {

namespace tw = ui::twips;
using core::editor::Fill;
using core::editor::FrameAround;
using core::editor::Geo;
using core::editor::NewBarButton;
using core::editor::NewLabel;
using core::editor::NewList;
using core::editor::Place;
using core::editor::ScaleHeight;
using core::editor::ScaleWidth;
using core::editor::Steps;
using core::editor::StyleIcon;
using core::editor::TRect;

const QColor kScreenColour(160, 89, 42);  // the banner and the status strip
const QColor kHeadingColour(214, 192, 176);
const QColor kHeaderColour(236, 226, 216);
const QColor kStripeColour(240, 232, 224);

// Design geometry of the parts the resize rules do not move.
constexpr double kBannerHeight = 465;
constexpr double kProfileLeft = 75;
constexpr double kProfileTop = 600;
constexpr double kProfileWidth = 3605;
constexpr double kProfileHeight = 3420;
constexpr double kRowsTop = 450;
constexpr double kRowStep = 420;
constexpr double kCaptionLeft = 45;
constexpr double kCaptionWidth = 1125;
constexpr double kBoxLeft = 1260;
constexpr double kBoxWidth = 1950;
constexpr double kBoxHeight = 255;
constexpr double kIconLeft = 3270;
constexpr double kIconSize = 240;
// Headings and column captions stand 240 above what they head, which is framed 15 outside itself:
// 225 high, the frame meets the heading without covering it.
constexpr double kBarHeight = 225;
constexpr double kToDoHeight = 645;
constexpr double kStatusListHeight = 1980;
constexpr double kTypeListHeight = 1785;
constexpr double kMonthViewWidth = 2925;
constexpr double kMonthViewHeight = 2310;
constexpr double kNameHeaderWidth = 2400;

// Profile rows top to bottom (also the tab order).
constexpr std::array<int, frmProjEntry::kBoxCount> kRowOrder = {0, 1, 6, 2, 3, 4, 5};
const char* const kCaptions[frmProjEntry::kBoxCount] = {"Name",     "Status", "Project Type", "Start Date",
                                                        "End Date", "Budget", "Setting"};
constexpr int kMaxLength[frmProjEntry::kBoxCount] = {255, 100, 100, 25, 25, 15, 100};
// The picker button beside each box (-1: none).
constexpr int kIconOfBox[frmProjEntry::kBoxCount] = {-1, 0, 1, 2, 3, -1, 4};

const core::RecordEditor::Kind kKind{
    QStringLiteral("frmProjEntry"),
    QStringLiteral("Projects"),
    QStringLiteral("ProjID"),
    0,
    6,
    QStringLiteral("cboProjList"),
    QStringLiteral("LoadProjectCombo"),
    QStringLiteral("SELECT ProjID, PName, Setting FROM Projects ") + QStringLiteral("WHERE Setting = '") +
        QStringLiteral("Default") + QStringLiteral("' ") + QStringLiteral("ORDER BY PName"),
    QStringLiteral("PName"),
    QStringLiteral("frmSwtProject"),
    QStringLiteral("m_lngProjectID"),
    QStringLiteral("loading the Project information"),
    {kHeadingColour, Qt::black, kHeaderColour},
    QStringLiteral("fkProjID"),
    QStringLiteral("PComments"),
    QStringLiteral("PUFldValues"),
    QStringLiteral("LoadProjectHistory"),
    QStringLiteral("Project"),
    QStringLiteral("frmUserPrjFields"),
    QStringLiteral("PopupDelProjFld"),
    QStringLiteral("m_lngProjUserFld"),
    QStringLiteral("m_strProjUserFld"),
    {
        QStringLiteral("An un-known error occurred while loading the list!"),
        QStringLiteral("An un-known error occurred while posting this History item!"),
        QStringLiteral("An un-known error occurred loading the Notes/Calls dialog!"),
        QStringLiteral("An un-known error occurred while loading the To Do dialog!"),
        QStringLiteral("An un-known error occurred while loading the Appointments dialog!"),
        QStringLiteral("An un-known error occurred while loading the Appointments dialog!"),
        QStringLiteral("An un-known error occurred while loading the User Defined Field dialog!"),
    },
};

QLabel* NewTitleBar(QWidget* parent, const QString& name, const QString& caption) {
    return core::editor::NewTitleBar(parent, name, caption, kKind.colours);
}

QLabel* NewHeaderLabel(QWidget* parent, const QString& name, const QString& caption) {
    return core::editor::NewHeaderLabel(parent, name, caption, kHeaderColour);
}

QFont BannerFont(const QFont& base) {
    QFont f(QStringLiteral("Tahoma"));
    f.setPointSizeF(base.pointSizeF() + 1);
    f.setBold(true);
    return f;
}

// The banner's icon, drawn here: a white clipboard with three lines of text.
QPixmap BannerIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size / 16.0;
    p.setPen(QPen(Qt::white, s));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(3 * s, 2.5 * s, 10 * s, 12.5 * s), s, s);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6 * s, 1 * s, 4 * s, 2.5 * s));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(5.5 * s, (6.5 + 2.5 * i) * s), QPointF(10.5 * s, (6.5 + 2.5 * i) * s));
    return pixmap;
}

// A control's place in the editor, wherever its parent is.
TRect InEditor(const QWidget* w, const QWidget* editor) {
    const QPoint at = w->mapTo(editor, QPoint(0, 0));
    return {tw::FromPixelsX(at.x()), tw::FromPixelsY(at.y()), tw::FromPixelsX(w->width()),
            tw::FromPixelsY(w->height())};
}

}  // namespace

frmProjEntry::frmProjEntry(QWidget* parent) : core::RecordEditor(kKind, parent) {
    setWindowTitle(QStringLiteral("Projects"));

    BuildBanner();
    BuildProfile();
    BuildInfoLists();
    BuildCommentsPane(QStringLiteral("Free-Form Project Comments"));
    BuildHistoryPane(QStringLiteral(" Subject / File:"));
    BuildPickers();
    ConnectListsAndHistory();
    ConnectProjectLists();
    // Design size: the resize rules take over once the screen is shown.
    resize(tw::ToPixelsX(11700), tw::ToPixelsY(7600));
}

frmProjEntry::~frmProjEntry() = default;

void frmProjEntry::BuildBanner() {
    NewBanner(kScreenColour);
    const QFont bannerFont = BannerFont(font());

    Image1 = NewLabel(picBanner, QStringLiteral("Image1"), QString());
    Image1->setPixmap(BannerIcon(tw::ToPixelsX(255)));
    Place(Image1, 75, 105, 255, 255);

    lblBanner = NewLabel(picBanner, QStringLiteral("lblBanner"), QStringLiteral(" Project Record :"));
    QPalette p = lblBanner->palette();
    p.setColor(QPalette::WindowText, Qt::white);
    lblBanner->setPalette(p);
    lblBanner->setFont(bannerFont);
    Place(lblBanner, 375, 105, 1800, 255);

    cboProjList = new ui::ComboBox(ui::ComboBox::DropDownCombo, picBanner);
    cboProjList->setObjectName(QStringLiteral("cboProjList"));
    cboProjList->setFont(bannerFont);
    QPalette c = cboProjList->palette();
    for (const QPalette::ColorRole role : {QPalette::Base, QPalette::Button, QPalette::Window})
        c.setColor(role, kScreenColour);
    for (const QPalette::ColorRole role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
        c.setColor(role, Qt::white);
    cboProjList->setPalette(c);
    Place(cboProjList, 2250, 75, 3600, 315);
    m_cboSwitcher = cboProjList;
    connect(cboProjList, &QComboBox::activated, this, [this](int index) { cboProjList_Click(index); });

    NewTabStrip();
}

void frmProjEntry::BuildProfile() {
    picProfile = new QWidget(this);
    picProfile->setObjectName(QStringLiteral("picProfile"));
    Fill(picProfile, palette().color(QPalette::Base));
    Place(picProfile, kProfileLeft, kProfileTop, kProfileWidth, kProfileHeight);

    lblProfileHdr =
        NewTitleBar(picProfile, QStringLiteral("lblProfileHdr"), QStringLiteral(" Project Profile"));
    Place(lblProfileHdr, 0, 0, kProfileWidth, kBarHeight + 30);

    const QString tips[kIconCount] = {
        QStringLiteral("Select a Status setting for this Project"),
        QStringLiteral("Modify the Type setting for this Project"),
        QStringLiteral("Modify the Start Date of this Project"),
        QStringLiteral("Modify the End Date of this Project"),
        QStringLiteral("Modify the setting attribute of this record"),
    };
    const QIcon listIcon = StyleIcon(this, "go-down", QStyle::SP_ArrowDown);
    const QIcon dateIcon = StyleIcon(this, "x-office-calendar", QStyle::SP_FileDialogContentsView);
    const QIcon editIcon = StyleIcon(this, "document-edit", QStyle::SP_FileDialogDetailedView);

    double top = kRowsTop;
    QWidget* previous = nullptr;
    for (const int i : kRowOrder) {
        Label1[i] =
            NewLabel(picProfile, QStringLiteral("Label1(%1)").arg(i), QString::fromLatin1(kCaptions[i]));
        Label1[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        Place(Label1[i], kCaptionLeft, top, kCaptionWidth, kBoxHeight);

        auto* box = new QLineEdit(picProfile);
        box->setObjectName(QStringLiteral("Text1(%1)").arg(i));
        ui::LimitLength(box, kMaxLength[i]);
        box->setTextMargins(0, 0, 0, 0);
        // Only the budget is typed; the other boxes are filled by their pickers and the loader.
        box->setReadOnly(i != 5);
        WatchBox(box, i);
        m_text1[i] = box;
        Place(box, kBoxLeft, top, kBoxWidth, kBoxHeight);
        if (previous) setTabOrder(previous, box);
        previous = box;

        if (const int icon = kIconOfBox[i]; icon >= 0) {
            auto* pic = new QLabel(picProfile);
            pic->setObjectName(QStringLiteral("picPop(%1)").arg(icon));
            pic->setAlignment(Qt::AlignCenter);
            pic->setToolTip(tips[icon]);
            pic->setCursor(Qt::PointingHandCursor);
            const QIcon& glyph = icon <= 1 ? listIcon : icon <= 3 ? dateIcon : editIcon;
            pic->setPixmap(glyph.pixmap(tw::ToPixelsX(kIconSize) - 2, tw::ToPixelsY(kIconSize) - 2));
            Fill(pic, Qt::white);
            WatchIcon(pic, icon);
            picPop[icon] = pic;
            Place(pic, kIconLeft, top, kIconSize, kIconSize);
        }
        top += kRowStep;
    }
}

void frmProjEntry::BuildPickers() {
    // Drop down under their boxes, and the month views open beside the profile, over the lists.
    const auto newList = [this](const QString& name, double height) {
        auto* list = new ui::ListBox(this);
        list->setObjectName(name);
        list->hide();
        Place(list, 0, 0, kBoxWidth, height);
        return list;
    };
    lstStatus = newList(QStringLiteral("lstStatus"), kStatusListHeight);
    lstPrjType = newList(QStringLiteral("lstPrjType"), kTypeListHeight);
    // Clicked alone: where a style activates an item on a single click, listening to both would pick
    // it twice.
    connect(lstStatus, &QAbstractItemView::clicked, this, [this] { lstStatus_Click(); });
    connect(lstPrjType, &QAbstractItemView::clicked, this, [this] { lstPrjType_Click(); });

    const auto newMonthView = [this](const QString& name, double top) {
        auto* view = new QCalendarWidget(this);
        view->setObjectName(name);
        view->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
        view->setHorizontalHeaderFormat(QCalendarWidget::SingleLetterDayNames);
        view->setGridVisible(false);
        view->hide();
        Place(view, kProfileLeft + kProfileWidth, top, kMonthViewWidth, kMonthViewHeight);
        return view;
    };
    mnvStart = newMonthView(QStringLiteral("mnvStart"), 1605);
    mnvEnd = newMonthView(QStringLiteral("mnvEnd"), 1865);
    // A click on a day picks it; Enter too, and a double click once.
    connect(mnvStart, &QCalendarWidget::clicked, this,
            [this](const QDate& date) { mnvStart_DateClick(date); });
    connect(mnvEnd, &QCalendarWidget::clicked, this, [this](const QDate& date) { mnvEnd_DateClick(date); });
    connect(mnvStart, &QCalendarWidget::activated, this, [this](const QDate& date) {
        if (mnvStart->isVisible()) mnvStart_DateClick(date);
    });
    connect(mnvEnd, &QCalendarWidget::activated, this, [this](const QDate& date) {
        if (mnvEnd->isVisible()) mnvEnd_DateClick(date);
    });
    // Each drops down from its icon button, its keys typed in its box or in it.
    ui::MakeDropDown(lstStatus, m_text1[1], {picPop[0]}, [this] { lstStatus_Click(); });
    ui::MakeDropDown(lstPrjType, m_text1[2], {picPop[1]}, [this] { lstPrjType_Click(); });
    ui::MakeDropDown(mnvStart, m_text1[3], {picPop[2]},
                     [this] { mnvStart_DateClick(mnvStart->selectedDate()); });
    ui::MakeDropDown(mnvEnd, m_text1[4], {picPop[3]}, [this] { mnvEnd_DateClick(mnvEnd->selectedDate()); });
}

void frmProjEntry::BuildInfoLists() {
    lblRelCon = NewTitleBar(this, QStringLiteral("lblRelCon"), QStringLiteral(" Related Contacts"));
    cmdRelCon =
        NewBarButton(lblRelCon, QStringLiteral("cmdRelCon"), QStringLiteral("Add Related Contact ..."));
    lblRelConNameHdr = NewHeaderLabel(this, QStringLiteral("lblRelConNameHdr"), QStringLiteral(" Name"));
    Place(lblRelConNameHdr, 0, 0, kNameHeaderWidth, kBarHeight);
    lblRelConPhoneHdr = NewHeaderLabel(this, QStringLiteral("lblRelConPhoneHdr"), QStringLiteral(" Phone"));
    lvRelCon = NewList(this, QStringLiteral("lvRelCon"), &shpRelCon, QStringLiteral("shpRelCon"),
                       {{QStringLiteral("Name"), kNameHeaderWidth}, {QStringLiteral("Phone"), 1200}});

    lblHist = NewTitleBar(this, QStringLiteral("lblHist"), QStringLiteral(" Project History"));
    lvHist = NewList(this, QStringLiteral("lvHist"), &shpHist, QStringLiteral("shpHist"),
                     {{QStringLiteral("Date"), 1000}, {QStringLiteral("Subject"), 2000}});

    lblNewHist = NewTitleBar(this, QStringLiteral("lblNewHist"), QStringLiteral("New:"));
    cmdHist = NewBarButton(lblNewHist, QStringLiteral("cmdHist"), QStringLiteral("Add To History"));
    const QString options[2] = {QStringLiteral("Note"), QStringLiteral("Call")};
    for (int i = 0; i < 2; ++i) {
        optNType[i] = new QRadioButton(options[i], lblNewHist);
        optNType[i]->setObjectName(QStringLiteral("optNType(%1)").arg(i));
    }
    optNType[0]->setChecked(true);
    txtNewNote = new QPlainTextEdit(this);
    txtNewNote->setObjectName(QStringLiteral("txtNewNote"));
    txtNewNote->setTabChangesFocus(true);
    shpNewHist = new QFrame(this);
    shpNewHist->setObjectName(QStringLiteral("shpNewHist"));
    shpNewHist->setFrameShape(QFrame::Box);
    shpNewHist->setFrameShadow(QFrame::Plain);

    lblToDo = NewTitleBar(this, QStringLiteral("lblToDo"), QStringLiteral(" To Do"));
    lblToDoHdr = NewHeaderLabel(this, QStringLiteral("lblToDoHdr"), QStringLiteral(" Subject:"));
    lblToDoHdrDue = NewHeaderLabel(this, QStringLiteral("lblToDoHdrDue"), QStringLiteral("   Due:"));
    lvToDo = NewList(this, QStringLiteral("lvToDo"), &shpToDo, QStringLiteral("shpToDo"),
                     {{QStringLiteral("Subject"), 2000}, {QStringLiteral("Due"), 1100}});

    lblAppts = NewTitleBar(this, QStringLiteral("lblAppts"), QStringLiteral(" Appointments"));
    cmdAppts = NewBarButton(lblAppts, QStringLiteral("cmdAppts"), QStringLiteral("New Appt ..."));
    lvAppts = NewList(this, QStringLiteral("lvAppts"), &shpAppts, QStringLiteral("shpAppts"),
                      {{QStringLiteral("Date"), 1100}, {QStringLiteral("Subject"), 2000}});

    lblUserDef =
        NewTitleBar(this, QStringLiteral("lblUserDef"), QStringLiteral(" User Defined Project Fields"));
    cmdUserFld = NewBarButton(lblUserDef, QStringLiteral("cmdUserFld"), QStringLiteral("Add User Field ..."));
    const QString userDefHdr[2] = {QStringLiteral(" Field Name:"), QStringLiteral(" Field Value:")};
    for (int i = 0; i < 2; ++i)
        lblUserDefHdr[i] = NewHeaderLabel(this, QStringLiteral("lblUserDefHdr%1").arg(i + 1), userDefHdr[i]);
    lvUserDef = NewList(this, QStringLiteral("lvUserDef"), &shpUserDef, QStringLiteral("shpUserDef"),
                        {{QStringLiteral("Field Name"), 3000}, {QStringLiteral("Field Value"), 3000}});

    // The lists' stripe colour; never shown.
    picGrdClr = new QWidget(this);
    picGrdClr->setObjectName(QStringLiteral("picGrdClr"));
    Fill(picGrdClr, kStripeColour);
    picGrdClr->hide();

    // Design places; the resize rules move them.
    for (QWidget* bar : {lblRelCon, lblHist, lblNewHist, lblToDo, lblAppts, lblUserDef})
        Place(bar, 0, 0, 3000, kBarHeight);
    Place(lvToDo, 0, 0, 3000, kToDoHeight);
    for (QFrame* shape : {shpRelCon, shpHist, shpNewHist, shpToDo, shpAppts, shpUserDef}) shape->lower();
}

// ---------------------------------------------------------------------------------------------
// Resize rules

void frmProjEntry::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmProjEntry::Form_Resize() {
    if (core::editor::Minimised(this)) return;
    const core::editor::RedrawSuspended redraw(this);

    const double W = ScaleWidth(this);
    const double H = ScaleHeight(this);
    // The banner stands along the top edge, as wide as the screen.
    Steps({[&] { Place(picBanner, 0, 0, W, kBannerHeight); }});
    const TRect P = Geo(picProfile);
    const double column = (W - P.width - 450) * 0.5;
    // The buttons and option buttons of a heading sit on it: their places are the heading's own.
    const auto onBar = [](QWidget* w, double left, double width) { Place(w, left, 0, width, kBarHeight); };

    Steps({
        // 1-6. Related contacts, under the profile.
        [&] { Place(lblRelCon, P.left, P.top + P.height + 225, P.width, kBarHeight); },
        [&] {
            Place(lblRelConNameHdr, Geo(lblRelCon).left, Geo(lblRelCon).top + 240,
                  Geo(lblRelConNameHdr).width, kBarHeight);
        },
        [&] {
            const TRect name = Geo(lblRelConNameHdr);
            Place(lblRelConPhoneHdr, name.right(), name.top, Geo(lblRelCon).width - name.width, kBarHeight);
        },
        [&] {
            const TRect bar = Geo(lblRelCon);
            Place(lvRelCon, bar.left, Geo(lblRelConNameHdr).top + 240, bar.width, H - P.height - 1415);
        },
        [&] { FrameAround(shpRelCon, lvRelCon); },
        [&] { onBar(cmdRelCon, Geo(lblRelCon).width - 1740, 1725); },
        // 7-11. The history list, first of the two columns right of the profile.
        [&] { Place(lblHist, P.right() + 150, P.top, column, kBarHeight); },
        [&] {
            const TRect hist = Geo(lblHist);
            Place(lvHist, hist.left, hist.top + 240, hist.width, H * 0.2);
        },
        [&] { lvHist->setColumnWidthTwips(0, 1000); },
        [&] { lvHist->setColumnWidthTwips(1, Geo(lvHist).width - 1285); },
        [&] { FrameAround(shpHist, lvHist); },
        // 12-17. The new history entry, second column.
        [&] { Place(lblNewHist, Geo(lblHist).right() + 150, Geo(lblHist).top, column, kBarHeight); },
        [&] { onBar(cmdHist, Geo(lblNewHist).width - 1215, 1200); },
        [&] { onBar(optNType[0], 525, 900); },
        [&] { onBar(optNType[1], 1500, std::min(900.0, Geo(lblNewHist).width - 1215 - 1500)); },
        [&] {
            const TRect bar = Geo(lblNewHist);
            Place(txtNewNote, bar.left, bar.top + 240, bar.width, Geo(lvHist).height);
        },
        [&] { FrameAround(shpNewHist, txtNewNote); },
        // 18-23. The to-do list under the history list.
        [&] {
            Place(lblToDo, Geo(lblHist).left, Geo(lvHist).bottom() + 150, Geo(lblHist).width, kBarHeight);
        },
        [&] {
            const TRect toDo = Geo(lblToDo);
            Place(lblToDoHdrDue, toDo.right() - 1440, toDo.top + 240, 1435, kBarHeight);
        },
        // The subject caption ends where the due caption starts.
        [&] {
            const TRect toDo = Geo(lblToDo);
            Place(lblToDoHdr, toDo.left, toDo.top + 240, toDo.width - 1440, kBarHeight);
        },
        [&] {
            const TRect toDo = Geo(lblToDo);
            Place(lvToDo, toDo.left, Geo(lblToDoHdr).top + 240, toDo.width, Geo(lvToDo).height);
        },
        [&] { lvToDo->setColumnWidthTwips(0, Geo(lvToDo).width - 1425); },
        [&] { FrameAround(shpToDo, lvToDo); },
        // 24-28. The appointments beside it.
        [&] { Place(lblAppts, Geo(lblNewHist).left, Geo(lblToDo).top, Geo(lblNewHist).width, kBarHeight); },
        [&] {
            const TRect appts = Geo(lblAppts);
            Place(lvAppts, appts.left, appts.top + 240, appts.width, Geo(lvToDo).height + 240);
        },
        [&] { lvAppts->setColumnWidthTwips(1, Geo(lvAppts).width - 1225); },
        [&] { FrameAround(shpAppts, lvAppts); },
        [&] { onBar(cmdAppts, Geo(lblAppts).width - 1140, 1125); },
        // 29-36. The user-defined fields across both columns.
        [&] {
            Place(lblUserDef, Geo(lblToDo).left, Geo(lvAppts).bottom() + 150, W - P.width - 300, kBarHeight);
        },
        [&] { onBar(cmdUserFld, Geo(lblUserDef).width - 1365, 1350); },
        [&] {
            const TRect bar = Geo(lblUserDef);
            Place(lblUserDefHdr[0], bar.left, bar.top + 240, bar.width * 0.5, kBarHeight);
        },
        [&] {
            const TRect first = Geo(lblUserDefHdr[0]);
            Place(lblUserDefHdr[1], first.right(), first.top, Geo(lblUserDef).width * 0.5, kBarHeight);
        },
        [&] {
            const TRect bar = Geo(lblUserDef);
            Place(lvUserDef, bar.left, Geo(lblUserDefHdr[0]).top + 240, bar.width, H * 0.33);
        },
        [&] { lvUserDef->setColumnWidthTwips(0, Geo(lvUserDef).width * 0.5); },
        [&] { lvUserDef->setColumnWidthTwips(1, Geo(lvUserDef).width * 0.5 - 265); },
        [&] { FrameAround(shpUserDef, lvUserDef); },
        // 37-40. The pick lists under their boxes, the month views beside the profile.
        [&] {
            const TRect box = InEditor(m_text1[1], this);
            Place(lstStatus, box.left, box.top + 255, box.width, Geo(lstStatus).height);
        },
        [&] {
            const TRect box = InEditor(m_text1[2], this);
            Place(lstPrjType, box.left, box.top + 255, box.width, Geo(lstPrjType).height);
        },
        [&] { core::editor::Move(mnvStart, P.right(), Geo(mnvStart).top); },
        [&] { core::editor::Move(mnvEnd, P.right(), Geo(mnvEnd).top); },
    });
    // 41-60. The Comments and History panes.
    LayoutPanes();
}
