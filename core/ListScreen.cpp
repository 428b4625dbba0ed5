#include "core/ListScreen.h"

#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <stdexcept>

#include "core/MainWindowLink.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/ui/ListView.h"
#include "platform/ui/PickList.h"
#include "platform/ui/Twips.h"

namespace core {

namespace {

namespace tw = ui::twips;

// The size a list screen is built at, before the main window gives it its own.
constexpr double kDesignWidth = 11355;
constexpr double kDesignHeight = 7770;

constexpr double kBannerHeight = 465;
constexpr double kListLeft = 15;
constexpr double kListTop = 480;
// The last column leaves this much of the list's width to the vertical scroll bar.
constexpr double kScrollBarRoom = 265;

// A size the layout cannot take (a window made very small) leaves the control where it was.
void Place(QWidget* w, double left, double top, double width, double height) {
    if (width < 0 || height < 0) throw std::invalid_argument("Invalid property value");
    w->setGeometry(tw::ToPixelsX(left), tw::ToPixelsY(top), tw::ToPixelsX(width), tw::ToPixelsY(height));
}

void Fill(QWidget* w, const QColor& colour) {
    w->setAutoFillBackground(true);
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    w->setPalette(p);
}

QFont BannerFont(bool bold) {
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(8.25);
    font.setBold(bold);
    return font;
}

}  // namespace

ListScreen::RedrawSuspended::RedrawSuspended(QWidget* screen)
    : m_screen(screen), m_wasEnabled(screen->updatesEnabled()) {
    m_screen->setUpdatesEnabled(false);
}

ListScreen::RedrawSuspended::~RedrawSuspended() {
    m_screen->setUpdatesEnabled(m_wasEnabled);
}

ListScreen::ListScreen(const QString& formName, const QString& caption, const QColor& screenColour,
                       const QColor& stripeColour, const QList<Column>& columns, QWidget* parent)
    : QWidget(parent), m_screenColour(screenColour) {
    setObjectName(formName);
    setWindowTitle(caption);
    resize(tw::ToPixelsX(kDesignWidth), tw::ToPixelsY(kDesignHeight));

    picGrdClr = new QWidget(this);
    picGrdClr->setObjectName(QStringLiteral("picGrdClr"));
    Fill(picGrdClr, stripeColour);
    picGrdClr->hide();

    picBanner = new QWidget(this);
    picBanner->setObjectName(QStringLiteral("picBanner"));
    Fill(picBanner, screenColour);
    Place(picBanner, 0, 0, kDesignWidth, kBannerHeight);

    // The frame first, so that the list is drawn over it.
    shpResult = new QFrame(this);
    shpResult->setObjectName(QStringLiteral("shpResult"));
    shpResult->setFrameShape(QFrame::Box);
    shpResult->setFrameShadow(QFrame::Plain);
    shpResult->setLineWidth(1);

    lvResult = new ui::ListView(this);
    lvResult->setObjectName(QStringLiteral("lvResult"));
    for (const Column& column : columns) {
        lvResult->addColumn(column.header, 0);
        m_fractions << column.fraction;
    }
    const auto click = [this](Qt::MouseButton button) {
        if (button == Qt::LeftButton) lvResult_Click();
    };
    connect(lvResult, &ui::ListView::rowClicked, this,
            [click](int, Qt::MouseButton button) { click(button); });
    connect(lvResult, &ui::ListView::emptyAreaClicked, this, click);

    Form_Resize();
}

ListScreen::~ListScreen() = default;

QLabel* ListScreen::AddBannerText(const QString& name, const QString& text, double left, double width,
                                  bool title) {
    auto* label = new QLabel(text, picBanner);
    label->setObjectName(name);
    label->setFont(BannerFont(title));
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(p);
    Place(label, left, 105, width, 255);
    return label;
}

QLabel* ListScreen::AddBannerIcon(const QString& name, const QIcon& icon, double left) {
    auto* image = new QLabel(picBanner);
    image->setObjectName(name);
    image->setPixmap(icon.pixmap(tw::ToPixelsX(240), tw::ToPixelsY(240)));
    Place(image, left, 105, 240, 240);
    return image;
}

QComboBox* ListScreen::AddBannerList(const QString& name, double left, double width) {
    auto* box = new QComboBox(picBanner);
    box->setEditable(false);
    ui::MakeDropDownList(box);
    PaintBannerBox(box, name, left, width);
    box->setFont(BannerFont(false));
    return box;
}

ui::ComboBox* ListScreen::AddBannerCombo(const QString& name, double left, double width, bool editable) {
    auto* box = new ui::ComboBox(editable ? ui::ComboBox::DropDownCombo : ui::ComboBox::DropDownList, picBanner);
    PaintBannerBox(box, name, left, width);
    QFont font = BannerFont(true);
    font.setPointSizeF(9);
    box->setFont(font);
    return box;
}

void ListScreen::PaintBannerBox(QComboBox* box, const QString& name, double left, double width) {
    box->setObjectName(name);
    QPalette p = box->palette();
    for (const QPalette::ColorRole role : {QPalette::Button, QPalette::Base, QPalette::Window})
        p.setColor(role, m_screenColour);
    for (const QPalette::ColorRole role : {QPalette::ButtonText, QPalette::Text, QPalette::WindowText})
        p.setColor(role, Qt::white);
    box->setPalette(p);
    Place(box, left, 75, width, 315);
}

QLabel* ListScreen::AddSaveAsLink(double left, double width) {
    lblSaveAs = AddBannerText(QStringLiteral("lblSaveAs"), QStringLiteral("Save File As ..."), left, width);
    QFont underline = lblSaveAs->font();
    underline.setUnderline(true);
    lblSaveAs->setFont(underline);
    lblSaveAs->setCursor(Qt::PointingHandCursor);
    lblSaveAs->installEventFilter(this);
    return lblSaveAs;
}

bool ListScreen::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblSaveAs && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && lblSaveAs->rect().contains(mouse->position().toPoint()))
            lblSaveAs_Click();
    }
    return QWidget::eventFilter(watched, event);
}

