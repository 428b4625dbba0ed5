#include "platform/ui/PickList.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QCalendarWidget>
#include <QFocusEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QProxyStyle>
#include <QSignalBlocker>
#include <algorithm>
#include <iterator>
#include <numeric>
#include <utility>
#include <vector>

#include "platform/ui/MonthView.h"
#include "platform/ui/Resend.h"

namespace ui {

// Texts and item data in two vectors. A sorted model keeps its entries in alphabetical order
// (ignoring case; equal texts in the order added).
class PickModel : public QAbstractListModel {
public:
    explicit PickModel(bool sorted) : m_sorted(sorted) {}

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : size(); }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= size()) return {};
        switch (role) {
            case Qt::DisplayRole:
            case Qt::EditRole:
                return m_text[index.row()];
            case Qt::UserRole:
                return m_data[index.row()];
            default:
                return {};
        }
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        if (!index.isValid()) return Qt::NoItemFlags;
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    }

    int size() const { return static_cast<int>(m_text.size()); }
    bool sorted() const { return m_sorted; }
    bool valid(int i) const { return i >= 0 && i < size(); }
    QString text(int i) const { return valid(i) ? m_text[i] : QString(); }
    qint64 itemData(int i) const { return valid(i) ? m_data[i] : 0; }
    int newIndex() const { return m_newIndex; }

    void setItemData(int i, qint64 value) {
        if (!valid(i)) return;
        m_data[i] = value;
        Q_EMIT dataChanged(index(i), index(i), {Qt::UserRole});
    }

    int findData(qint64 value) const {
        const auto it = std::find(m_data.begin(), m_data.end(), value);
        return it == m_data.end() ? -1 : static_cast<int>(it - m_data.begin());
    }
    int findText(const QString& text) const {
        for (int i = 0; i < size(); ++i) {
            if (m_text[i].compare(text, Qt::CaseInsensitive) == 0) return i;
        }
        return -1;
    }

    // Returns where the entry went.
    int insertOne(const QString& text, qint64 value) {
        int at = size();
        if (m_sorted) {
            const auto it = std::upper_bound(m_text.begin(), m_text.end(), text, less);
            at = static_cast<int>(it - m_text.begin());
        }
        beginInsertRows({}, at, at);
        m_text.insert(m_text.begin() + at, text);
        m_data.insert(m_data.begin() + at, value);
        m_newIndex = at;
        endInsertRows();
        return at;
    }

    // Returns where each entry present before went (empty: nowhere else).
    std::vector<int> insertMany(const QVector<QPair<QString, qint64>>& items) {
        if (items.isEmpty()) return {};
        const int before = size();
        if (!m_sorted) {
            beginInsertRows({}, before, before + static_cast<int>(items.size()) - 1);
            append(items);
            m_newIndex = size() - 1;
            endInsertRows();
            return {};
        }
        beginResetModel();
        append(items);
        std::vector<int> perm(size());
        std::iota(perm.begin(), perm.end(), 0);
        std::stable_sort(perm.begin(), perm.end(),
                         [this](int a, int b) { return less(m_text[a], m_text[b]); });
        std::vector<QString> text;
        std::vector<qint64> data;
        text.reserve(perm.size());
        data.reserve(perm.size());
        std::vector<int> moved(perm.size());
        for (int i = 0; i < size(); ++i) {
            text.push_back(std::move(m_text[perm[i]]));
            data.push_back(m_data[perm[i]]);
            moved[perm[i]] = i;
        }
        m_text = std::move(text);
        m_data = std::move(data);
        m_newIndex = moved.back();
        endResetModel();
        moved.resize(before);
        return moved;
    }

    void remove(int i) {
        beginRemoveRows({}, i, i);
        m_text.erase(m_text.begin() + i);
        m_data.erase(m_data.begin() + i);
        if (m_newIndex == i) {
            m_newIndex = -1;
        } else if (m_newIndex > i) {
            --m_newIndex;
        }
        endRemoveRows();
    }

    void clear() {
        beginResetModel();
        m_text.clear();
        m_data.clear();
        m_newIndex = -1;
        endResetModel();
    }

private:
    static bool less(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; }

    void append(const QVector<QPair<QString, qint64>>& items) {
        m_text.reserve(m_text.size() + items.size());
        m_data.reserve(m_data.size() + items.size());
        for (const auto& [text, value] : items) {
            m_text.push_back(text);
            m_data.push_back(value);
        }
    }

    bool m_sorted;
    std::vector<QString> m_text;
    std::vector<qint64> m_data;
    int m_newIndex = -1;
};

