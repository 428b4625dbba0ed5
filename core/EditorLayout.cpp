#include "core/EditorLayout.h"

#include <QFrame>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <stdexcept>

#include "platform/ui/ListView.h"
#include "platform/ui/Twips.h"

namespace core::editor {

namespace tw = ui::twips;

TRect Geo(const QWidget* w) {
    const QRect g = w->geometry();
    return {tw::FromPixelsX(g.x()), tw::FromPixelsY(g.y()), tw::FromPixelsX(g.width()),
            tw::FromPixelsY(g.height())};
}

double ScaleWidth(const QWidget* w) {
    return tw::FromPixelsX(w->width());
}

double ScaleHeight(const QWidget* w) {
    return tw::FromPixelsY(w->height());
}

void Place(QWidget* w, double left, double top, double width, double height) {
    if (width < 0 || height < 0) throw std::range_error("Invalid property value");
    const int x1 = tw::ToPixelsX(left);
    const int y1 = tw::ToPixelsY(top);
    w->setGeometry(x1, y1, tw::ToPixelsX(left + width) - x1, tw::ToPixelsY(top + height) - y1);
}

void Move(QWidget* w, double left, double top) {
    const TRect g = Geo(w);
    Place(w, left, top, g.width, g.height);
}

void Steps(std::initializer_list<std::function<void()>> steps) {
    for (const auto& step : steps) {
        try {
            step();
        } catch (...) {
        }
    }
}

bool Minimised(const QWidget* screen) {
    if (screen->isMinimized() || screen->window()->isMinimized()) return true;
    const auto* frame = qobject_cast<const QMdiSubWindow*>(screen->parentWidget());
    return frame && frame->isMinimized();
}

RedrawSuspended::RedrawSuspended(QWidget* screen) : m_screen(screen), m_updates(screen->updatesEnabled()) {
    m_screen->setUpdatesEnabled(false);
}

RedrawSuspended::~RedrawSuspended() {
    m_screen->setUpdatesEnabled(m_updates);
}

void Fill(QWidget* w, const QColor& colour) {
    w->setAutoFillBackground(true);
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    w->setPalette(p);
}

QLabel* NewLabel(QWidget* parent, const QString& name, const QString& caption) {
    auto* l = new QLabel(caption, parent);
    l->setObjectName(name);
    return l;
}

QLabel* NewTitleBar(QWidget* parent, const QString& name, const QString& caption,
                    const HeadingColours& colours) {
    QLabel* l = NewLabel(parent, name, caption);
    Fill(l, colours.bar);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, colours.barText);
    l->setPalette(p);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

QLabel* NewHeaderLabel(QWidget* parent, const QString& name, const QString& caption, const QColor& colour) {
    QLabel* l = NewLabel(parent, name, caption);
    Fill(l, colour);
    return l;
}

QPushButton* NewBarButton(QWidget* bar, const QString& name, const QString& caption) {
    auto* b = new QPushButton(caption, bar);
    b->setObjectName(name);
    b->setAutoDefault(false);
    b->setFocusPolicy(Qt::TabFocus);
    QFont f = b->font();
    f.setBold(false);
    f.setPointSizeF(f.pointSizeF() - 1);
    b->setFont(f);
    b->setStyleSheet(QStringLiteral("QPushButton { padding: 0px 2px; }"));
    return b;
}

ui::ListView* NewList(QWidget* parent, const QString& name, QFrame** shape, const QString& shapeName,
                      std::initializer_list<std::pair<QString, double>> columns) {
    auto* frame = new QFrame(parent);
    frame->setObjectName(shapeName);
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Plain);
    frame->setLineWidth(1);
    *shape = frame;

    auto* list = new ui::ListView(parent);
    list->setObjectName(name);
    list->setFrameShape(QFrame::NoFrame);
    list->setHeaderHidden(true);
    for (const auto& [text, width] : columns) list->addColumn(text, width);
    return list;
}

void FrameAround(QFrame* shape, const QWidget* list) {
    const TRect g = Geo(list);
    Place(shape, g.left - 15, g.top - 15, g.width + 30, g.height + 30);
}

QIcon StyleIcon(const QWidget* w, const char* themeName, QStyle::StandardPixmap fallback) {
    return QIcon::fromTheme(QString::fromLatin1(themeName), w->style()->standardIcon(fallback));
}

}  // namespace core::editor
