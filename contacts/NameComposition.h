#pragma once

#include <QString>
#include <optional>

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

// A typed person's name taken apart by the name parser, with the names composed from its parts.
struct PersonName {
    QString prefix, first, middle, last, suffix;
    QString full, shown;
};

// A dialog's CollectNames: a new parser for every attempt. A name it cannot split into at least a first
// and a last name is the user's to correct: "Make sure you have entered a valid name." and nothing. A
// failure of the parser itself is logged under `procName` and gives nothing, without a message.
std::optional<PersonName> CollectPersonName(const QString& procName, const QString& typed);

}  // namespace NameComposition
