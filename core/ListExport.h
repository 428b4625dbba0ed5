#pragma once

#include <QString>
#include <QStringList>

namespace ui {
class ListView;
}

namespace core {

// "Save File As ..." of the list screens: writes the rows of `list`, as displayed, to a
// comma-separated file the user names in the save dialog. One header line of `headers`, then one
// line per row in the order shown, each with as many fields as there are headers; every field in
// double quotes (inner quotes doubled), lines ended by CR LF, UTF-8 without a byte-order mark.
// An empty list only says so. The file is written whole or not at all; errors are logged under
// `procName` ("frmNames.lblSaveAs_Click") and shown in the error box. Cancel does nothing.
void SaveListAsCsv(const QString& procName, const QStringList& headers, ui::ListView& list);

// Tests: the next export writes its file but fails before putting it in place.
void FailNextCsvWrite(const QString& description);

}  // namespace core
