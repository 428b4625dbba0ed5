#pragma once

#include <QWidget>

// Stands in for a screen that is not built yet: an MDI child showing its caption and a line saying
// that it comes later, under the screen's own name, so that the start-up and the screen switches
// already work with it.
class PlaceholderScreen : public QWidget {
    Q_OBJECT

public:
    PlaceholderScreen(const QString& name, const QString& caption, QWidget* parent = nullptr);
};
