#pragma once

#include <QColor>
#include <QIcon>
#include <QString>
#include <QStyle>
#include <functional>
#include <initializer_list>
#include <utility>

class QFrame;
class QLabel;
class QPushButton;
class QWidget;

namespace ui {
class ListView;
}

// Layout helpers of the record editors (contact and project): controls placed in twips by resize
// rules that run step by step. The dialogs' simpler helpers are in DialogLayout.h.
namespace core::editor {

// A rectangle in twips.
struct TRect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    double right() const { return left + width; }
    double bottom() const { return top + height; }
};

// A control's place in its parent.
TRect Geo(const QWidget* w);
// The inner width and height of a control.
double ScaleWidth(const QWidget* w);
double ScaleHeight(const QWidget* w);

// Edges are rounded, not sizes, so that controls meeting in twips meet in pixels too. A negative size
// is refused, as the designer's property would refuse it; the layout then skips that step.
void Place(QWidget* w, double left, double top, double width, double height);
void Move(QWidget* w, double left, double top);

// Runs each layout step on its own: a failing step leaves its controls where they were.
void Steps(std::initializer_list<std::function<void()>> steps);

// A screen shown in the main window's document area counts as minimised when its frame is, or the
// main window itself is: its controls then keep their places.
bool Minimised(const QWidget* screen);

// Redrawing of a screen held off while it lays itself out: one repaint at the end.
class RedrawSuspended {
public:
    explicit RedrawSuspended(QWidget* screen);
    ~RedrawSuspended();
    RedrawSuspended(const RedrawSuspended&) = delete;
    RedrawSuspended& operator=(const RedrawSuspended&) = delete;

private:
    QWidget* m_screen;
    bool m_updates;
};

// The colours an editor paints its section headings in.
struct HeadingColours {
    QColor bar;      // the headings of the sections
    QColor barText;  // their captions
    QColor header;   // the column captions above a list
};

void Fill(QWidget* w, const QColor& colour);
QLabel* NewLabel(QWidget* parent, const QString& name, const QString& caption);
// A section's heading: a coloured bar in bold, that the section's buttons sit on.
QLabel* NewTitleBar(QWidget* parent, const QString& name, const QString& caption,
                    const HeadingColours& colours);
// Column captions above a list whose own header is hidden.
QLabel* NewHeaderLabel(QWidget* parent, const QString& name, const QString& caption, const QColor& colour);
// A small button on a heading bar.
QPushButton* NewBarButton(QWidget* bar, const QString& name, const QString& caption);
// A list with its hidden header and the thin frame drawn around it (`*shape`, behind it).
ui::ListView* NewList(QWidget* parent, const QString& name, QFrame** shape, const QString& shapeName,
                      std::initializer_list<std::pair<QString, double>> columns);
// The frame: 15 left of and above the list, 30 wider and 30 higher.
void FrameAround(QFrame* shape, const QWidget* list);
// An icon of the desktop theme, or the style's own where the theme has none.
QIcon StyleIcon(const QWidget* w, const char* themeName, QStyle::StandardPixmap fallback);

}  // namespace core::editor
