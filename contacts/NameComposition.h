#pragma once

#include <QString>

// How a contact's names are composed from its parts, the same for every place that names a contact
// (the new-contact, name-details and linked-contact dialogs). A part counts as present when it is not
// empty; nothing is trimmed here.
namespace NameComposition {

// Contacts.CTYPE
inline const QString kPerson = QStringLiteral("I");
inline const QString kCompany = QStringLiteral("C");

// "Dr. Anna Maria Berg Jr.": the parts that are present, one blank between each.
QString FullName(const QString& prefix, const QString& first, const QString& middle, const QString& last,
                 const QString& suffix);

// "Berg, Anna Maria": how a person is listed. A company is listed under its company name.
QString ShownName(const QString& last, const QString& first, const QString& middle);

}  // namespace NameComposition
