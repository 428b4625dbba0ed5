#pragma once

#include <QComboBox>
#include <QList>
#include <QListView>
#include <QPair>
#include <QString>
#include <QVector>
#include <functional>
#include <vector>

namespace ui {

class PickModel;

// A list of texts, each entry with its own number ("item data", e.g. the contact's ContID), as the
// pick lists of the program hold them. Filled by modGeneral::LoadAllNames/LoadAllProjects through
// this interface, whichever control stands behind it. Index -1 means "no entry".
class PickList {
public:
    virtual ~PickList() = default;

    // Adds one entry; in a sorted list it goes to its alphabetical place. Returns its index.
    int addItem(const QString& text, qint64 itemData = 0);
    // Adds many entries with one model signal (100,000 at once).
    void addItems(const QVector<QPair<QString, qint64>>& items);
    void removeItem(int index);
    void clear();

    int count() const;
    QString itemText(int index) const;  // "" out of range
    qint64 itemData(int index) const;   // 0 out of range
    void setItemData(int index, qint64 itemData);
    int newIndex() const;  // index of the entry added last (-1 when none)
    // The first entry with this number / this exact text ignoring case; -1 when none.
    int findData(qint64 itemData) const;
    int findText(const QString& text) const;

    // The selected entry.
    virtual int listIndex() const = 0;
    virtual void setListIndex(int index) = 0;
    // The selected entry's text; for an editable combo box the text in its edit box.
    virtual QString text() const = 0;

    bool sorted() const;

protected:
    explicit PickList(PickModel* model) : m_pick(model) {}
    // Around every change of the model: the control keeps the entry it had selected (now at
    // `previousIndexNowAt`, -1 when none or removed), without signalling a change.
    virtual void modelChanging() = 0;
    virtual void modelChanged(int previousIndexNowAt) = 0;
    // Between the two, after a sorted bulk add rebuilt the list: entry i present before is now at
    // moved[i].
    virtual void entriesMoved(const std::vector<int>& moved) { (void)moved; }
    PickModel* pickModel() const { return m_pick; }

private:
    PickModel* m_pick;
};

// Makes `box`'s list drop down below it, as many entries as fit and a scroll bar when it holds more,
// whatever the desktop's style does with combo boxes.
void MakeDropDownList(QComboBox* box);

// A combo box over a PickModel: a drop-down list (choose only) or an editable drop-down combo.
class ComboBox : public QComboBox, public PickList {
    Q_OBJECT

public:
    enum Style { DropDownCombo, DropDownList };

    explicit ComboBox(Style style = DropDownList, QWidget* parent = nullptr, bool sorted = false);
    explicit ComboBox(QWidget* parent) : ComboBox(DropDownList, parent) {}

    // The list's own versions, not QComboBox's (which would ask the model to insert or remove rows).
    using PickList::addItem;
    using PickList::addItems;
    using PickList::clear;
    using PickList::count;
    using PickList::findData;
    using PickList::findText;
    using PickList::itemData;
    using PickList::itemText;
    using PickList::removeItem;
    using PickList::setItemData;

    int listIndex() const override { return currentIndex(); }
    void setListIndex(int index) override;
    QString text() const override { return currentText(); }

    // A long list is read when the user first goes to it (a click or Tab into it, a key, the
    // drop-down, the wheel) rather than when its screen opens. `fill` runs once, before the event that needed
    // the entries.
    void fillOnFirstUse(std::function<void()> fill) { m_fill = std::move(fill); }
    bool waitingToFill() const { return bool(m_fill); }
    void showPopup() override;

protected:
    void modelChanging() override;
    void modelChanged(int previousIndexNowAt) override;
    void focusInEvent(QFocusEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fillNow();

    QString m_previousEdit;
    bool m_wasBlocked = false;
    std::function<void()> m_fill;
};

// A list box over a PickModel; optionally kept in alphabetical order. One entry selectable at a
// time, or in multiple selection each click selects or deselects an entry and any number may be
// selected; the list index is then the current entry (the one last clicked), selected or not.
class ListBox : public QListView, public PickList {
    Q_OBJECT

public:
    explicit ListBox(QWidget* parent = nullptr, bool sorted = false);

    int listIndex() const override;
    // In multiple selection this only moves the current entry; the selection stays.
    void setListIndex(int index) override;
    QString text() const override { return itemText(listIndex()); }

    // Switching clears the selection.
    void setMultiSelect(bool on);
    bool multiSelect() const { return m_multi; }
    // Whether an entry is selected (false out of range).
    bool selected(int index) const;
    void setSelected(int index, bool on);
    int selCount() const;

Q_SIGNALS:
    void listIndexChanged(int index);

protected:
    void modelChanging() override;
    void modelChanged(int previousIndexNowAt) override;
    void entriesMoved(const std::vector<int>& moved) override;

private:
    bool m_quiet = false;
    bool m_multi = false;
    std::vector<int> m_selectedBefore;  // across a model change, in multiple selection
};

// Makes `control` (a pick list under its box, a month view beside it), shown and hidden by its opener,
// one of the program's own drop-downs, which behave as the desktop's: while it is shown, Up, Down and
// the other moving keys typed in `box` or in it move in it, Enter does `pick` (what a click on an
// entry does), and Escape, a click anywhere but on it or on one of `openers` (which open and close it
// themselves), the focus going elsewhere or another window becoming active close it without
// picking. Opening one closes any other.
void MakeDropDown(QWidget* control, QWidget* box, const QList<QWidget*>& openers, std::function<void()> pick);

}  // namespace ui
