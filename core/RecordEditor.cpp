#include "core/RecordEditor.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QFocusEvent>
#include <QFrame>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QVector>

#include "core/SwitchRecordDialog.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/db/Database.h"
#include "platform/db/DbError.h"
#include "platform/ui/ListView.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/PickList.h"
#include "platform/ui/ScreenRegistry.h"
#include "platform/ui/TextLimit.h"
#include "platform/ui/Twips.h"

namespace core {

using namespace core::editor;
namespace tw = ui::twips;

namespace {

const QString kAddField = QStringLiteral("<Add Field...>");
const QColor kLinkColour(0, 0, 255);

constexpr double kBannerHeight = 465;
constexpr double kBarHeight = 225;
constexpr double kIconSize = 240;
constexpr double kPaneBannerHeight = 375;
constexpr double kTimeSaverTop = 1650;
constexpr double kTimeSaverWidth = 2520;
constexpr double kTimeSaverHeight = 3600;

// Focus moving to another window (a dialog, a message box) or into a pop-up menu is not the user
// leaving the box: the edit is still there when the window is active again, and coming back to the
// same box is not a new visit.
bool OtherWindow(Qt::FocusReason reason) {
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}

// A dialog of the program, not one of its message or input boxes.
bool ProgramDialog(const QWidget* window) {
    return qobject_cast<const QDialog*>(window) && !qobject_cast<const QMessageBox*>(window) &&
           !qobject_cast<const QInputDialog*>(window);
}

// A left-button click released over a widget.
bool Clicked(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonRelease) return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    return mouse->button() == Qt::LeftButton &&
           static_cast<QWidget*>(watched)->rect().contains(mouse->position().toPoint());
}

// Left-button clicks on a row of labels, reported by the label's index.
class LabelClicks : public QObject {
public:
    LabelClicks(QObject* parent, std::function<void(int)> clicked)
        : QObject(parent), m_clicked(std::move(clicked)) {}
    void watch(QLabel* label, int index) {
        m_index.insert(label, index);
        label->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (Clicked(watched, event)) m_clicked(m_index.value(watched));
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void(int)> m_clicked;
    QHash<QObject*, int> m_index;
};

}  // namespace

RecordEditor::RecordEditor(const Kind& kind, QWidget* parent) : QWidget(parent), m_kind(kind) {
    setObjectName(m_kind.formName);
}

RecordEditor::~RecordEditor() = default;

QString RecordEditor::ProcName(const char* procedure) const {
    return m_kind.formName + QLatin1Char('.') + QLatin1String(procedure);
}

// ---------------------------------------------------------------------------------------------
// Activation and close

void RecordEditor::Form_Activate() {
    if (!IsLoaded()) return;
    core::trap(ProcName("Form_Activate"), Tail::Silent, [&] {
        // Only "Default" records are in the switcher's list.
        if (Text1Text(m_kind.settingBox) == QLatin1String("Default")) ShowRecordInSwitcher();
        cboHistFilter->setListIndex(cboHistFilter->findText(QStringLiteral("All Items")));
        cboHistFilter_Click();
    });
}

void RecordEditor::closeEvent(QCloseEvent* event) {
    if (m_blnLoaded && !m_blnUnloaded) {
        // Edit > Delete Item closes the editor after the record is gone: what the screen still holds
        // belongs to no one and is dropped without a word. A failed check counts as stored, so that
        // the writers below report their own failure.
        bool stored = true;
        core::trap(ProcName("Form_Unload"), Tail::Silent, [&] { stored = RecordStored(); });
        if (stored) {
            // A box being edited is saved as if the user had left it: closing from a menu or the
            // keyboard moves no focus, and the edit must not be lost. So is the comment, and text
            // left in "New:" is filed.
            CommitFocusedBox();
            PostChangedComment();
            if (!txtNewNote->toPlainText().isEmpty())
                core::trap(ProcName("Form_Unload"), Tail::Silent, [&] { PostNewHistoryItem(); });
        }
        m_blnUnloaded = true;
        Form_Unload();
        m_rsAttach.Close();
        m_rsComments.Close();
        m_rsList.Close();
        Q_EMIT Unloaded();
    }
    event->accept();
}

bool RecordEditor::RecordStored() const {
    return modGeneral::RecordExists(m_kind.table, m_kind.keyColumn, RecordID());
}

void RecordEditor::RequireStoredRecord() const {
    modGeneral::RequireRecord(m_kind.table, m_kind.keyColumn, RecordID());
}

// ---------------------------------------------------------------------------------------------
// Banner and tabs

void RecordEditor::NewBanner(const QColor& colour) {
    picBanner = new QWidget(this);
    picBanner->setObjectName(QStringLiteral("picBanner"));
    Fill(picBanner, colour);
    picBanner->installEventFilter(this);
}

void RecordEditor::NewTabStrip() {
    tbsMain = new QTabBar(picBanner);
    tbsMain->setObjectName(QStringLiteral("tbsMain"));
    tbsMain->setDrawBase(false);
    tbsMain->setExpanding(false);
    tbsMain->addTab(QStringLiteral("Info"));
    tbsMain->addTab(QStringLiteral("Comments"));
    tbsMain->addTab(QStringLiteral("History"));
    tbsMain->setAutoFillBackground(true);
    const QSize tabs = tbsMain->sizeHint();
    tbsMain->setGeometry(0, tw::ToPixelsY(kBannerHeight) - tabs.height(), tabs.width(), tabs.height());
    // A click on the chosen tab counts as a click too (it posts a changed comment).
    connect(tbsMain, &QTabBar::currentChanged, this, [this](int index) { tbsMain_Click(index); });
    connect(tbsMain, &QTabBar::tabBarClicked, this, [this](int index) {
        if (index >= 0 && index == tbsMain->currentIndex()) tbsMain_Click(index);
    });
}

// The tab strip keeps to the banner's right edge.
void RecordEditor::picBanner_Resize() {
    try {
        Move(tbsMain, ScaleWidth(picBanner) - Geo(tbsMain).width, Geo(tbsMain).top);
    } catch (...) {
    }
}

void RecordEditor::tbsMain_Click(int index) {
    if (!IsLoaded()) return;
    core::trap(ProcName("tbsMain_Click"), Tail::ErrorBox, [&] {
        picPane2->hide();
        picPane3->hide();
        switch (index) {
            case 0:
                Text1(0)->setFocus();
                break;
            case 1:
                picPane2->show();
                picPane2->raise();
                txtComments->setFocus();
                break;
            case 2:
                picPane3->show();
                picPane3->raise();
                // The profile box under the pane would otherwise keep the keys typed here.
                lvHistPane->setFocus();
                break;
            default:
                break;
        }
        PostChangedComment();
    });
}

// ---------------------------------------------------------------------------------------------
// Profile boxes and icon buttons

void RecordEditor::WatchBox(QWidget* watched, int index) {
    watched->installEventFilter(this);
    m_boxIndex.insert(watched, index);
}

void RecordEditor::WatchIcon(QLabel* icon, int index) {
    icon->installEventFilter(this);
    m_iconIndex.insert(icon, index);
    m_icons.insert(index, icon);
}

bool RecordEditor::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == picBanner && type == QEvent::Resize) {
        picBanner_Resize();
    } else if (const auto icon = m_iconIndex.constFind(watched); icon != m_iconIndex.constEnd()) {
        if (type == QEvent::MouseButtonPress) {
            picPop_MouseDown(icon.value(), static_cast<QMouseEvent*>(event)->button());
        } else if (type == QEvent::MouseButtonRelease) {
            picPop_MouseUp(icon.value(), static_cast<QMouseEvent*>(event)->button());
            if (Clicked(watched, event)) picPop_Click(icon.value());
        }
    } else if (const auto box = m_boxIndex.constFind(watched); box != m_boxIndex.constEnd()) {
        // After the close nothing is read or written any more.
        if (type == QEvent::FocusIn && !m_blnUnloaded) {
            const bool back =
                OtherWindow(static_cast<QFocusEvent*>(event)->reason()) && m_focusIndex == box.value();
            if (!back) Text1_GotFocus(box.value());
        } else if (type == QEvent::FocusOut && !m_blnUnloaded) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (!OtherWindow(reason)) {
                Text1_LostFocus(box.value());
            } else if (QWidget* active = QApplication::activeWindow();
                       reason == Qt::ActiveWindowFocusReason && ProgramDialog(active) &&
                       !ui::RaisedByProgram::Marks(active)) {
                // The user went on to a dialog, whose save may reload this box: what was typed is
                // written first, as leaving the box would. A window the program raised by itself (a
                // reminder) takes nothing: the user comes back to the box and types on.
                CommitFocusedBox();
            }
        } else if (type == QEvent::MouseMove) {
            Text1_MouseMove(box.value());
        }
    }
    return QWidget::eventFilter(watched, event);
}

