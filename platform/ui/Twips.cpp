#include "platform/ui/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace ui::twips {
namespace {

constexpr double kTwipsPerInch = 1440.0;

double dpiX() {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->logicalDotsPerInchX() : 96.0;
}
double dpiY() {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->logicalDotsPerInchY() : 96.0;
}

}  // namespace

double PerPixelX() { return kTwipsPerInch / dpiX(); }
double PerPixelY() { return kTwipsPerInch / dpiY(); }
int ToPixelsX(double twips) { return static_cast<int>(std::lround(twips / PerPixelX())); }
int ToPixelsY(double twips) { return static_cast<int>(std::lround(twips / PerPixelY())); }
double FromPixelsX(int pixels) { return pixels * PerPixelX(); }
double FromPixelsY(int pixels) { return pixels * PerPixelY(); }

}  // namespace ui::twips
