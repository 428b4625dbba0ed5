// The contact editor's controls and its resize rules. Every measure is in twips of the screen.
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <algorithm>

#include "contacts/frmContEntry.h"
#include "core/EditorLayout.h"
#include "platform/ui/ListView.h"
#include "platform/ui/PickList.h"
#include "platform/ui/TextLimit.h"
#include "platform/ui/Twips.h"

namespace {

namespace tw = ui::twips;
using core::editor::Fill;
using core::editor::FrameAround;
using core::editor::Geo;
using core::editor::Move;
using core::editor::NewBarButton;
using core::editor::NewLabel;
using core::editor::NewList;
using core::editor::Place;
using core::editor::ScaleHeight;
using core::editor::ScaleWidth;
using core::editor::Steps;
using core::editor::StyleIcon;
using core::editor::TRect;

const QColor kScreenColour(51, 102, 102);
const QColor kHeaderColour(214, 224, 224);
const QColor kStripeColour(232, 240, 240);

// Design geometry of the parts the resize rules do not move.
constexpr double kBannerHeight = 465;
constexpr double kProfileLeft = 120;
constexpr double kProfileTop = 555;
constexpr double kProfileWidth = 4110;
constexpr double kProfileRowsTop = 330;
constexpr double kCaptionLeft = 45;
constexpr double kCaptionWidth = 1500;
constexpr double kBoxLeft = 1590;
constexpr double kBoxWidth = 2190;
constexpr double kBoxHeight = 240;
constexpr double kBoxStep = 255;
constexpr double kAddressHeight = 440;
constexpr double kAddressStep = 450;
constexpr double kIconLeft = 3810;
constexpr double kIconSize = 240;
constexpr double kBarHeight = 225;  // title and column-header labels; lists stand 240 below them
constexpr double kToDoHeight = 420;
constexpr double kJobTitleListHeight = 1455;

// Profile rows top to bottom (also the tab order).
constexpr std::array<int, frmContEntry::kBoxCount> kRowOrder = {0, 1, 2,  17, 3,  4,  5,  6,  7,
                                                                8, 9, 10, 11, 12, 13, 14, 15, 16};

const char* const kCaptions[frmContEntry::kBoxCount] = {
    "Name",           "Shown As",          "Groups",
    "Company",        "Job Title",         "Address : Home",
    "Address : Work", "Address : Bill To", "Address : Ship To",
    "Phone : Home",   "Phone : Work",      "Phone : Mobile",
    "Phone : Other",  "Phone : Fax",       "E-Mail : Personal",
    "E-Mail : Work",  "E-Mail : Other",    "Setting"};
constexpr int kMaxLength[frmContEntry::kBoxCount] = {100, 100, 150, 100, 100, 170, 170, 170, 170,
                                                     25,  25,  25,  25,  25,  50,  50,  50,  50};
constexpr bool kLockedInDesign[frmContEntry::kBoxCount] = {true,  true,  true,  false, false, false,
                                                           false, false, false, false, false, false,
                                                           false, false, false, false, false, true};
// The icon button beside each box (-1: none).
constexpr int kIconOfBox[frmContEntry::kBoxCount] = {0, -1, 1,  -1, 2,  3,  4,  5,  6,
                                                     8, 9,  10, 11, 12, 13, 14, 15, 7};

const core::RecordEditor::Kind kKind{
    QStringLiteral("frmContEntry"),
    QStringLiteral("Contacts"),
    QStringLiteral("ContID"),
    1,
    17,
    QStringLiteral("cboContList"),
    QStringLiteral("LoadContactCombo"),
    QStringLiteral("SELECT ContID, Setting, ShownName FROM Contacts ") + QStringLiteral("WHERE Setting = '") +
        QStringLiteral("Default") + QStringLiteral("' ") + QStringLiteral("ORDER BY ShownName"),
    QStringLiteral("ShownName"),
    QStringLiteral("frmSwtContact"),
    QStringLiteral("m_lngContactID"),
    QStringLiteral("loading the Contact List"),
    {kScreenColour, Qt::white, kHeaderColour},
    QStringLiteral("fkContID"),
    QStringLiteral("CComments"),
    QStringLiteral("CUFldValues"),
    QStringLiteral("LoadContactHistory"),
    QStringLiteral("Contact"),
    QStringLiteral("frmUserFields"),
    QStringLiteral("PopupDelContFld"),
    QStringLiteral("m_lngContUserFld"),
    QStringLiteral("m_strContUserFld"),
    {
        QStringLiteral("An un-known error occurred while gathering the Contact History!"),
        QStringLiteral("An un-known error occurred while posting the History item!"),
        QStringLiteral("An un-known error occurred while opening the Calls/Notes dialog!"),
        QStringLiteral("An un-known error occurred while opening the To Do entry screen!"),
        QStringLiteral("An un-known error occurred while opening the Appointments dialog!"),
        QStringLiteral("An un-known error occurred while setting the Appointment screen!"),
        QStringLiteral("An un-known error occurred while setting the User Defined Fields screen!"),
    },
};

QLabel* NewTitleBar(QWidget* parent, const QString& name, const QString& caption) {
    return core::editor::NewTitleBar(parent, name, caption, kKind.colours);
}

QLabel* NewHeaderLabel(QWidget* parent, const QString& name, const QString& caption) {
    return core::editor::NewHeaderLabel(parent, name, caption, kHeaderColour);
}

}  // namespace