void RecordEditor::Text1_GotFocus(int index) {
    m_focusIndex = index;
    modGeneral::highLight();
    m_strOldText = Text1Text(index);
}

void RecordEditor::Text1_LostFocus(int index) {
    if (m_focusIndex == index) m_focusIndex = -1;
    // What a locked box shows was put there by a loader, a pick list or a dialog, never typed: it is
    // not written from here.
    if (!IsLoaded() || Text1Locked(index)) return;
    core::trap(ProcName("Text1_LostFocus"), Tail::Silent, [&] {
        m_strNewText = Text1Text(index);
        // Letter case counts: "acme" to "Acme" is written.
        if (m_strNewText == m_strOldText) return;
        WriteChangedBox(index);
    });
}

void RecordEditor::BoxRefilled(int index) {
    if (index == m_focusIndex) m_strOldText = Text1Text(index);
}

void RecordEditor::CommitFocusedBox() {
    const int index = m_focusIndex;
    if (index < 0) return;
    Text1_LostFocus(index);
    // The visit goes on: leaving the box later writes only what changes from here.
    m_focusIndex = index;
    m_strOldText = Text1Text(index);
}

void RecordEditor::RestoreStoredText(int index, const QString& column) {
    core::trap(ProcName("RestoreStoredText"), Tail::Silent, [&] {
        QString stored;
        db::Recordset& table = RecordTable();
        table.setIndex(QStringLiteral("PrimaryKey"));
        table.Seek(QStringLiteral("="), RecordID());
        if (!table.NoMatch()) stored = table.Value(column).toString();
        SetText1Text(index, stored);
    });
}

