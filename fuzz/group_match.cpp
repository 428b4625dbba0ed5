// The names list's group filter (contacts::InGroup) on any group text and group name.
//
// Invariants: a contact is in a group exactly when one of the names of its group text, split at
// ",", equals the group's name, letter case and all; a name put between commas into any text is
// found there, and one that holds a comma is never found.
#include <fuzzer/FuzzedDataProvider.h>

#include <QStringList>

#include "FuzzCommon.h"
#include "contacts/dialogs/GroupMatch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const QString name = QString::fromStdString(in.ConsumeRandomLengthString(64));
    const QString before = QString::fromStdString(in.ConsumeRandomLengthString(256));
    const QString groups = QString::fromStdString(in.ConsumeRemainingBytesAsString());
    const QString input = fuzz::Shown(groups) + QStringLiteral(" / ") + fuzz::Shown(name);

    const bool listed = groups.split(u',').contains(name, Qt::CaseSensitive);
    FUZZ_CHECK(contacts::InGroup(groups, name) == listed, input, QString::number(listed));
    if (name.contains(u',')) FUZZ_CHECK(!contacts::InGroup(groups, name), input, QStringLiteral("comma"));

    const QString joined = before + QLatin1Char(',') + name + QLatin1Char(',') + groups;
    FUZZ_CHECK(contacts::InGroup(joined, name) == !name.contains(u','), input, fuzz::Shown(joined));
    // A name that differs only in letter case is another group.
    const QString other = name.toUpper() == name ? name.toLower() : name.toUpper();
    if (other != name && !groups.split(u',').contains(other) && !before.split(u',').contains(other))
        FUZZ_CHECK(!contacts::InGroup(joined, other), input, fuzz::Shown(other));
    return 0;
}