frmContEntry::frmContEntry(QWidget* parent) : core::RecordEditor(kKind, parent) {
    setWindowTitle(QStringLiteral("Contact Information"));

    BuildBanner();
    BuildProfile();
    BuildInfoLists();
    BuildCommentsPane(QStringLiteral("Free-Form Contact Comments"));
    BuildHistoryPane(QStringLiteral(" Subject:"));
    ConnectListsAndHistory();
    ConnectContactLists();
    // Design size: the resize rules take over once the screen is shown.
    resize(tw::ToPixelsX(11700), tw::ToPixelsY(7600));
}

frmContEntry::~frmContEntry() = default;

void frmContEntry::BuildBanner() {
    NewBanner(kScreenColour);

    lblNameRecord = NewLabel(picBanner, QStringLiteral("lblNameRecord"), QStringLiteral(" Name Record :"));
    QPalette p = lblNameRecord->palette();
    p.setColor(QPalette::WindowText, Qt::white);
    lblNameRecord->setPalette(p);
    QFont bold = lblNameRecord->font();
    bold.setBold(true);
    lblNameRecord->setFont(bold);
    Place(lblNameRecord, 60, 105, 1530, 255);

    cboContList = new ui::ComboBox(ui::ComboBox::DropDownCombo, picBanner);
    cboContList->setObjectName(QStringLiteral("cboContList"));
    Place(cboContList, 1620, 75, 3600, 315);
    m_cboSwitcher = cboContList;
    connect(cboContList, &QComboBox::activated, this, [this](int index) { cboContList_Click(index); });

    NewTabStrip();
}

