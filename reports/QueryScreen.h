#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

#include "core/ListScreen.h"
#include "platform/db/Database.h"

class QLabel;
class QRadioButton;

namespace ui {
class ComboBox;
}

namespace reports {

// What tells the contact query from the project query.
struct QuerySetup {
    const char* form;     // "frmContQry"
    const char* caption;  // "Contacts Query"
    QColor colour;        // the banner's and the status strip's
    QColor stripe;
    QList<core::ListScreen::Column> columns;  // their headers are the export's too
    const char* loading;                      // the status text while the screen loads
    const char* title;                        // lblBanner(0), " Names -"
    double titleWidth;
    // Lefts in twips of lblBanner(2) "Field:", cboUserDef, optWhere(0) and cboValue; the operators
    // stand 450 apart.
    double fieldLabelLeft, fieldListLeft, operatorsLeft, valueLeft;
    const char* fieldsTable;  // the field names: "CUserFields"
    const char* valuesTable;  // their values: "CUFldValues", with the record's number in `recordColumn`
    const char* recordColumn;
    const char* recordTable;  // the records, "Contacts", by their number `recordKey`, "ContID"
    const char* recordKey;
    // The message of a failed click on a row, and whether it is a whole line (Tail::Message) or
    // what follows "An un-known error occurred while" (Tail::Action).
    const char* openFailure;
    core::Tail openFailureTail;
};

// A query screen: the records whose value of one user-defined field compares with a value as the
// chosen operator says ("=", "<", ">", "<>"), as the database compares text. A field picked fills the
// list of its stored values; a value picked, or Enter in the value box, runs the query. A click on a
// row opens the record's editor; "Save File As ..." writes the list to a comma-separated file.
class QueryScreen : public core::ListScreen {
    Q_OBJECT

public:
    void Form_Load();

    ui::ComboBox* cboUserDef = nullptr;
    ui::ComboBox* cboValue = nullptr;
    QRadioButton* optWhere[4] = {};

protected:
    QueryScreen(const QuerySetup& setup, QWidget* parent);

    // The SELECT of a result row's columns, the record's number first (Null when the record has
    // gone), from `from`: the values, "Hit", with their records joined.
    virtual QString SelectThrough(const QString& from) const = 0;
    // Adds the row of one record read with SelectThrough; false when it lists nothing.
    virtual bool AddRow(const db::Database::RowView& row) = 0;
    // Opens the clicked record in its editor.
    virtual void OpenRecord(int32_t number) = 0;

    void lvResult_Click() override;
    void lblSaveAs_Click() override;

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LoadAllFields();
    void cboUserDef_Click();
    void LoadFieldValues();
    void optWhere_Click(int index);
    void cboValue_Click();
    void cboValue_KeyPress();
    void RunQuery();
    QString Proc(const char* procedure) const;

    const QuerySetup& m_setup;
    QLabel* lblBanner[3] = {};
    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;

    QString m_strField;
    QString m_strOperator;
    QString m_strValue;
};

}  // namespace reports