void RecordEditor::picPop_MouseDown(int index, Qt::MouseButton button) {
    if (button == Qt::LeftButton) Fill(m_icons.value(index), QColor(128, 128, 128));
}

void RecordEditor::picPop_MouseUp(int index, Qt::MouseButton button) {
    if (button == Qt::LeftButton) Fill(m_icons.value(index), QColor(255, 255, 255));
}

void RecordEditor::OpenDialog(const QString& formName) {
    // Until a dialog exists the main window shows a stand-in; a name nobody registered opens nothing.
    ui::ScreenRegistry::instance().open(formName);
}

void RecordEditor::WriteRecordColumn(const QString& procName, const QString& message, const QString& column,
                                     const QVariant& value) {
    db::Recordset& table = RecordTable();
    const bool written = core::trap(procName, Tail::Silent, [&] {
        // The row must still be there: an update that reaches no row is a failure, not a success.
        table.setIndex(QStringLiteral("PrimaryKey"));
        table.Seek(QStringLiteral("="), RecordID());
        if (table.NoMatch())
            throw db::DbError(db::kErrNoCurrentRecord, QStringLiteral("The record no longer exists."));
        table.Edit();
        table.Fields(column) = value;
        table.Update();
        // Update reads the row back; a row gone meanwhile reads back empty.
        if (table.Value(m_kind.keyColumn).isNull())
            throw db::DbError(db::kErrNoCurrentRecord, QStringLiteral("The record no longer exists."));
    });
    if (!written) {
        table.CancelUpdate();
        // Writers run while the focus moves; the box waits until the move is done.
        ui::MsgBoxQueued(message + QStringLiteral("\nSorry for the inconvenience"), ui::OKOnly,
                         ui::ProgramTitle());
    }
}

// ---------------------------------------------------------------------------------------------
// Switcher

void RecordEditor::LoadSwitcher() {
    m_cboSwitcher->clear();
    m_cboSwitcher->setEditText(QString());
    // Every "Default" record is a long read: it is done when the user first goes to the list, not
    // each time an editor opens.
    m_cboSwitcher->fillOnFirstUse([this] { ReadSwitcher(); });
}

