#pragma once

#include <QHash>
#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>

#include "core/EditorLayout.h"
#include "platform/db/Recordset.h"
#include "platform/ui/Activation.h"

class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabBar;

namespace ui {
class ComboBox;
class ListBox;
class ListView;
}  // namespace ui

namespace core {

// What the contact editor and the project editor share: an MDI screen showing one record, a banner
// with a switcher and a tab strip, a profile of boxes saved one by one when the user leaves them, icon
// buttons beside the boxes, lookup pick lists, the record's to-do, appointment, user-value and history
// lists with the "New:" box, and the Comments and History panes. The editors differ in their texts,
// columns and tables (their Kind), not in these mechanisms; each keeps its own related-record lists.
//
// The record is the one whose number the editor took when it loaded (RecordID): an opener may change
// the program-wide current number before the editor closes. Every write goes to that record, and
// only while it is still stored: Edit > Delete Item may remove it under the open editor, which then
// closes without writing anything and without a word.
class RecordEditor : public QWidget, public ui::ActivatableScreen {
    Q_OBJECT

public:
    struct Kind {
        QString formName;  // "frmContEntry": names the screen and prefixes its logged procedures
        QString table;     // the record's table and key column
        QString keyColumn;
        int nameBox;       // the profile box with the name the switcher lists
        int settingBox;    // the profile box with the visibility setting
        QString switcher;  // the switcher's control name; its click is logged under it
        QString switcherLoader;
        QString switcherSql;  // the records the switcher lists: the number, then `nameColumn`
        QString nameColumn;
        QString switchDialog;   // the box that asks before another record is loaded, and the member
        QString switchMember;   // that takes the record's number
        QString switchFailure;  // the action the switcher's failure message names
        editor::HeadingColours colours;

        // The side lists, the history and the comment.
        QString ownerColumn;       // the item tables' column naming the record: "fkContID"
        QString commentsTable;     // the record's one comment: "CComments"
        QString valuesTable;       // its user-defined values: "CUFldValues"
        QString historyLoader;     // the Info tab's history loader, as it is logged and called
        QString commentsOf;        // "Contact": "Posting Contact Comments", "from Contact Comments."
        QString userFieldsDialog;  // opened by "Add User Field ..."
        QString valuePopup;        // the main window's pop-up that deletes a value, and the members
        QString valueNumber;       // it reads: the value's RefNum and its field name
        QString valueName;
        // The first lines of the failure messages.
        struct {
            QString filter;      // cboHistFilter_Click
            QString postNote;    // PostNewHistoryItem
            QString openNote;    // lvHist_Click
            QString openToDo;    // lvToDo_Click
            QString openAppt;    // lvAppts_Click
            QString newAppt;     // cmdAppts_Click
            QString userFields;  // cmdUserFld_Click
        } failures;
    };

    ~RecordEditor() override;

    // True from the load until the screen closes; loaders called outside it do nothing.
    bool IsLoaded() const { return m_blnLoaded; }
    // True once the screen has closed, though it may still wait to be released.
    bool IsUnloaded() const { return m_blnUnloaded; }
    // The number of the record shown, as the editor took it when it loaded.
    int32_t RecordNumber() const { return RecordID(); }
    // Each time the screen becomes the active one again: the switcher shows the record (when it is
    // listed there) and the History tab its whole content.
    void Form_Activate() override;

    // The public loaders both editors have; dialogs call them by name through the screen registry.
    // The Info tab's history loader has each editor's own name and calls LoadHistory.
    Q_INVOKABLE void LoadToDoInfo();
    Q_INVOKABLE void LoadApptsInfo();
    Q_INVOKABLE void LoadUserDefInfo();

    // The profile boxes; other forms read them by index.
    virtual QWidget* Text1(int index) const = 0;
    virtual QString Text1Text(int index) const = 0;

Q_SIGNALS:
    // The screen has closed, by whatever route; dialogs that work on it close with it.
    void Unloaded();

protected:
    RecordEditor(const Kind& kind, QWidget* parent);