// ---- PickList

int PickList::addItem(const QString& text, qint64 itemData) {
    const int selected = listIndex();
    modelChanging();
    const int at = m_pick->insertOne(text, itemData);
    modelChanged(selected >= at ? selected + 1 : selected);
    return at;
}

void PickList::addItems(const QVector<QPair<QString, qint64>>& items) {
    if (items.isEmpty()) return;
    const int selected = listIndex();
    modelChanging();
    const std::vector<int> moved = m_pick->insertMany(items);
    if (!moved.empty()) entriesMoved(moved);
    modelChanged(selected >= 0 && selected < static_cast<int>(moved.size()) ? moved[selected] : selected);
}

void PickList::removeItem(int index) {
    if (!m_pick->valid(index)) return;
    const int selected = listIndex();
    modelChanging();
    m_pick->remove(index);
    modelChanged(selected == index ? -1 : selected > index ? selected - 1 : selected);
}

void PickList::clear() {
    modelChanging();
    m_pick->clear();
    modelChanged(-1);
}

int PickList::count() const {
    return m_pick->size();
}
QString PickList::itemText(int index) const {
    return m_pick->text(index);
}
qint64 PickList::itemData(int index) const {
    return m_pick->itemData(index);
}
void PickList::setItemData(int index, qint64 itemData) {
    m_pick->setItemData(index, itemData);
}
int PickList::newIndex() const {
    return m_pick->newIndex();
}
int PickList::findData(qint64 itemData) const {
    return m_pick->findData(itemData);
}
int PickList::findText(const QString& text) const {
    return m_pick->findText(text);
}
bool PickList::sorted() const {
    return m_pick->sorted();
}

// ---- ComboBox

namespace {

// The list drops down below the box, as many entries as fit, instead of a pop-up measured to every
// entry (which takes half a second with 100,000 names).
class DropDownStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == QStyle::SH_ComboBox_Popup) return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QStyle* SharedDropDownStyle() {
    static QPointer<QStyle> style;
    if (!style) {
        style = new DropDownStyle(QApplication::style()->name());
        style->setParent(qApp);
    }
    return style;
}

}  // namespace

void MakeDropDownList(QComboBox* box) {
    box->setStyle(SharedDropDownStyle());
    // A list made under a style whose lists pop up over the box would keep that style's arrows at
    // its ends in place of a scroll bar.
    box->view()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

ComboBox::ComboBox(Style style, QWidget* parent, bool sorted)
    : QComboBox(parent), PickList(new PickModel(sorted)) {
    MakeDropDownList(this);
    pickModel()->setParent(this);
    setModel(pickModel());
    setEditable(style == DropDownCombo);
    // Typed text is never added to the list; sizing to the contents would measure every entry.
    setInsertPolicy(QComboBox::NoInsert);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    if (auto* list = qobject_cast<QListView*>(view())) list->setUniformItemSizes(true);
    setCurrentIndex(-1);
}

void ComboBox::setListIndex(int index) {
    setCurrentIndex(pickModel()->valid(index) ? index : -1);
}

// QComboBox selects the first entry by itself when entries arrive in an empty list, and forgets its
// entry on a model reset; the program's lists keep what was (not) selected, without signals.
void ComboBox::modelChanging() {
    m_previousEdit = isEditable() ? currentText() : QString();
    m_wasBlocked = blockSignals(true);
}

void ComboBox::modelChanged(int previousIndexNowAt) {
    if (currentIndex() != previousIndexNowAt) setCurrentIndex(previousIndexNowAt);
    if (isEditable() && previousIndexNowAt < 0 && currentText() != m_previousEdit)
        setEditText(m_previousEdit);
    blockSignals(m_wasBlocked);
}

void ComboBox::fillNow() {
    if (!m_fill) return;
    const std::function<void()> fill = std::move(m_fill);
    m_fill = nullptr;
    fill();
}

void ComboBox::showPopup() {
    fillNow();
    QComboBox::showPopup();
}

void ComboBox::focusInEvent(QFocusEvent* event) {
    // Not for the focus a screen gives its first control as it opens: that is not the user's doing.
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
        reason == Qt::ShortcutFocusReason)
        fillNow();
    QComboBox::focusInEvent(event);
}

void ComboBox::keyPressEvent(QKeyEvent* event) {
    fillNow();
    QComboBox::keyPressEvent(event);
}