void RecordEditor::ReadSwitcher() {
    QVector<QPair<QString, qint64>> items;
    core::trap(m_kind.formName + QLatin1Char('.') + m_kind.switcherLoader, Tail::Silent, [&] {
        // Read straight into the list's entries: this list holds every "Default" record.
        g_dbLocal->ReadNumberedTexts(m_kind.switcherSql, {}, m_kind.keyColumn, m_kind.nameColumn, items);
    });
    // One model signal for the whole list; after an error, the entries read so far.
    m_cboSwitcher->addItems(items);
    if (Text1Text(m_kind.settingBox) == QLatin1String("Default")) ShowRecordInSwitcher();
}

// The record on screen as the switcher's entry, or as its text while the list is still unread;
// shown from its beginning, as the profile boxes show a long name.
void RecordEditor::ShowRecordInSwitcher() {
    const QString shown = Text1Text(m_kind.nameBox);
    const int at = m_cboSwitcher->waitingToFill() ? -1 : m_cboSwitcher->findData(RecordID());
    if (at >= 0 && m_cboSwitcher->itemText(at) == shown) {
        m_cboSwitcher->setListIndex(at);
        m_cboSwitcher->lineEdit()->setCursorPosition(0);
    } else {
        ui::ShowText(m_cboSwitcher->lineEdit(), shown);
    }
}

void RecordEditor::SwitcherClick(int index) {
    if (!IsLoaded()) return;
    core::trap(m_kind.formName + QLatin1Char('.') + m_kind.switcher + QStringLiteral("_Click"), Tail::Action,
               m_kind.switchFailure, [&] {
                   // Asks even for the record on screen; its OK reopens the editor. One question at a
                   // time: while it is open it keeps its record, and the switcher goes back to that
                   // record's entry whenever the wheel or the arrow keys move it on.
                   auto* question = qobject_cast<SwitchRecordDialog*>(ui::ScreenRegistry::instance().open(
                       m_kind.switchDialog, {{m_kind.switchMember, m_cboSwitcher->itemData(index)}}));
                   if (!question) return;
                   const int asked = m_cboSwitcher->findData(question->ChosenRecord());
                   if (asked >= 0 && asked != index) m_cboSwitcher->setListIndex(asked);
               });
}

// ---------------------------------------------------------------------------------------------
// Lookup pick lists

void RecordEditor::LoadLookupList(const QString& procName, ui::ListBox* list, const QString& kind) {
    QVector<QPair<QString, qint64>> items{{kAddField, 0}, {QStringLiteral(" "), 0}};
    list->clear();
    core::trap(procName, Tail::Silent, [&] {
        for (const QString& item : modGeneral::LookupList(kind)) items.append({item, 0});
    });
    list->addItems(items);
}

void RecordEditor::LookupList_Click(const QString& procName, ui::ListBox* list, int box,
                                    const QString& addDialog, bool focusBoxOnAdd,
                                    const std::function<void()>& write) {
    if (!IsLoaded() || list->listIndex() < 0) return;
    const bool done = core::trap(procName, Tail::Silent, [&] {
        const QString item = list->text();
        if (item == kAddField) {
            list->hide();
            if (focusBoxOnAdd) Text1(box)->setFocus();
            // Its OK adds the item and reloads the list; its Cancel puts the list back.
            OpenDialog(addDialog);
            return;
        }
        SetText1Text(box, item);
        list->hide();
        Text1(box)->setFocus();
        write();
    });
    if (!done) list->hide();
}

// ---------------------------------------------------------------------------------------------
// Comments and History panes

