#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>

#include "platform/db/Recordset.h"

class QCloseEvent;
class QEvent;
class QLabel;
class QPushButton;

namespace ui {
class ListBox;
}  // namespace ui

// What sets one link picker apart from the other. Both add a RelateProject row that links a
// project and a contact: from the contact editor the user picks a project, from the project editor a
// contact. Every name here is the program's own, never user text.
struct RelatedPickerSetup {
    const char* formName;         // the form's name, also the start of its error-log names
    const char* caption;          // window title
    const char* heading;          // Label1
    const char* listName;         // the list's name ("lstProject")
    const char* listQuery;        // what is offered, in list order: a number and a text column
    const char* numberColumn;     //
    const char* textColumn;       //
    const char* noRowsMessage;    // nothing to offer: the dialog says so and closes
    const char* noChoiceMessage;  // OK before an entry was chosen
    const char* clickAction;      // "selecting a Project Name", for the click's failure message
    bool contactIsCurrent;        // true: a project is picked for the current contact; false: a contact
                                  // for the current project
    const char* editorForm;       // the editor reloaded on every close but Cancel ...
    const char* editorLoader;     // ... through this public loader
};

// Links one entry of its list to the current record: OK writes the link row and closes, Cancel (Esc)
// closes and changes nothing. Every close but Cancel, the close box included, reloads the editor's
// list of links. The same pair may be linked twice; nothing checks. The row's ContShowName is the
// linked contact's shown name as stored then. Modeless, owned by the main window, gone when closed.
class RelatedPicker : public QDialog {
    Q_OBJECT

public:
    RelatedPicker(const RelatedPickerSetup& setup, QWidget* owner);
    ~RelatedPicker() override;

    // Shows a loaded picker; one with nothing to offer has said so and is closed instead (nullptr).
    static RelatedPicker* Show(RelatedPicker* dialog);

    void done(int result) override;
    // Esc is the Cancel button.
    void reject() override;

protected:
    // The close box is not Cancel: the editor is reloaded.
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void Form_Load();
    // False when there is nothing to offer.
    bool LoadList();
    void List_Click(int row);
    void cmdOpts_Click(int index);
    void PostEntry();
    void Form_Unload();
    QString ProcName(const char* procedure) const;

    const RelatedPickerSetup m_setup;

    QLabel* Label1 = nullptr;
    ui::ListBox* m_list = nullptr;  // named by the setup: lstProject, lstContact
    QPushButton* cmdOpts[2] = {};   // OK (Enter), Cancel (Esc)

    db::Recordset m_rsLinks;  // RelateProject, open from the load to the close

    int32_t m_lngCurrent = 0;  // the contact or project current when the picker opened
    int32_t m_lngChosen = 0;   // the entry's number; 0 until one is chosen
    bool m_blnNothingToPick = false;
    bool m_blnCancelled = false;
    bool m_blnUnloaded = false;
};
