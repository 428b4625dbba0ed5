#pragma once

#include <QString>

// The font every screen is laid out for and every print-out is printed in: Tahoma, 8.25 pt on screen.
namespace ui {

QString ProgramFontFamily();

// Loads Wine's Tahoma from its package folder (fonts-wine; fontconfig does not search it) and makes
// Tahoma 8.25 pt the application font. Without the package the platform's stand-in for Tahoma is
// used. Call once, after the QApplication is made and before any window.
void UseProgramFont();

}  // namespace ui