void RecordEditor::BuildCommentsPane(const QString& banner) {
    picPane2 = new QWidget(this);
    picPane2->setObjectName(QStringLiteral("picPane2"));
    Fill(picPane2, palette().color(QPalette::Window));
    picPane2->hide();

    lblCommentBanner = NewTitleBar(picPane2, QStringLiteral("lblCommentBanner"), banner, m_kind.colours);
    txtComments = new QPlainTextEdit(picPane2);
    txtComments->setObjectName(QStringLiteral("txtComments"));
    txtComments->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtComments->setTabChangesFocus(true);

    const QString hints[4] = {QStringLiteral("Type"), QStringLiteral(" a comment of any length"),
                              QStringLiteral("in the box. It will be saved"),
                              QStringLiteral("automatically.")};
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() - 1);
    QFont bold = small;
    bold.setBold(true);
    for (int i = 0; i < 4; ++i) {
        lblMsg[i] = NewLabel(picPane2, QStringLiteral("lblMsg%1").arg(i + 1), hints[i]);
        lblMsg[i]->setFont(i == 0 ? bold : small);
        lblMsg[i]->resize(lblMsg[i]->sizeHint().width(), tw::ToPixelsY(kBarHeight));
    }

    // The hint and the panel a size smaller: they keep their width however narrow the window.
    picTimeSaver = new QWidget(picPane2);
    picTimeSaver->setObjectName(QStringLiteral("picTimeSaver"));
    picTimeSaver->setFont(small);
    Place(picTimeSaver, 0, kTimeSaverTop, kTimeSaverWidth, kTimeSaverHeight);
    QLabel* heading = NewTitleBar(picTimeSaver, QStringLiteral("lblTimeSaver"),
                                  QStringLiteral("Time - Saver"), m_kind.colours);
    heading->setAlignment(Qt::AlignCenter);
    Place(heading, 0, 0, kTimeSaverWidth, 300);

    // The three numbered steps, each a bold number word, its rest on the same line and a second line.
    struct StepText {
        const char* number;
        const char* rest;
        const char* second;
        double top;
    };
    const StepText steps[3] = {{"1. Highlight", "part of the", " text with your mouse.", 390},
                               {"2. Click", "on an action below to", " transform the selection.", 930},
                               {"3. Click", " OK to file the", " highlighted text in History.", 3000}};
    int n = 0;
    for (const StepText& s : steps) {
        QLabel* number =
            NewLabel(picTimeSaver, QStringLiteral("lblStep%1").arg(++n), QString::fromLatin1(s.number));
        number->setFont(bold);
        const double numberWidth = tw::FromPixelsX(number->sizeHint().width()) + 60;
        Place(number, 60, s.top, numberWidth, kBarHeight);
        QLabel* rest =
            NewLabel(picTimeSaver, QStringLiteral("lblStep%1").arg(++n), QString::fromLatin1(s.rest));
        Place(rest, 60 + numberWidth, s.top, kTimeSaverWidth - 90 - numberWidth, kBarHeight);
        QLabel* second =
            NewLabel(picTimeSaver, QStringLiteral("lblStep%1").arg(++n), QString::fromLatin1(s.second));
        Place(second, 60, s.top + 240, kTimeSaverWidth - 90, kBarHeight);
    }

    const QString links[5] = {QStringLiteral("Save it as a To Do"), QStringLiteral("Save it as an E-mail"),
                              QStringLiteral("Save it as a Letter"), QStringLiteral("Save it as an Appt"),
                              QStringLiteral("Save it as a Note")};
    const QIcon linkIcon = StyleIcon(this, "go-next", QStyle::SP_ArrowRight);
    auto* clicks = new LabelClicks(this, [this](int index) { lblHyper_Click(index); });
    for (int i = 0; i < 5; ++i) {
        const double top = 1470 + i * 300;
        Image3[i] = NewLabel(picTimeSaver, QStringLiteral("Image3(%1)").arg(i), QString());
        Image3[i]->setPixmap(linkIcon.pixmap(tw::ToPixelsX(kIconSize) - 2, tw::ToPixelsY(kIconSize) - 2));
        Place(Image3[i], 90, top, kIconSize, kIconSize);
        lblHyper[i] = NewLabel(picTimeSaver, QStringLiteral("lblHyper(%1)").arg(i), links[i]);
        QPalette p = lblHyper[i]->palette();
        p.setColor(QPalette::WindowText, kLinkColour);
        lblHyper[i]->setPalette(p);
        QFont underline = lblHyper[i]->font();
        underline.setUnderline(true);
        lblHyper[i]->setFont(underline);
        lblHyper[i]->setCursor(Qt::PointingHandCursor);
        Place(lblHyper[i], 390, top, kTimeSaverWidth - 420, kIconSize);
        clicks->watch(lblHyper[i], i);
    }
    connect(txtComments, &QPlainTextEdit::textChanged, this, [this] { txtComments_Change(); });
}

