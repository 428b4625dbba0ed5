// Filling pick lists with every contact or project, and striping report lists.

#include <QPalette>
#include <QWidget>

#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/db/DbError.h"
#include "platform/ui/ListView.h"
#include "platform/ui/PickList.h"

namespace modGeneral {
namespace {

// One query, the rows with a number and a text handed to the list in one go; on a failure the
// entries read so far still reach the list.
void LoadPickList(ui::PickList& list, const QString& sql, const QString& idField, const QString& nameField,
                  bool trim) {
    QVector<QPair<QString, qint64>> items;
    const auto hand = [&] {
        if (trim) {
            for (auto& item : items) item.first = TrimBlanks(item.first);
        }
        list.addItems(items);
    };
    try {
        g_dbLocal->ReadNumberedTexts(sql, {}, idField, nameField, items);
    } catch (...) {
        hand();
        throw;
    }
    hand();
}

}  // namespace

void LoadAllNames(ui::PickList& list) {
    core::trap(QStringLiteral("modGeneral.LoadAllNames"), core::Tail::Silent, [&] {
        LoadPickList(
            list,
            QStringLiteral("SELECT ContID, ShownName FROM Contacts ") + QStringLiteral("ORDER BY ShownName"),
            QStringLiteral("ContID"), QStringLiteral("ShownName"), true);
    });
}

void LoadAllProjects(ui::PickList& list) {
    core::trap(QStringLiteral("modGeneral.LoadAllProjects"), core::Tail::Silent, [&] {
        LoadPickList(list,
                     QStringLiteral("SELECT ProjID, PName FROM Projects ") + QStringLiteral("ORDER BY PName"),
                     QStringLiteral("ProjID"), QStringLiteral("PName"), false);
    });
}

// The stripe colour is the hidden picture box's background colour unless one is given; a given
// colour is a stored colour number, red in the low byte (&HBBGGRR).
void AltLVBackground(ui::ListView& list, QWidget* picGrdClr, int flag, int64_t colour) {
    core::trap(QStringLiteral("modGeneral.AltLVBackground"), core::Tail::Silent, [&] {
        QColor stripe;
        if (colour == -1) {
            if (!picGrdClr)
                throw db::DbError(91, QStringLiteral("No picture box to take the stripe colour from."));
            stripe = picGrdClr->palette().color(picGrdClr->backgroundRole());
        } else {
            if (colour < 0 || colour > 0xFFFFFF)
                throw db::DbError(380, QStringLiteral("Invalid stripe colour."));
            stripe = QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                            static_cast<int>((colour >> 16) & 0xFF));
        }
        if (list.rowCount() == 0) {
            list.clearStripe();
            return;
        }
        list.setStripe(stripe, flag);
    });
}

}  // namespace modGeneral