void ListScreen::ShowScreenColour() {
    if (MainWindowLink* window = MainWindow()) window->SetStatusColor(m_screenColour);
}

void ListScreen::ApplyGridLines() {
    lvResult->setGridLines(g_blnGridLines);
}

void ListScreen::Stripe() {
    if (g_blnAltColors) modGeneral::AltLVBackground(*lvResult, picGrdClr, 0, -1);
}

void ListScreen::ShowFound(int count) {
    modGeneral::SetStatus(QStringLiteral("Found: ") + QString::number(count) + QStringLiteral(" Records"));
}

void ListScreen::OpenSelectedRow(const QString& procName, const QString& action,
                                 const std::function<void(int32_t)>& open, Tail tail) {
    const int row = lvResult->selectedRow();
    if (modGeneral::NothingSelected(row)) return;
    const QString key = lvResult->key(row);
    trap(procName, tail, action, [&] { open(modGeneral::KeyRecordNumber(key)); });
}

void ListScreen::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void ListScreen::SetColumnWidths(double listWidth) {
    const int last = static_cast<int>(m_fractions.size()) - 1;
    for (int c = 0; c <= last; ++c) {
        const double width = m_fractions[c] * listWidth - (c == last ? kScrollBarRoom : 0);
        if (width < 0) throw std::invalid_argument("Invalid property value");
        lvResult->setColumnWidthTwips(c, width);
    }
}

void ListScreen::Form_Resize() {
    // A minimised screen keeps its layout until it is restored.
    if (isMinimized()) return;
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()); frame && frame->isMinimized()) return;

    const RedrawSuspended once(this);
    const double width = tw::FromPixelsX(this->width());
    const double height = tw::FromPixelsY(this->height());
    // Each step on its own: a window too small for one leaves the others to run.
    const std::function<void()> steps[] = {
        [&] { Place(picBanner, 0, 0, width, kBannerHeight); },
        [&] { Place(lvResult, kListLeft, kListTop, width - 30, height - 495); },
        [&] { SetColumnWidths(tw::FromPixelsX(lvResult->width())); },
        [&] {
            const QRect r = lvResult->geometry();
            Place(shpResult, tw::FromPixelsX(r.x()) - 15, tw::FromPixelsY(r.y()) - 15,
                  tw::FromPixelsX(r.width()) + 30, tw::FromPixelsY(r.height()) + 30);
        },
    };
    for (const auto& step : steps) {
        try {
            step();
        } catch (...) {
        }
    }
}

}  // namespace core
