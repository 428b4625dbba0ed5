#pragma once

#include <QString>
#include <vector>

#include "core/PrintPage.h"

// The one-page print-out of a to-do item, an appointment or a note: the page header, a grid of
// boxed label and value rows from y 2.6, a box for the wrapped description below them and the
// footer. A description too long for the page goes on over further pages; the footer stands on the
// page where the print-out ends.
namespace items {

struct PrintRow {
    QString label;
    QString value;
};

struct ItemPrintOut {
    core::print::PageHeader header;
    std::vector<PrintRow> rows;
    QString description;
    double descriptionBottom = 0;  // the description box's bottom edge
    QString footerDate;            // printed beside the page number when set
};

// Prints it as one document on the default printer; raises when that fails, and nothing is printed.
void PrintItem(const ItemPrintOut& printOut);

// A picker's date as the print-outs show it, "03/07/2026".
QString PrintedDate(const QDate& date);

}  // namespace items