void frmContEntry::BuildProfile() {
    picProfile = new QWidget(this);
    picProfile->setObjectName(QStringLiteral("picProfile"));
    Fill(picProfile, palette().color(QPalette::Base));

    lblProfileHdr = NewTitleBar(picProfile, QStringLiteral("lblProfileHdr"), QStringLiteral(" Name Profile"));
    Place(lblProfileHdr, 0, 0, kProfileWidth, kBarHeight + 30);

    const QString tips[kIconCount] = {
        QStringLiteral("Modify this Name entry"),
        QStringLiteral("Add or remove Group settings for this Contact"),
        QStringLiteral("Add a Job Title to this record"),
        QStringLiteral("Modify this Address Record"),
        QStringLiteral("Modify this Address Record"),
        QStringLiteral("Modify this Address Record"),
        QStringLiteral("Modify this Address Record"),
        QStringLiteral("Modify the setting attribute of this record"),
        QStringLiteral("Delete this Phone Number Record"),
        QStringLiteral("Delete this Phone Number Record"),
        QStringLiteral("Delete this Phone Number Record"),
        QStringLiteral("Delete this Phone Number Record"),
        QStringLiteral("Delete this Phone Number Record"),
        QStringLiteral("Delete this E-Mail Record"),
        QStringLiteral("Delete this E-Mail Record"),
        QStringLiteral("Delete this E-Mail Record"),
    };
    const QIcon editIcon = StyleIcon(this, "document-edit", QStyle::SP_FileDialogDetailedView);
    const QIcon listIcon = StyleIcon(this, "go-down", QStyle::SP_ArrowDown);
    const QIcon deleteIcon = StyleIcon(this, "edit-delete", QStyle::SP_TrashIcon);

    double top = kProfileRowsTop;
    for (const int i : kRowOrder) {
        const bool address = i >= 5 && i <= 8;
        const double height = address ? kAddressHeight : kBoxHeight;

        Label1[i] =
            NewLabel(picProfile, QStringLiteral("Label1(%1)").arg(i), QString::fromLatin1(kCaptions[i]));
        Label1[i]->setAlignment(Qt::AlignRight | (address ? Qt::AlignTop : Qt::AlignVCenter));
        Place(Label1[i], kCaptionLeft, top, kCaptionWidth, height);

        ProfileBox& box = m_text1[i];
        if (address) {
            auto* memo = new QPlainTextEdit(picProfile);
            memo->setTabChangesFocus(true);
            memo->setLineWrapMode(QPlainTextEdit::NoWrap);
            memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            memo->document()->setDocumentMargin(1);
            memo->viewport()->setMouseTracking(true);
            WatchBox(memo->viewport(), i);
            ui::LimitLength(memo, kMaxLength[i]);
            box.memo = memo;
            box.widget = memo;
        } else {
            auto* line = new QLineEdit(picProfile);
            ui::LimitLength(line, kMaxLength[i]);
            line->setTextMargins(0, 0, 0, 0);
            line->setMouseTracking(true);
            box.line = line;
            box.widget = line;
        }
        box.widget->setObjectName(QStringLiteral("Text1(%1)").arg(i));
        WatchBox(box.widget, i);
        SetText1Locked(i, kLockedInDesign[i]);
        Place(box.widget, kBoxLeft, top, kBoxWidth, height);

        if (const int icon = kIconOfBox[i]; icon >= 0) {
            auto* pic = new QLabel(picProfile);
            pic->setObjectName(QStringLiteral("picPop(%1)").arg(icon));
            pic->setAlignment(Qt::AlignCenter);
            pic->setToolTip(tips[icon]);
            pic->setCursor(Qt::PointingHandCursor);
            const QIcon& glyph = icon == 2 ? listIcon : icon >= 8 ? deleteIcon : editIcon;
            pic->setPixmap(glyph.pixmap(tw::ToPixelsX(kIconSize) - 2, tw::ToPixelsY(kIconSize) - 2));
            Fill(pic, Qt::white);
            WatchIcon(pic, icon);
            picPop[icon] = pic;
            Place(pic, kIconLeft, top, kIconSize, kIconSize);
        }
        top += address ? kAddressStep : kBoxStep;
    }
    Place(picProfile, kProfileLeft, kProfileTop, kProfileWidth, top + 30);

    // Drops down under the Job Title box, over whatever is below it.
    lstJobTitle = new ui::ListBox(this);
    lstJobTitle->setObjectName(QStringLiteral("lstJobTitle"));
    lstJobTitle->hide();
    Place(lstJobTitle, kProfileLeft + kBoxLeft, 0, kBoxWidth, kJobTitleListHeight);
    // Clicked alone: where a style activates an item on a single click, listening to both would
    // pick it twice.
    connect(lstJobTitle, &QAbstractItemView::clicked, this, [this] { lstJobTitle_Click(); });
    ui::MakeDropDown(lstJobTitle, m_text1[4].widget, {picPop[2]}, [this] { lstJobTitle_Click(); });
}

