#pragma once

#include <QStringView>

namespace contacts {

// Whether `name` is one of the group names joined with "," in `groups`, letter case exact: a group
// whose name holds another's ("Network", "Work") is not that other. No widgets: the names list, its
// tests and the fuzzer share it.
bool InGroup(QStringView groups, QStringView name);

}  // namespace contacts
