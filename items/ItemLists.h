#pragma once

#include <QString>
#include <QTime>
#include <optional>

namespace ui {
class ComboBox;
}

// The time and interval lists of the to-do and appointment dialogs. A time entry is numbered by its
// seconds from midnight; "<Select>", which stands for no choice, by -1.
namespace items {

const QString& SelectEntry();

// The 48 half-hour times, with "<Select>" after them when asked.
void FillTimeList(ui::ComboBox& list, bool withSelect);
// The fifteen intervals, then "<Select>".
void FillIntervalList(ui::ComboBox& list);

// Shows a time or an interval; one the list lacks (data written elsewhere) is added to it for this
// item, a time in its place among the others.
void ShowTime(ui::ComboBox& list, const QTime& time);
void ShowInterval(ui::ComboBox& list, const QString& text);
void ShowSelect(ui::ComboBox& list);
// The time a time list shows; none on "<Select>".
std::optional<QTime> ListTime(const ui::ComboBox& list);

// Enabled on a white background, or disabled in the button face.
void SetListEnabled(ui::ComboBox& list, bool on);

}  // namespace items
