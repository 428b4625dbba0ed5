#include "contacts/NameComposition.h"

#include "contacts/clsNameParse.h"
#include "core/Trap.h"
#include "platform/ui/MessageBox.h"

namespace NameComposition {

QString FullName(const QString& prefix, const QString& first, const QString& middle, const QString& last,
                 const QString& suffix) {
    QString name;
    if (!prefix.isEmpty()) name += prefix + u' ';
    name += first + u' ';
    if (!middle.isEmpty()) name += middle + u' ';
    name += last;
    if (!suffix.isEmpty()) name += u' ' + suffix;
    return name;
}

QString ShownName(const QString& last, const QString& first, const QString& middle) {
    QString name = last + QStringLiteral(", ") + first;
    if (!middle.isEmpty()) name += u' ' + middle;
    return name;
}

std::optional<PersonName> CollectPersonName(const QString& procName, const QString& typed) {
    PersonName name;
    bool parsed = false;
    const bool ran = core::trap(procName, core::Tail::Silent, [&] {
        clsNameParse parser;
        parser.ParseName(typed);
        name.prefix = parser.Prefix();
        name.first = parser.FirstName();
        name.middle = parser.MiddleName();
        name.last = parser.LastName();
        name.suffix = parser.Suffix();
        parsed = !parser.HasError();
    });
    if (!ran) return std::nullopt;
    if (!parsed || name.first.isEmpty() || name.last.isEmpty()) {
        ui::MsgBox(QStringLiteral("Make sure you have entered a valid name."), ui::OKOnly, ui::ProgramTitle());
        return std::nullopt;
    }
    name.full = FullName(name.prefix, name.first, name.middle, name.last, name.suffix);
    name.shown = ShownName(name.last, name.first, name.middle);
    return name;
}

}  // namespace NameComposition