void frmContEntry::BuildInfoLists() {
    lblRelPrj = NewTitleBar(this, QStringLiteral("lblRelPrj"), QStringLiteral(" Related Projects"));
    cmdRelProj =
        NewBarButton(lblRelPrj, QStringLiteral("cmdRelProj"), QStringLiteral("Add Related Project ..."));
    lblRelPrjHdr = NewHeaderLabel(this, QStringLiteral("lblRelPrjHdr"), QStringLiteral(" Project:"));
    lvRelPrj = NewList(this, QStringLiteral("lvRelPrj"), &shpRelPrj, QStringLiteral("shpRelPrj"),
                       {{QStringLiteral("Project"), 2400}, {QStringLiteral("Status"), 1400}});

    lblHist = NewTitleBar(this, QStringLiteral("lblHist"), QStringLiteral(" Contact History"));
    lvHist = NewList(this, QStringLiteral("lvHist"), &shpHist, QStringLiteral("shpHist"),
                     {{QStringLiteral("Date"), 1000}, {QStringLiteral("Subject"), 2000}});

    lblNewHist = NewTitleBar(this, QStringLiteral("lblNewHist"), QStringLiteral("New:"));
    cmdHist = NewBarButton(lblNewHist, QStringLiteral("cmdHist"), QStringLiteral("Add To History"));
    const QString options[2] = {QStringLiteral("Note"), QStringLiteral("Call")};
    for (int i = 0; i < 2; ++i) {
        optNType[i] = new QRadioButton(options[i], lblNewHist);
        optNType[i]->setObjectName(QStringLiteral("optNType(%1)").arg(i));
        QPalette p = optNType[i]->palette();
        p.setColor(QPalette::WindowText, Qt::white);
        optNType[i]->setPalette(p);
    }
    optNType[0]->setChecked(true);
    txtNewNote = new QPlainTextEdit(this);
    txtNewNote->setObjectName(QStringLiteral("txtNewNote"));
    txtNewNote->setTabChangesFocus(true);

    lblToDo = NewTitleBar(this, QStringLiteral("lblToDo"), QStringLiteral(" To Do"));
    lblToDoHdr = NewHeaderLabel(this, QStringLiteral("lblToDoHdr"), QStringLiteral(" Subject:"));
    lblToDoHdrDue = NewHeaderLabel(this, QStringLiteral("lblToDoHdrDue"), QStringLiteral("   Due:"));
    lvToDo = NewList(this, QStringLiteral("lvToDo"), &shpToDo, QStringLiteral("shpToDo"),
                     {{QStringLiteral("Subject"), 2000}, {QStringLiteral("Due"), 1100}});

    lblAppts = NewTitleBar(this, QStringLiteral("lblAppts"), QStringLiteral(" Appointments"));
    cmdAppts = NewBarButton(lblAppts, QStringLiteral("cmdAppts"), QStringLiteral("New Appt ..."));
    lvAppts = NewList(this, QStringLiteral("lvAppts"), &shpAppts, QStringLiteral("shpAppts"),
                      {{QStringLiteral("Date"), 2000}, {QStringLiteral("Subject"), 1200}});

    lblRelCon = NewTitleBar(this, QStringLiteral("lblRelCon"), QStringLiteral(" Related Contacts"));
    cmdRelCon =
        NewBarButton(lblRelCon, QStringLiteral("cmdRelCon"), QStringLiteral("Add Related Contact ..."));
    const QString relConHdr[4] = {QStringLiteral(" Name:"), QStringLiteral(" Memo:"),
                                  QStringLiteral(" Phone:"), QStringLiteral(" E-mail:")};
    for (int i = 0; i < 4; ++i)
        lblRelConHdr[i] = NewHeaderLabel(this, QStringLiteral("lblRelConHdr%1").arg(i + 1), relConHdr[i]);
    lvRelCon = NewList(this, QStringLiteral("lvRelCon"), &shpRelCon, QStringLiteral("shpRelCon"),
                       {{QStringLiteral("Name"), 2000},
                        {QStringLiteral("Memo"), 2000},
                        {QStringLiteral("Phone"), 1300},
                        {QStringLiteral("E-Mail"), 1300}});

    lblUserDef =
        NewTitleBar(this, QStringLiteral("lblUserDef"), QStringLiteral(" User Defined Contact Fields"));
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
    Place(lvToDo, 0, 0, 3000, kToDoHeight);
    for (QFrame* shape : {shpRelPrj, shpHist, shpToDo, shpAppts, shpRelCon, shpUserDef}) shape->lower();
}

// ---------------------------------------------------------------------------------------------
// Resize rules

