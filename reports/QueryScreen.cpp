#include "reports/QueryScreen.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "core/EditorLayout.h"
#include "core/ListExport.h"
#include "core/modGeneral.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/ListView.h"
#include "platform/ui/PickList.h"
#include "platform/ui/Twips.h"

using core::Tail;

namespace reports {

namespace {

// The operators, as the option buttons show them; nothing else reaches the statement's text.
const char* const kOperators[4] = {"=", "<", ">", "<>"};
const char* const kOperatorTips[4] = {"Equals", "Less Than", "Greater Than", "Not Equal To"};
constexpr double kOperatorWidths[4] = {465, 465, 465, 615};

QStringList HeadersOf(const QList<core::ListScreen::Column>& columns) {
    QStringList headers;
    for (const auto& column : columns) headers << column.header;
    return headers;
}

}  // namespace

QueryScreen::QueryScreen(const QuerySetup& setup, QWidget* parent)
    : core::ListScreen(QLatin1String(setup.form), QLatin1String(setup.caption), setup.colour, setup.stripe,
                       setup.columns, parent),
      m_setup(setup) {
    Image1 = AddBannerIcon(QStringLiteral("Image1"),
                           core::editor::StyleIcon(this, "system-search", QStyle::SP_FileDialogContentsView), 75);
    // "Field:" is two pixels wider in Tahoma than its 375 twips; it takes them from the blank end of
    // the title before it.
    constexpr double kFieldLabelGrowth = 30;
    lblBanner[0] = AddBannerText(QStringLiteral("lblBanner(0)"), QLatin1String(setup.title), 450,
                                 setup.titleWidth - kFieldLabelGrowth, true);
    QFont title = lblBanner[0]->font();
    title.setPointSizeF(9);
    lblBanner[0]->setFont(title);
    lblBanner[2] = AddBannerText(QStringLiteral("lblBanner(2)"), QStringLiteral("Field:"),
                                 setup.fieldLabelLeft - kFieldLabelGrowth,
                                 setup.fieldListLeft - setup.fieldLabelLeft + kFieldLabelGrowth);
    cboUserDef = AddBannerCombo(QStringLiteral("cboUserDef"), setup.fieldListLeft, 2940, false);
    for (int k = 0; k < 4; ++k) {
        auto* option = new QRadioButton(QLatin1String(kOperators[k]), picBanner);
        option->setObjectName(QStringLiteral("optWhere(%1)").arg(k));
        option->setToolTip(QLatin1String(kOperatorTips[k]));
        QPalette p = option->palette();
        p.setColor(QPalette::WindowText, Qt::white);
        option->setPalette(p);
        const double left = setup.operatorsLeft + 450 * k;
        option->setGeometry(ui::twips::ToPixelsX(left), ui::twips::ToPixelsY(105),
                            ui::twips::ToPixelsX(kOperatorWidths[k]), ui::twips::ToPixelsY(255));
        connect(option, &QRadioButton::clicked, this, [this, k] { optWhere_Click(k); });
        optWhere[k] = option;
    }
    cboValue = AddBannerCombo(QStringLiteral("cboValue"), setup.valueLeft, 2715, true);
    // Enter runs the query with what was typed; it adds nothing to the list.
    cboValue->setInsertPolicy(QComboBox::NoInsert);
    // The query runs on exactly what was typed: no completion from the listed values.
    cboValue->setCompleter(nullptr);
    cboValue->installEventFilter(this);
    if (QLineEdit* edit = cboValue->lineEdit()) edit->installEventFilter(this);
    Image2 =
        AddBannerIcon(QStringLiteral("Image2"),
                      core::editor::StyleIcon(this, "document-save-as", QStyle::SP_DialogSaveButton), 9825);
    AddSaveAsLink(10125, 1140);

    connect(cboUserDef, &QComboBox::activated, this, [this] { cboUserDef_Click(); });
    connect(cboValue, &QComboBox::activated, this, [this] { cboValue_Click(); });
}

QString QueryScreen::Proc(const char* procedure) const {
    return QLatin1String(m_setup.form) + QLatin1Char('.') + QLatin1String(procedure);
}

void QueryScreen::Form_Load() {
    core::trap(Proc("Form_Load"), Tail::ErrorBox, [this] {
        ui::SetBusy();
        modGeneral::SetStatus(QLatin1String(m_setup.loading), true);
        ShowScreenColour();
        LoadAllFields();
        m_strOperator = QLatin1String(kOperators[0]);
        optWhere[0]->setChecked(true);
        // No item dialog reloads a query screen.
        g_strCurScreen = QString();
        ApplyGridLines();
        ui::SetArrow();
        modGeneral::SetStatus(QString());
    });
}

void QueryScreen::LoadAllFields() {
    core::trap(Proc("LoadAllFields"), Tail::Silent, [this] {
        QVector<QPair<QString, qint64>> fields;
        g_dbLocal->ForEachRow(QStringLiteral("SELECT Description FROM ") +
                                  QLatin1String(m_setup.fieldsTable) +
                                  QStringLiteral(" ORDER BY Description"),
                              {}, [&](const db::Database::RowView& row) {
                                  if (!row.isNull(0)) fields.append({row.text(0), 0});
                              });
        cboUserDef->addItems(fields);
    });
}

void QueryScreen::cboUserDef_Click() {
    m_strField = cboUserDef->text();
    LoadFieldValues();
}

void QueryScreen::LoadFieldValues() {
    core::trap(Proc("LoadFieldValues"), Tail::Action, QStringLiteral("loading the Values list"), [this] {
        QVector<QPair<QString, qint64>> values;
        g_dbLocal->ForEachRow(QStringLiteral("SELECT DISTINCT Value FROM ") +
                                  QLatin1String(m_setup.valuesTable) +
                                  QStringLiteral(" WHERE fkUserFld = ? AND Value IS NOT NULL ORDER BY Value"),
                              {m_strField}, [&](const db::Database::RowView& row) {
                                  values.append({row.text(0), 0});
                              });
        cboValue->clear();
        cboValue->addItems(values);
    });
}

void QueryScreen::optWhere_Click(int index) {
    m_strOperator = QLatin1String(kOperators[index]);
}

void QueryScreen::cboValue_Click() {
    RunQuery();
    Stripe();
}

bool QueryScreen::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == cboValue || watched == cboValue->lineEdit()) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            cboValue_KeyPress();
            return true;
        }
    }
    return core::ListScreen::eventFilter(watched, event);
}