    // What each editor supplies.
    virtual int32_t RecordID() const = 0;
    virtual db::Recordset& RecordTable() = 0;  // the record's table, held open from load to close
    virtual void SetText1Text(int index, const QString& text) = 0;
    virtual bool Text1Locked(int index) const = 0;
    // Writes a box the user left with a text other than the one it had (m_strNewText).
    virtual void WriteChangedBox(int index) = 0;
    virtual void Text1_MouseMove(int /*index*/) {}
    virtual void picPop_Click(int index) = 0;
    // The editor's own closing steps; the shared close path runs them after it has posted what the
    // screen still holds, and closes the shared tables after them.
    virtual void Form_Unload() = 0;

    QString ProcName(const char* procedure) const;

    // Banner and tabs.
    void NewBanner(const QColor& colour);
    void NewTabStrip();
    void picBanner_Resize();
    void tbsMain_Click(int index);

    // Profile boxes and icon buttons: watched for the focus, the mouse and their pressed look.
    void WatchBox(QWidget* watched, int index);
    void WatchIcon(QLabel* icon, int index);
    void Text1_GotFocus(int index);
    void Text1_LostFocus(int index);
    // Every loader that fills a box calls this after: the box being visited takes what it shows now as
    // its old text, so that leaving it writes only what the user changes after the fill.
    void BoxRefilled(int index);
    // The focused box saved as if the user had left it, its visit going on; loaders call it before
    // they refill the boxes, so that what was typed is not lost.
    void CommitFocusedBox();
    // An emptied box shows the stored text of its column again.
    void RestoreStoredText(int index, const QString& column);
    void picPop_MouseDown(int index, Qt::MouseButton button);
    void picPop_MouseUp(int index, Qt::MouseButton button);
    void OpenDialog(const QString& formName);

    // The record's row.
    bool RecordStored() const;
    // RecordStored as the writers' guard: raises "no current record" when the row is gone.
    void RequireStoredRecord() const;
    // One column of the record's row; a row gone, or any failure, gives `message` once the focus move
    // under way is done.
    void WriteRecordColumn(const QString& procName, const QString& message, const QString& column,
                           const QVariant& value);

    // The switcher: the "Default" records, read when the user first goes to the list.
    void LoadSwitcher();
    void ShowRecordInSwitcher();
    void SwitcherClick(int index);

    // A lookup pick list: "<Add Field...>", a blank and the items of one kind. A pick puts the item in
    // `box` and `write` stores it at once; "<Add Field...>" opens `addDialog` and changes nothing.
    void LoadLookupList(const QString& procName, ui::ListBox* list, const QString& kind);
    void LookupList_Click(const QString& procName, ui::ListBox* list, int box, const QString& addDialog,
                          bool focusBoxOnAdd, const std::function<void()>& write);

    // The Comments and History panes, which cover everything below the banner when their tab is chosen.
    void BuildCommentsPane(const QString& banner);
    void BuildHistoryPane(const QString& subjectHeader);
    void LayoutPanes();

