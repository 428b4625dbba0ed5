#pragma once

#include <QRectF>
#include <QString>

#include "core/MainWindowLink.h"

// The main window as far as the maintenance commands and the file deletion use it: its status line
// and its record commands.
class WindowDouble : public core::MainWindowLink {
public:
    WindowDouble() { core::SetMainWindow(this); }
    ~WindowDouble() override { core::SetMainWindow(nullptr); }
    QWidget* Widget() override { return nullptr; }
    void SetStatusText(const QString& text) override { status = text; }
    QString StatusText() const override { return status; }
    void SetContextCommandsEnabled(bool enabled) override { contextCommands = enabled; }
    int WindowStateCode() const override { return 0; }
    QRectF OuterFrameTwips() const override { return {}; }
    bool PositionKnown() const override { return true; }

    QString status = QStringLiteral("Ready ...");
    bool contextCommands = true;
};