void RecordEditor::BuildHistoryPane(const QString& subjectHeader) {
    picPane3 = new QWidget(this);
    picPane3->setObjectName(QStringLiteral("picPane3"));
    Fill(picPane3, palette().color(QPalette::Window));
    picPane3->hide();

    lblHistBanner =
        NewTitleBar(picPane3, QStringLiteral("lblHistBanner"), QStringLiteral("History -"), m_kind.colours);
    lblHistView = NewLabel(lblHistBanner, QStringLiteral("lblHistView"), QStringLiteral("View :"));
    lblHistView->setPalette(lblHistBanner->palette());
    cboHistFilter = new ui::ComboBox(ui::ComboBox::DropDownList, lblHistBanner);
    cboHistFilter->setObjectName(QStringLiteral("cboHistFilter"));
    connect(cboHistFilter, &QComboBox::activated, this, [this] { cboHistFilter_Click(); });
    cmdAddFile = NewBarButton(lblHistBanner, QStringLiteral("cmdAddFile"), QStringLiteral("Add A File ..."));

    const QString headers[3] = {QStringLiteral(" Date:"), QStringLiteral(" Type:"), subjectHeader};
    for (int i = 0; i < 3; ++i) {
        lblHistHdr[i] = NewHeaderLabel(picPane3, QStringLiteral("lblHistHdr%1").arg(i + 1), headers[i],
                                       m_kind.colours.header);
    }
    lvHistPane = NewList(
        picPane3, QStringLiteral("lvHistPane"), &shpHistPane, QStringLiteral("shpHistPane"),
        {{QStringLiteral("Date"), 1200}, {QStringLiteral("Type"), 1200}, {QStringLiteral("Subject"), 5000}});
    shpHistPane->lower();
}

void RecordEditor::LayoutPanes() {
    const double sw = ScaleWidth(this);
    const double sh = ScaleHeight(this);
    Steps({
        [&] { Place(picPane2, 0, kBannerHeight, sw, sh - kBannerHeight); },
        [&] { Place(picPane3, 0, kBannerHeight, sw, sh - kBannerHeight); },
        [&] {
            const double pw = ScaleWidth(picPane2);
            const double ph = ScaleHeight(picPane2);
            Place(lblCommentBanner, 225, 225, pw - 450, kPaneBannerHeight);
            const TRect banner = Geo(lblCommentBanner);
            Place(txtComments, banner.left, banner.bottom() + 225, 0.75 * pw, ph - 1350);
            const TRect box = Geo(txtComments);
            Move(lblMsg[0], box.right() + 225, box.top);
            const TRect msg1 = Geo(lblMsg[0]);
            Move(lblMsg[1], msg1.right(), msg1.top);
            Move(lblMsg[2], msg1.left, msg1.top + 240);
            Move(lblMsg[3], msg1.left, msg1.top + 480);
            Move(picTimeSaver, msg1.left, Geo(picTimeSaver).top);
        },
        [&] {
            const double pw = ScaleWidth(picPane3);
            const double ph = ScaleHeight(picPane3);
            Place(lblHistBanner, 225, 225, pw - 450, kPaneBannerHeight);
            const TRect banner = Geo(lblHistBanner);
            // Inside the banner: its left and top are 0 there.
            Place(lblHistView, 825, 0, 525, banner.height);
            Place(cboHistFilter, 1350, 15, 2400, banner.height - 30);
            Place(cmdAddFile, banner.width - 1140, 37, 1125, banner.height - 74);
            const double hdrTop = banner.top + 540;
            Place(lblHistHdr[0], banner.left, hdrTop, 0.12 * banner.width, kBarHeight);
            Place(lblHistHdr[1], Geo(lblHistHdr[0]).right(), hdrTop, 0.12 * banner.width, kBarHeight);
            Place(lblHistHdr[2], Geo(lblHistHdr[1]).right(), hdrTop, 0.76 * banner.width + 15, kBarHeight);
            Place(lvHistPane, banner.left, hdrTop + 240, banner.width, ph - 1155);
            const double width = Geo(lvHistPane).width;
            lvHistPane->setColumnWidthTwips(0, 0.12 * width);
            lvHistPane->setColumnWidthTwips(1, 0.12 * width);
            lvHistPane->setColumnWidthTwips(2, 0.76 * width - 265);
        },
        [&] { FrameAround(shpHistPane, lvHistPane); },
    });
}

}  // namespace core
