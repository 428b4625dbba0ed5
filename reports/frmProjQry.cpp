#include "reports/frmProjQry.h"

#include "core/Trap.h"
#include "platform/ui/DateTexts.h"
#include "platform/ui/ListView.h"
#include "platform/ui/ScreenRegistry.h"
#include "projects/ProjectListRows.h"

namespace {

const reports::QuerySetup& Setup() {
    static const reports::QuerySetup setup{
        "frmProjQry",
        "Projects Query",
        QColor(0xA0, 0x59, 0x2A),
        QColor(0xF0, 0xE6, 0xDE),
        projects::rows::Columns(),
        " Loading Project Query Screen",
        " Projects-",
        915,
        1350,
        1725,
        4725,
        6750,
        "PUserFields",
        "PUFldValues",
        "fkProjID",
        "Projects",
        "ProjID",
        "loading the requested Project information",
        core::Tail::Action,
    };
    return setup;
}

}  // namespace

frmProjQry::frmProjQry(QWidget* parent)
    : reports::QueryScreen(Setup(), parent),
      m_dates(std::make_unique<ui::DateTexts>(QLatin1String(projects::rows::kDateFormat))) {}

frmProjQry::~frmProjQry() = default;

QWidget* frmProjQry::Open() {
    auto* form = new frmProjQry;
    form->Form_Load();
    ui::ScreenRegistry::instance().showScreen(form);
    return form;
}

QString frmProjQry::SelectThrough(const QString& from) const {
    return QStringLiteral("SELECT ") + QLatin1String(projects::rows::kSelectColumns) + QLatin1Char(' ') + from;
}

bool frmProjQry::AddRow(const db::Database::RowView& row) {
    return LoadProjectInfo(row);
}

bool frmProjQry::LoadProjectInfo(const db::Database::RowView& row) {
    bool added = false;
    core::trap(QStringLiteral("frmProjQry.LoadProjectInfo"), core::Tail::ErrorBox,
               [&] { added = projects::rows::Add(*lvResult, row, *m_dates); });
    return added;
}

void frmProjQry::OpenRecord(int32_t number) {
    projects::rows::OpenProject(number);
}