void frmContEntry::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmContEntry::Form_Resize() {
    if (core::editor::Minimised(this)) return;
    // Some seventy controls move; one repaint at the end instead of one per control.
    const core::editor::RedrawSuspended redraw(this);

    // The banner stands along the top edge, as wide as the screen.
    Steps({[&] { Place(picBanner, 0, 0, ScaleWidth(this), kBannerHeight); }});

    const double sw = ScaleWidth(this);
    const double sh = ScaleHeight(this);
    const TRect profile = Geo(picProfile);
    const double column = (sw - profile.width - 450) / 2;
    const double across = sw - profile.width - 300;

    Steps({
        // 1. Related projects, under the profile.
        [&] {
            Place(lblRelPrj, profile.left, profile.bottom() + 225, profile.width, kBarHeight);
            const TRect bar = Geo(lblRelPrj);
            Place(cmdRelProj, bar.width - 1740, 0, 1725, kBarHeight);
            Place(lblRelPrjHdr, bar.left, bar.bottom(), bar.width, kBarHeight);
            // At least one row high: the smallest window leaves the rule a few pixels, half a row.
            // Nor does a short window leave the list at its design place over the profile.
            Place(lvRelPrj, bar.left, Geo(lblRelPrjHdr).top + 240, bar.width,
                  std::max(tw::FromPixelsY(lvRelPrj->rowHeight()), sh - profile.height - 1470));
        },
        // 2. Two columns right of the profile.
        [&] {
            Place(lblHist, profile.right() + 150, profile.top, column, kBarHeight);
            Place(lblNewHist, Geo(lblHist).right() + 150, profile.top, column, kBarHeight);
        },
        // 3. First column.
        [&] {
            const TRect hist = Geo(lblHist);
            Place(lvHist, hist.left, hist.top + 240, hist.width, 0.2 * sh);
            lvHist->setColumnWidthTwips(0, 1000);
            lvHist->setColumnWidthTwips(1, Geo(lvHist).width - 1285);
            Place(lblToDo, hist.left, Geo(lvHist).bottom() + 150, hist.width, kBarHeight);
            const TRect toDo = Geo(lblToDo);
            // The subject caption ends where the due caption starts.
            Place(lblToDoHdr, toDo.left, toDo.top + 240, toDo.width - 1440, kBarHeight);
            Place(lblToDoHdrDue, toDo.right() - 1440, toDo.top + 240, 1440, kBarHeight);
            Place(lvToDo, toDo.left, Geo(lblToDoHdr).top + 240, toDo.width, Geo(lvToDo).height);
            lvToDo->setColumnWidthTwips(0, Geo(lvToDo).width - 1425);
        },
        // 4. Second column.
        [&] {
            const TRect bar = Geo(lblNewHist);
            Place(cmdHist, bar.width - 1215, 0, 1200, kBarHeight);
            Place(optNType[0], 525, 0, 900, kBarHeight);
            Place(optNType[1], 1500, 0, std::min(900.0, bar.width - 1215 - 1500), kBarHeight);
            Place(txtNewNote, bar.left, bar.top + 240, bar.width, Geo(lvHist).height);
            Place(lblAppts, bar.left, Geo(lblToDo).top, bar.width, kBarHeight);
            const TRect appts = Geo(lblAppts);
            Place(lvAppts, appts.left, appts.top + 240, appts.width, Geo(lvToDo).height + 240);
            lvAppts->setColumnWidthTwips(0, Geo(lvAppts).width - 1225);
            Place(cmdAppts, appts.width - 1140, 0, 1125, kBarHeight);
        },
        // 5. Across both columns.
        [&] {
            const double left = Geo(lblToDo).left;
            Place(lblRelCon, left, Geo(lvAppts).bottom() + 150, across, kBarHeight);
            const TRect relCon = Geo(lblRelCon);
            Place(cmdRelCon, relCon.width - 1740, 0, 1725, kBarHeight);
            const double shares[4] = {0.3, 0.3, 0.2, 0.2};
            double at = relCon.left;
            for (int i = 0; i < 4; ++i) {
                Place(lblRelConHdr[i], at, relCon.top + 240, shares[i] * relCon.width, kBarHeight);
                at += shares[i] * relCon.width;
            }
            Place(lvRelCon, relCon.left, Geo(lblRelConHdr[0]).top + 240, relCon.width, 0.15 * sh);
            const double width = Geo(lvRelCon).width;
            for (int i = 0; i < 4; ++i)
                lvRelCon->setColumnWidthTwips(i, shares[i] * width - (i == 3 ? 265 : 0));

            Place(lblUserDef, relCon.left, Geo(lvRelCon).bottom() + 150, relCon.width, kBarHeight);
            const TRect userDef = Geo(lblUserDef);
            Place(cmdUserFld, userDef.width - 1365, 0, 1350, kBarHeight);
            Place(lblUserDefHdr[0], userDef.left, userDef.top + 240, userDef.width / 2, kBarHeight);
            Place(lblUserDefHdr[1], userDef.left + userDef.width / 2, userDef.top + 240, userDef.width / 2,
                  kBarHeight);
            Place(lvUserDef, userDef.left, Geo(lblUserDefHdr[0]).top + 240, userDef.width, 0.23 * sh);
            lvUserDef->setColumnWidthTwips(0, Geo(lvUserDef).width / 2);
            lvUserDef->setColumnWidthTwips(1, Geo(lvUserDef).width / 2 - 265);
        },
        // 6. The frames around the lists.
        [&] { FrameAround(shpRelPrj, lvRelPrj); },
        [&] { FrameAround(shpHist, lvHist); },
        [&] { FrameAround(shpToDo, lvToDo); },
        [&] { FrameAround(shpAppts, lvAppts); },
        [&] { FrameAround(shpRelCon, lvRelCon); },
        [&] { FrameAround(shpUserDef, lvUserDef); },
        // 7. Last, the job-title list under its box.
        [&] {
            const QWidget* jobTitle = m_text1[4].widget;
            const QRect box(jobTitle->mapTo(this, QPoint(0, 0)), jobTitle->size());
            const TRect b{tw::FromPixelsX(box.x()), tw::FromPixelsY(box.y()), tw::FromPixelsX(box.width()),
                          tw::FromPixelsY(box.height())};
            Place(lstJobTitle, b.left, b.bottom() + 15, b.width, Geo(lstJobTitle).height);
        },
    });
    // 8. The Comments and History panes.
    LayoutPanes();
}
