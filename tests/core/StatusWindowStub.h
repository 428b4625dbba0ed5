#pragma once

#include <QRectF>
#include <QWidget>

#include "core/MainWindowLink.h"

// A main window that is only its status line, for tests of core alone.
class StatusWindowStub : public core::MainWindowLink {
public:
    StatusWindowStub() { core::SetMainWindow(this); }
    ~StatusWindowStub() override { core::SetMainWindow(nullptr); }

    QWidget* Widget() override { return &widget; }
    void SetStatusText(const QString& text) override { status = text; }
    QString StatusText() const override { return status; }
    void SetContextCommandsEnabled(bool) override {}
    int WindowStateCode() const override { return 0; }
    QRectF OuterFrameTwips() const override { return {}; }
    bool PositionKnown() const override { return true; }

    QWidget widget;
    QString status = QStringLiteral("Ready ...");
};