// Enter in the value box: the query runs with the text as typed, in the list or not.
void QueryScreen::cboValue_KeyPress() {
    cboValue_Click();
}

// One statement reads the matching values with their records' cells, by record number. A record
// with two matching values is listed once; a value whose record has gone lists nothing. The status
// line counts the values.
void QueryScreen::RunQuery() {
    int matched = 0;
    const bool ran = core::trap(Proc("RunQuery"), Tail::ErrorBox, [&] {
        m_strValue = cboValue->text();
        const QString record = QLatin1String(m_setup.recordColumn);
        const QString from = QStringLiteral("FROM %1 AS Hit LEFT JOIN %2 ON %2.%3 = Hit.%4")
                                 .arg(QLatin1String(m_setup.valuesTable), QLatin1String(m_setup.recordTable),
                                      QLatin1String(m_setup.recordKey), record);
        const QString sql = SelectThrough(from) + QStringLiteral(" WHERE Hit.fkUserFld = ? AND Hit.Value ") +
                            m_strOperator + QStringLiteral(" ? ORDER BY Hit.") + record;

        lvResult->clear();
        ui::ListView::Batch batch(*lvResult);
        qint64 last = -1;
        g_dbLocal->ForEachRow(sql, {m_strField, m_strValue}, [&](const db::Database::RowView& row) {
            ++matched;
            if (row.isNull(0) || row.integer(0) == last) return;
            last = row.integer(0);
            AddRow(row);
        });
    });
    if (!ran) {
        // A failed query never reads as one that found nothing.
        lvResult->clear();
        modGeneral::SetStatus(QString());
        return;
    }
    modGeneral::SetStatus(QStringLiteral("Showing: ") + QString::number(matched) +
                          QStringLiteral(" Records (of ") + QString::number(matched) +
                          QStringLiteral(" total)"));
}

void QueryScreen::lvResult_Click() {
    OpenSelectedRow(
        Proc("lvResult_Click"), QLatin1String(m_setup.openFailure),
        [this](int32_t number) { OpenRecord(number); }, m_setup.openFailureTail);
}

void QueryScreen::lblSaveAs_Click() {
    core::SaveListAsCsv(Proc("lblSaveAs_Click"), HeadersOf(m_setup.columns), *lvResult);
}

}  // namespace reports