void ComboBox::wheelEvent(QWheelEvent* event) {
    fillNow();
    QComboBox::wheelEvent(event);
}

// ---- ListBox

ListBox::ListBox(QWidget* parent, bool sorted) : QListView(parent), PickList(new PickModel(sorted)) {
    pickModel()->setParent(this);
    setModel(pickModel());
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_quiet && !m_multi) Q_EMIT listIndexChanged(listIndex());
    });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        if (!m_quiet && m_multi) Q_EMIT listIndexChanged(listIndex());
    });
}

int ListBox::listIndex() const {
    if (m_multi) {
        const QModelIndex current = selectionModel()->currentIndex();
        return current.isValid() ? current.row() : -1;
    }
    const QModelIndexList rows = selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ListBox::setListIndex(int index) {
    if (!pickModel()->valid(index)) {
        if (m_multi)
            selectionModel()->setCurrentIndex({}, QItemSelectionModel::NoUpdate);
        else
            selectionModel()->clear();
        return;
    }
    const QModelIndex at = model()->index(index, 0);
    selectionModel()->setCurrentIndex(
        at, m_multi ? QItemSelectionModel::NoUpdate : QItemSelectionModel::ClearAndSelect);
    scrollTo(at);
}

void ListBox::setMultiSelect(bool on) {
    if (on == m_multi) return;
    selectionModel()->clear();
    m_multi = on;
    setSelectionMode(on ? QAbstractItemView::MultiSelection : QAbstractItemView::SingleSelection);
}

bool ListBox::selected(int index) const {
    return pickModel()->valid(index) && selectionModel()->isSelected(model()->index(index, 0));
}

void ListBox::setSelected(int index, bool on) {
    if (!pickModel()->valid(index)) return;
    const QModelIndex at = model()->index(index, 0);
    if (m_multi) {
        selectionModel()->select(at, on ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
    } else if (on) {
        setListIndex(index);
    } else if (selected(index)) {
        selectionModel()->clear();
    }
}

int ListBox::selCount() const {
    return static_cast<int>(selectionModel()->selectedIndexes().size());
}

void ListBox::modelChanging() {
    m_quiet = true;
    m_selectedBefore.clear();
    if (!m_multi) return;
    for (const QModelIndex& index : selectionModel()->selectedIndexes())
        m_selectedBefore.push_back(index.row());
}

// A sorted bulk add rebuilds the model, which drops the selection; in multiple selection the
// selected entries are selected again where they went.
void ListBox::entriesMoved(const std::vector<int>& moved) {
    if (!m_multi || m_selectedBefore.empty()) return;
    QItemSelection again;
    for (const int row : m_selectedBefore) {
        if (row < 0 || row >= static_cast<int>(moved.size())) continue;
        const QModelIndex at = model()->index(moved[row], 0);
        again.select(at, at);
    }
    selectionModel()->select(again, QItemSelectionModel::Select);
}

void ListBox::modelChanged(int previousIndexNowAt) {
    if (listIndex() != previousIndexNowAt) setListIndex(previousIndexNowAt);
    m_selectedBefore.clear();
    m_quiet = false;
}

// ---- Drop-downs

namespace {

class DropDown : public QObject {
public:
    DropDown(QWidget* control, QWidget* box, const QList<QWidget*>& openers, std::function<void()> pick)
        : QObject(control), m_control(control), m_box(box), m_pick(std::move(pick)) {
        for (const QWidget* opener : openers) m_openers << opener;
        control->installEventFilter(this);
        // As a desktop calendar's, the day chosen goes along to the month shown (by its year or month
        // box, its arrows), so that Enter picks the day the view shows rather than one out of sight.
        if (auto* month = qobject_cast<QCalendarWidget*>(control)) {
            MakeMonthView(month);
            connect(month, &QCalendarWidget::currentPageChanged, this, [month](int year, int shown) {
                const QDate first(year, shown, 1);
                month->setSelectedDate(
                    first.addDays(qMin(month->selectedDate().day(), first.daysInMonth()) - 1));
            });
        }
    }
    ~DropDown() override { Closed(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_control) {
            if (event->type() == QEvent::Show) Opened();
            if (event->type() == QEvent::Hide) Closed();
            return false;
        }
        switch (event->type()) {
            case QEvent::ShortcutOverride:
            case QEvent::KeyPress:
                return !m_resend.sending() && Key(watched, static_cast<QKeyEvent*>(event));
            case QEvent::FocusOut:
                // A click is on its way, which has moved the focus (out of a month view whose days take
                // none while its year is typed); it has its say as it arrives.
                if (static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason)
                    m_focusMovedByClick = true;
                return false;
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
                // The click goes on to what was clicked.
                if (auto* target = qobject_cast<QWidget*>(watched);
                    target && !Inside(target) && !Opener(target))
                    m_control->hide();
                return false;
            case QEvent::WindowDeactivate:
                if (watched == m_control->window()) m_control->hide();
                return false;
            default:
                return false;
        }
    }

private:
    static QPointer<DropDown>& Open() {
        static QPointer<DropDown> open;
        return open;
    }

    void Opened() {
        if (Open() == this) return;
        if (Open()) Open()->m_control->hide();
        Open() = this;
        qApp->installEventFilter(this);
        m_focusWatch = connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
            if (std::exchange(m_focusMovedByClick, false)) return;
            if (now && now != m_box && !Inside(now) && !m_resend.sending()) m_control->hide();
        });
    }

    void Closed() {
        if (Open() != this) return;
        Open() = nullptr;
        qApp->removeEventFilter(this);
        disconnect(m_focusWatch);
    }

    // Inside the drop-down, its own pop-ups (a month view's month menu) included.
    bool Inside(const QWidget* w) const {
        for (; w; w = w->parentWidget())
            if (w == m_control) return true;
        return false;
    }

    // What takes the drop-down's keys: a month view's days, a list itself.
    QWidget* Main() const { return m_control->focusProxy() ? m_control->focusProxy() : m_control.data(); }

    bool OwnBox(const QWidget* w) const { return w && w != m_control && w != Main() && Inside(w); }

    // A pick list with no current entry: Enter has nothing to pick.
    bool NoEntry() const {
        const auto* list = dynamic_cast<const PickList*>(m_control.data());
        return list && list->listIndex() < 0;
    }

    bool Opener(const QWidget* w) const {
        for (; w; w = w->parentWidget())
            if (m_openers.contains(w)) return true;
        return false;
    }

    // Keys typed in the box or in the drop-down, while it is open; others' keys are theirs.
    bool Key(QObject* watched, QKeyEvent* key) {
        auto* receiver = qobject_cast<QWidget*>(watched);
        if (!receiver || (receiver != m_box && !Inside(receiver))) return false;
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
        const bool moving =
            std::find(std::begin(kMovingKeys), std::end(kMovingKeys), key->key()) != std::end(kMovingKeys);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const bool escape = key->key() == Qt::Key_Escape;
        if (!moving && !enter && !escape) return false;
        // Wanted as keys, not taken by a shortcut of the window.
        if (key->type() == QEvent::ShortcutOverride) {
            key->accept();
            return true;
        }
        // Enter in a box of the drop-down's own (a month view's year or month) is that box's.
        if (enter && OwnBox(receiver)) {
            m_resend.send(receiver, key);
            // The box may hide itself with the focus in it; the keys go back to the drop-down.
            if (m_control->isVisible() && !Inside(QApplication::focusWidget())) Main()->setFocus();
            return true;
        }
        if (moving) {
            // Typed in the drop-down itself, it moves by its own handling.
            if (receiver != m_box) return false;
            QKeyEvent moved(QEvent::KeyPress, key->key(), key->modifiers(), key->text());
            QCoreApplication::sendEvent(Main(), &moved);
        } else if (enter && !NoEntry()) {
            m_pick();
        } else {
            if (Inside(QApplication::focusWidget()) && m_box) m_box->setFocus();
            m_control->hide();
        }
        return true;
    }

    static constexpr int kMovingKeys[] = {Qt::Key_Up,   Qt::Key_Down,  Qt::Key_PageUp, Qt::Key_PageDown,
                                          Qt::Key_Left, Qt::Key_Right, Qt::Key_Home,   Qt::Key_End};

    QPointer<QWidget> m_control;
    QPointer<QWidget> m_box;
    QList<const QWidget*> m_openers;
    std::function<void()> m_pick;
    QMetaObject::Connection m_focusWatch;
    Resend m_resend;  // a key handed on to one of its own boxes
    bool m_focusMovedByClick = false;
};

}  // namespace

void MakeDropDown(QWidget* control, QWidget* box, const QList<QWidget*>& openers,
                  std::function<void()> pick) {
    new DropDown(control, box, openers, std::move(pick));
}

}  // namespace ui
