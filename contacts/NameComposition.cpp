#include "contacts/NameComposition.h"

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

}  // namespace NameComposition