    // The side lists, the history and the comment (RecordEditorLists.cpp). The shared tables open
    // with the editor's load; the wiring follows the layout.
    void OpenListTables();
    void ConnectListsAndHistory();
    // The steps every list loader shares: the query read into m_rsList, the list cleared (unless the
    // History tab is collecting several kinds), a row added per record, stripes. An error is logged
    // under `procedure` and keeps the rows added so far.
    void FillList(const QString& procedure, ui::ListView& list, bool clearFirst, const QString& sql,
                  const QVariantList& params, const std::function<void()>& addRow);
    // One of the main window's pop-up menus over a list: its members are set by name, then it is shown
    // at the mouse, and its command does the rest.
    static void MainWindowPopup(const QString& popup, const QVariantMap& members);
    // FillList over the record's notes and calls, newest first; `addRow` gets each one that is a note
    // or a call and has its number and date stamp.
    void FillNotesAndCalls(const QString& procedure, ui::ListView& list, bool clearFirst,
                           const std::function<void(const QVariant& id, bool call, const QVariant& stamp)>& addRow);
    void LoadHistory();
    void LoadNotesCallsHistory();
    void LoadToDoHistory();
    void LoadApptsHistory();
    void cboHistFilter_Click();
    void optNType_Click(int index);
    bool PostNewHistoryItem();  // false when the post failed: the box keeps the text and its kind
    void cmdHist_Click();
    void cmdAppts_Click();
    void cmdUserFld_Click();
    void cmdAddFile_Click();
    // row: the row under the mouse, -1 when the click hit none.
    void lvHist_Click(int row);
    void lvToDo_Click(int row);
    void lvAppts_Click(int row);
    void lvUserDef_MouseUp(Qt::MouseButton button, int row);
    void LoadComments();
    void PostChangedComment();
    void PostCommentEntry(int entryMode);
    void txtComments_Change();
    void lblHyper_Click(int index);

    bool eventFilter(QObject* watched, QEvent* event) override;
    // Closing by any route: the focused box is saved, then the comment and the "New:" note, then the
    // editor unloads.
    void closeEvent(QCloseEvent* event) override;

    const Kind& m_kind;

    QWidget* picBanner = nullptr;
    QTabBar* tbsMain = nullptr;
    ui::ComboBox* m_cboSwitcher = nullptr;
    QPlainTextEdit* txtNewNote = nullptr;

    // Comments tab.
    QWidget* picPane2 = nullptr;
    QLabel* lblCommentBanner = nullptr;
    QPlainTextEdit* txtComments = nullptr;
    std::array<QLabel*, 4> lblMsg{};
    QWidget* picTimeSaver = nullptr;
    std::array<QLabel*, 5> lblHyper{};
    std::array<QLabel*, 5> Image3{};

    // Info tab: the lists both editors have, and the "New:" box.
    ui::ListView* lvHist = nullptr;
    ui::ListView* lvToDo = nullptr;
    ui::ListView* lvAppts = nullptr;
    ui::ListView* lvUserDef = nullptr;
    QPushButton* cmdHist = nullptr;
    QPushButton* cmdAppts = nullptr;
    QPushButton* cmdUserFld = nullptr;
    std::array<QRadioButton*, 2> optNType{};
    QWidget* picGrdClr = nullptr;  // its colour stripes the lists

    // History tab.
    QWidget* picPane3 = nullptr;
    QLabel* lblHistBanner = nullptr;
    QLabel* lblHistView = nullptr;
    ui::ComboBox* cboHistFilter = nullptr;
    QPushButton* cmdAddFile = nullptr;
    std::array<QLabel*, 3> lblHistHdr{};
    ui::ListView* lvHistPane = nullptr;
    QFrame* shpHistPane = nullptr;

    // Table handles, open from the load to the close, and the loaders' work recordset.
    db::Recordset m_rsAttach;
    db::Recordset m_rsComments;
    db::Recordset m_rsList;

    QString m_strNType;          // "N" or "C": the kind of the next "New:" item
    bool m_blnAllItems = false;  // the History tab shows every kind: its loaders add to the list
    bool m_blnNewComment = false;
    bool m_blnCommentChanged = false;
    int32_t m_lngCommentID = 0;

    QString m_strOldText;
    QString m_strNewText;
    bool m_blnLoaded = false;
    bool m_blnUnloaded = false;
    int m_focusIndex = -1;  // the profile box that has the focus, -1 when none

private:
    void ReadSwitcher();

    QHash<QObject*, int> m_boxIndex;
    QHash<QObject*, int> m_iconIndex;
    QHash<int, QWidget*> m_icons;
};

}  // namespace core
