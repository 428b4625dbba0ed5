#pragma once

// Sizes and positions are given in twips: 1440 to the logical inch of the primary screen.
namespace ui::twips {

double PerPixelX();  // twips per pixel (15 at 96 dpi)
double PerPixelY();
int ToPixelsX(double twips);
int ToPixelsY(double twips);
double FromPixelsX(int pixels);
double FromPixelsY(int pixels);

}  // namespace ui::twips
