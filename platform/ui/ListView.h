#pragma once

#include <QColor>
#include <QHash>
#include <QIcon>
#include <QList>
#include <QString>
#include <QTreeView>
#include <QUtf8StringView>

class QMouseEvent;

namespace ui {

class ListModel;

// A row key of a short prefix and a record number ("ID12", "NT5"), as prefix + QString::number
// would give it, built in one allocation: loaders make one per row, and QString::number goes the
// long way through the locale code.
QString RowKey(const char* prefix, qint64 number);

// The report-style list of the whole program: columns with widths in twips, rows with a text key
// ("ID12", "NT5"), sub-items, small icons, grid lines, row striping and single row selection.
// Rows live in a model of plain vectors, so a loader can add 100,000 rows at once:
//
//   ui::ListView::Batch batch(*lvNames);   // one model signal for all rows added in this scope
//   while (!rs.Eof()) { int r = lvNames->addRow("ID" + id, name); lvNames->setSubItem(r, 1, job); ... }
//
// Row and column numbers count from 0; column 0 is the row's own text, columns 1.. its sub-items.
// Errors (a duplicate key, a row or column out of range) are thrown as db::DbError with the numbers
// the callers' traps log: 35602 "Key is not unique in collection", 35600 "Index out of bounds".
class ListView : public QTreeView {
    Q_OBJECT

public:
    explicit ListView(QWidget* parent = nullptr);
    ~ListView() override;

    // Columns.
    int addColumn(const QString& text, double widthTwips, Qt::Alignment align = Qt::AlignLeft);
    void clearColumns();  // rows and their texts stay; their sub-items go
    int columnCount() const;
    QString columnText(int column) const;
    double columnWidthTwips(int column) const;
    void setColumnWidthTwips(int column, double widthTwips);

    // Rows. An empty key means "no key": such rows are never refused and never found by findKey.
    void clear();
    int addRow(const QString& key, const QString& text, int iconIndex = -1);
    void removeRow(int row);
    void setSubItem(int row, int column, const QString& text);  // column 0 sets the row's text
    // The same for texts in UTF-8 (as a streamed query row gives them), with no string made per cell.
    int addRowUtf8(const QString& key, QUtf8StringView text, int iconIndex = -1);
    void setSubItemUtf8(int row, int column, QUtf8StringView text);
    void setIcon(int row, int iconIndex);
    int rowCount() const;
    QString key(int row) const;
    QString text(int row, int column = 0) const;
    int findKey(const QString& key) const;  // -1 when no row has it

    // Bulk filling: rows added between beginUpdate() and endUpdate() reach the view as one insert.
    // Calls nest; prefer the Batch guard, which ends the update also when a loader throws. A loader
    // that knows how many rows it will add says so, and the rows' room is made once.
    void beginUpdate(int expectedRows = 0);
    void endUpdate();
    class Batch {
    public:
        explicit Batch(ListView& list, int expectedRows = 0) : m_list(list) {
            m_list.beginUpdate(expectedRows);
        }
        ~Batch() { m_list.endUpdate(); }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        ListView& m_list;
    };

    // Selection (one row at most).
    int selectedRow() const;                  // -1 when none
    QString selectedKey() const;              // "" when none
    void setSelectedRow(int row);             // -1 clears the selection
    bool setSelectedKey(const QString& key);  // false (and nothing selected) when no row has it

    // Small icons, indexed by addRow's iconIndex.
    void setIcons(const QList<QIcon>& icons);

    void setGridLines(bool on);
    bool gridLines() const { return m_gridLines; }

    // Row striping. flag 0: a one-pixel rule in `stripe` along the top of every second row (rows 1,
    // 3, 5, ...); flag non-zero: every first row of a pair (0, 2, 4, ...) filled but its last pixel
    // line. Painted per visible row, so the cost does not grow with the number of rows.
    void setStripe(const QColor& stripe, int flag);
    void clearStripe();
    bool hasStripe() const { return m_stripe.isValid(); }
    QColor stripeColor() const { return m_stripe; }
    int stripeFlag() const { return m_stripeFlag; }

    // Sorts the rows once by the text of a column, ignoring case; equal texts keep their order. The
    // selected row stays selected.
    void sortByColumn(int column, Qt::SortOrder order = Qt::AscendingOrder);

    // Where a row is drawn, in viewport coordinates (empty when it is scrolled out of reach).
    QRect rowRect(int row) const;
    // The height of one row as the list draws it: its first row's, or while it is empty a row of
    // text, so that a layout can leave room for a row before the rows come.
    int rowHeight() const;

Q_SIGNALS:
    // A mouse button released over a row / over the list's empty area (below or beside the rows).
    void rowClicked(int row, Qt::MouseButton button);
    void emptyAreaClicked(Qt::MouseButton button);
    void rowDoubleClicked(int row);
    // A column header was clicked (callers sort on it when they want to).
    void columnClicked(int column);
    // The selected row changed, by mouse, keyboard or code; -1 when none is selected.
    void selectedRowChanged(int row);

protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void checkRow(int row) const;

    ListModel* m_model;
    bool m_gridLines = false;
    QColor m_stripe;  // invalid: no striping
    int m_stripeFlag = 0;
    bool m_pressInside = false;
};

}  // namespace ui
