#pragma once

// The mouse pointer of the whole program: the hourglass during a long operation, else the arrow.
// One level deep: setting the hourglass twice needs one SetArrow to clear it.
namespace ui {

void SetBusy();
// Puts back the normal pointer, whoever set an override cursor and however often.
void SetArrow();
bool IsBusy();

}  // namespace ui
