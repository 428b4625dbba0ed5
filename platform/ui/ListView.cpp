#include "platform/ui/ListView.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionViewItem>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <numeric>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "platform/db/DbError.h"
#include "platform/ui/Twips.h"

namespace ui {
namespace {

constexpr int kErrIndexOutOfBounds = 35600;
constexpr int kErrKeyNotUnique = 35602;
constexpr int kLongList = 10000;  // rows

[[noreturn]] void outOfBounds() {
    throw db::DbError(kErrIndexOutOfBounds, QStringLiteral("Index out of bounds"));
}

// The row of each key of a list: open addressing over one flat array of (hash, row); whether a row
// holds the key sought is asked of the list's own key store. For 50,000 keys like "ID12345" a
// QHash<QString, int> took longer to fill than the rows took to read (long probe runs), and a node
// per key (std::unordered_map) took as long again to free.
class KeyIndex {
public:
    void clear() {
        m_slots = {};
        m_used = 0;
    }
    void reserve(size_t keys) {
        if (keys * 2 > m_slots.size()) grow(keys * 2);
    }

    // The row whose key hashes to `h` and for which `same(row)` holds, or -1.
    template <class Same>
    int find(uint32_t h, const Same& same) const {
        if (m_slots.empty()) return -1;
        for (size_t i = h & mask();; i = (i + 1) & mask()) {
            const Slot& s = m_slots[i];
            if (s.row < 0) return -1;
            if (s.hash == h && same(s.row)) return s.row;
        }
    }

    // Files `row` under `h`; false, and nothing filed, when a row for which `same` holds is there.
    template <class Same>
    bool insert(uint32_t h, int row, const Same& same) {
        if ((m_used + 1) * 2 > m_slots.size()) grow(m_slots.size() * 2);
        size_t i = h & mask();
        for (; m_slots[i].row >= 0; i = (i + 1) & mask()) {
            if (m_slots[i].hash == h && same(m_slots[i].row)) return false;
        }
        m_slots[i] = {h, row};
        ++m_used;
        return true;
    }

private:
    struct Slot {
        uint32_t hash = 0;
        int row = -1;  // -1: free
    };

    size_t mask() const { return m_slots.size() - 1; }

    void grow(size_t atLeast) {
        size_t size = 16;
        while (size < atLeast) size *= 2;
        std::vector<Slot> old(size);
        old.swap(m_slots);
        for (const Slot& s : old) {
            if (s.row < 0) continue;
            size_t i = s.hash & mask();
            while (m_slots[i].row >= 0) i = (i + 1) & mask();
            m_slots[i] = s;
        }
    }

    std::vector<Slot> m_slots;  // a power of two long, at most half used
    size_t m_used = 0;
};

// The rows' keys. Nearly every key is a short prefix and a record number ("ID12345"), kept as the
// prefix's place in a small table and the number: a list of 350,000 to-do items would otherwise hold
// 350,000 separate strings for its keys alone. Any other key is kept as its text.
class KeyStore {
public:
    struct Key {
        qint64 number = 0;  // the record number; for a key kept as text, its place in m_texts
        uint32_t kind = 0;  // 0: no key; kText: kept as text; else m_prefixes[kind - 1] + number
    };

    void clear() {
        m_keys = {};
        m_prefixes = {};
        m_texts = {};
    }
    void reserve(size_t rows) { m_keys.reserve(rows); }
    size_t size() const { return m_keys.size(); }
    const Key& at(int row) const { return m_keys[row]; }
    void push(const Key& key) { m_keys.push_back(key); }
    void erase(int row) { m_keys.erase(m_keys.begin() + row); }
    std::vector<Key>& keys() { return m_keys; }

    // The key as stored for `text`: a text key is compared by its text (Key{-1, kText}); none when
    // it is numbered under a prefix no row has, so that no row can have it.
    std::optional<Key> find(QStringView text) const {
        if (text.isEmpty()) return Key{};
        const Numbered n = split(text);
        if (!n.numbered) return Key{-1, kText};
        for (size_t p = 0; p < m_prefixes.size(); ++p) {
            if (m_prefixes[p] == n.prefix) return Key{n.number, uint32_t(p + 1)};
        }
        return std::nullopt;
    }
    // The same for a row's key, its prefix or text added to the store.
    Key add(QStringView text) {
        if (text.isEmpty()) return Key{};
        const Numbered n = split(text);
        if (n.numbered) {
            if (const std::optional<Key> known = find(text)) return *known;
            m_prefixes.push_back(n.prefix.toString());
            return Key{n.number, uint32_t(m_prefixes.size())};
        }
        m_texts.push_back(text.toString());
        return Key{qint64(m_texts.size() - 1), kText};
    }

    uint32_t hash(const Key& key, QStringView text) const {
        if (key.kind == kText)
            return static_cast<uint32_t>(
                std::hash<std::u16string_view>()({text.utf16(), size_t(text.size())}));
        uint64_t x = static_cast<uint64_t>(key.number) ^ (uint64_t(key.kind) << 56);
        x *= 0x9E3779B97F4A7C15ull;
        return static_cast<uint32_t>(x >> 32);
    }
    uint32_t hash(int row) const {
        const Key& key = m_keys[row];
        return hash(key, key.kind == kText ? QStringView(m_texts[key.number]) : QStringView());
    }

    // Whether the row holds the key `key` (encoded from `text`).
    bool same(int row, const Key& key, QStringView text) const {
        const Key& held = m_keys[row];
        if (held.kind != key.kind) return false;
        if (key.kind == kText) return m_texts[held.number] == text;
        return held.number == key.number;
    }

    QString text(int row) const {
        const Key& key = m_keys[row];
        if (key.kind == 0) return QString();
        if (key.kind == kText) return m_texts[key.number];
        return m_prefixes[key.kind - 1] + QString::number(key.number);
    }

private:
    static constexpr uint32_t kText = 0xFFFFFFFFu;

    // A prefix of anything but digits, then the record number as QString::number writes it (no
    // leading zero, at most 18 digits); anything else is kept as text, so each key has one form.
    struct Numbered {
        QStringView prefix;
        qint64 number = 0;
        bool numbered = false;
    };
    static Numbered split(QStringView text) {
        qsizetype i = 0;
        while (i < text.size() && !text[i].isDigit()) ++i;
        const QStringView digits = text.mid(i);
        Numbered n{text.left(i), 0,
                   !digits.isEmpty() && digits.size() <= 18 && (digits.size() == 1 || digits[0] != u'0')};
        for (qsizetype k = 0; n.numbered && k < digits.size(); ++k) {
            const char16_t c = digits[k].unicode();
            n.numbered = c >= u'0' && c <= u'9';
            n.number = n.number * 10 + (c - u'0');
        }
        return n;
    }

    std::vector<Key> m_keys;
    std::vector<QString> m_prefixes;
    std::vector<QString> m_texts;  // text keys, by their number; a removed row's stays until clear
};

// The texts of one column, row by row, packed into large blocks: a list of 350,000 to-do items holds
// over a million cells, and a QString each cost a heap block of its own (its header, the allocator's
// and the string object besides the characters), as well as a free of each on the list's clearing. A
// cell equal to the one above it shares its characters (lists sorted by date show runs of one day).
// A changed cell gets new room; what it held stays unused until the column is cleared.
class TextColumn {
public:
    size_t size() const { return m_spans.size(); }
    void clear() {
        m_spans = {};
        m_blocks = decltype(m_blocks)();
        m_used = kBlock;
    }
    void reserve(size_t rows) { m_spans.reserve(rows); }

    QStringView view(size_t row) const {
        if (row >= m_spans.size()) return {};
        const Span& s = m_spans[row];
        if (s.size == 0) return {};
        return QStringView(m_blocks[s.pos >> kBlockBits].get() + (s.pos & (kBlock - 1)), qsizetype(s.size));
    }
    QString text(size_t row) const {
        const QStringView v = view(row);
        return v.isEmpty() ? QString() : v.toString();
    }

    template <class Text>
    void push(Text text) {
        m_spans.push_back(store(text, m_spans.size()));
    }
    // Sets a row's text; rows between the last one and `row` are empty. An empty text past the end
    // makes no room.
    template <class Text>
    void set(size_t row, Text text) {
        if (row >= m_spans.size()) {
            if (text.isEmpty()) return;
            m_spans.resize(row + 1);
        }
        m_spans[row] = store(text, row);
    }
    void erase(size_t row) {
        if (row < m_spans.size()) m_spans.erase(m_spans.begin() + static_cast<std::ptrdiff_t>(row));
    }
    // Row i takes what row perm[i] held; rows past the column's end are empty.
    void permute(const std::vector<int>& perm) {
        if (m_spans.empty()) return;
        std::vector<Span> to(perm.size());
        for (size_t i = 0; i < perm.size(); ++i) {
            if (static_cast<size_t>(perm[i]) < m_spans.size()) to[i] = m_spans[perm[i]];
        }
        m_spans = std::move(to);
    }

private:
    struct Span {
        uint32_t pos = 0;  // block << kBlockBits | offset in it
        uint32_t size = 0;
    };
    static constexpr int kBlockBits = 16;
    static constexpr size_t kBlock = size_t(1) << kBlockBits;  // characters

    // Room for `text`, or the characters of the row above when it holds the same.
    Span store(QStringView text, size_t row) {
        if (text.isEmpty()) return {};
        if (row > 0 && row <= m_spans.size() && view(row - 1) == text) return m_spans[row - 1];
        const size_t n = static_cast<size_t>(text.size());
        std::copy(text.utf16(), text.utf16() + n, room(n));
        return take(n);
    }
    // The same for UTF-8 as SQLite hands it over, without a string of its own in between for the
    // plain ASCII texts nearly every cell holds.
    Span store(QUtf8StringView text, size_t row) {
        if (text.isEmpty()) return {};
        const size_t n = static_cast<size_t>(text.size());
        const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
        if (std::any_of(bytes, bytes + n, [](unsigned char c) { return c >= 0x80; }))
            return store(QStringView(QString::fromUtf8(text.data(), text.size())), row);
        char16_t* out = room(n);
        std::copy(bytes, bytes + n, out);
        if (row > 0 && row <= m_spans.size() && view(row - 1) == QStringView(out, qsizetype(n)))
            return m_spans[row - 1];
        return take(n);
    }

    // Where the next `n` characters go: the last block, or a new one when they do not fit. A text
    // longer than a block gets one of its own, and the next text a fresh one.
    char16_t* room(size_t n) {
        if (n > kBlock - m_used) {
            if ((m_blocks.size() >> (32 - kBlockBits)) != 0) throw std::length_error("list texts");
            m_blocks.push_back(std::make_unique<char16_t[]>(std::max(n, kBlock)));
            m_used = 0;
        }
        return m_blocks.back().get() + m_used;
    }
    // The `n` characters just written at room(n), kept.
    Span take(size_t n) {
        const Span s{static_cast<uint32_t>(((m_blocks.size() - 1) << kBlockBits) | m_used),
                     static_cast<uint32_t>(n)};
        m_used = n >= kBlock ? kBlock : m_used + n;
        return s;
    }

    std::vector<Span> m_spans;
    std::vector<std::unique_ptr<char16_t[]>> m_blocks;
    size_t m_used = kBlock;  // characters used of the last block; a full one: none yet
};

}  // namespace

QString RowKey(const char* prefix, qint64 number) {
    char16_t digits[20];
    int count = 0;
    // Unsigned, so that the smallest number has a magnitude too.
    quint64 rest = number < 0 ? 0 - static_cast<quint64>(number) : static_cast<quint64>(number);
    do {
        digits[count++] = static_cast<char16_t>(u'0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    const QLatin1String head(prefix);
    QString key(head.size() + (number < 0 ? 1 : 0) + count, Qt::Uninitialized);
    QChar* out = key.data();
    for (const char c : head) *out++ = QLatin1Char(c);
    if (number < 0) *out++ = u'-';
    while (count > 0) *out++ = digits[--count];
    return key;
}

// Rows in plain vectors, column by column: the row texts, each sub-item column (grown only as far
// as sub-items were set, so unset cells cost nothing), icons and keys. Rows added during an update
// are stored at once but reach the view ("published") in one insert when the update ends.
class ListModel : public QAbstractTableModel {
public:
    struct Column {
        QString text;
        Qt::Alignment align;
    };

    explicit ListModel(QObject* parent) : QAbstractTableModel(parent) {}
    ~ListModel() override {
        const bool longList = size() >= kLongList;
        // The rows go first, then the memory they leave: a long list's many small blocks lie freed
        // amid the heap, where the allocator would keep them, and the next long list would come on
        // top of them.
        m_text.clear();
        m_sub = std::vector<TextColumn>();
        m_keys.clear();
        m_keyRow.clear();
#ifdef __GLIBC__
        if (longList) malloc_trim(0);
#else
        Q_UNUSED(longList);
#endif
    }

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : m_published; }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
    }

    QVariant data(const QModelIndex& index, int role) const override {
        const int row = index.row();
        const int col = index.column();
        if (!index.isValid() || row >= size() || col >= columnCount()) return {};
        switch (role) {
            case Qt::DisplayRole:
                return cell(row, col);
            case Qt::DecorationRole:
                if (col == 0 && m_iconIndex[row] >= 0 && m_iconIndex[row] < m_icons.size()) {
                    return m_icons.at(m_iconIndex[row]);
                }
                return {};
            case Qt::TextAlignmentRole:
                return QVariant::fromValue(m_columns[col].align | Qt::AlignVCenter);
            default:
                return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
        if (role == Qt::DisplayRole) return m_columns[section].text;
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(m_columns[section].align | Qt::AlignVCenter);
        return {};
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        if (!index.isValid()) return Qt::NoItemFlags;
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    }

    int size() const { return static_cast<int>(m_text.size()); }

    QString cell(int row, int col) const { return column(col).text(static_cast<size_t>(row)); }
    QStringView cellView(int row, int col) const { return column(col).view(static_cast<size_t>(row)); }

    // Columns.
    int addColumn(const QString& text, Qt::Alignment align) {
        const int col = columnCount();
        beginInsertColumns({}, col, col);
        m_columns.push_back({text, align});
        if (col > 0) m_sub.emplace_back();
        endInsertColumns();
        return col;
    }
    void clearColumns() {
        beginResetModel();
        m_columns.clear();
        m_sub.clear();
        endResetModel();
    }
    QString columnText(int col) const { return m_columns[col].text; }

    // Rows.
    void clear() {
        beginResetModel();
        m_text.clear();
        for (auto& sub : m_sub) sub.clear();
        m_keys.clear();
        m_iconIndex.clear();
        m_keyRow.clear();
        m_published = 0;
        endResetModel();
    }

    template <class Text>
    int addRow(const QString& key, Text text, int icon) {
        const int row = size();
        const KeyStore::Key stored = m_keys.add(key);
        if (stored.kind != 0 && !m_keyRow.insert(m_keys.hash(stored, key), row,
                                                 [&](int r) { return m_keys.same(r, stored, key); })) {
            throw db::DbError(kErrKeyNotUnique, QStringLiteral("Key is not unique in collection"));
        }
        m_text.push(text);
        m_keys.push(stored);
        m_iconIndex.push_back(icon);
        if (m_updateDepth == 0) publish();
        return row;
    }

    // Room for `more` rows beyond those there are.
    void reserve(int more) {
        if (more <= 0) return;
        const size_t rows = m_text.size() + static_cast<size_t>(more);
        m_text.reserve(rows);
        m_keys.reserve(rows);
        m_iconIndex.reserve(rows);
        m_keyRow.reserve(rows);
    }

    void removeRow(int row) {
        const bool shown = row < m_published;
        if (shown) beginRemoveRows({}, row, row);
        m_text.erase(static_cast<size_t>(row));
        for (auto& sub : m_sub) sub.erase(static_cast<size_t>(row));
        m_keys.erase(row);
        m_iconIndex.erase(m_iconIndex.begin() + row);
        rebuildKeys();
        if (shown) {
            --m_published;
            endRemoveRows();
        }
    }

    template <class Text>
    void setCell(int row, int col, Text text) {
        if (col > 0 && row >= static_cast<int>(m_sub[col - 1].size()) && text.isEmpty()) return;
        (col == 0 ? m_text : m_sub[col - 1]).set(static_cast<size_t>(row), text);
        if (row < m_published) Q_EMIT dataChanged(index(row, col), index(row, col), {Qt::DisplayRole});
    }

    void setIconIndex(int row, int icon) {
        m_iconIndex[row] = icon;
        if (row < m_published) Q_EMIT dataChanged(index(row, 0), index(row, 0), {Qt::DecorationRole});
    }

    void setIcons(const QList<QIcon>& icons) {
        m_icons = icons;
        if (m_published > 0) Q_EMIT dataChanged(index(0, 0), index(m_published - 1, 0), {Qt::DecorationRole});
    }

    QString key(int row) const { return m_keys.text(row); }
    int findKey(const QString& key) const {
        if (key.isEmpty()) return -1;
        const std::optional<KeyStore::Key> sought = m_keys.find(key);
        if (!sought) return -1;
        return m_keyRow.find(m_keys.hash(*sought, key), [&](int r) { return m_keys.same(r, *sought, key); });
    }

    void beginUpdate() { ++m_updateDepth; }
    void endUpdate() {
        if (m_updateDepth > 0 && --m_updateDepth == 0) publish();
    }

    // Hands the rows stored so far to the view in one insert.
    void publish() {
        if (m_published >= size()) return;
        beginInsertRows({}, m_published, size() - 1);
        m_published = size();
        endInsertRows();
    }

    // Reorders the rows stably by one column; returns where each old row went.
    std::vector<int> sortRows(int col, Qt::SortOrder order) {
        const int n = size();
        std::vector<int> perm(n);
        std::iota(perm.begin(), perm.end(), 0);
        std::stable_sort(perm.begin(), perm.end(), [&](int a, int b) {
            const int c = cellView(a, col).compare(cellView(b, col), Qt::CaseInsensitive);
            return order == Qt::AscendingOrder ? c < 0 : c > 0;
        });
        beginResetModel();
        m_text.permute(perm);
        for (auto& sub : m_sub) sub.permute(perm);
        m_keys.keys() = permuted(m_keys.keys(), perm);
        m_iconIndex = permuted(m_iconIndex, perm);
        rebuildKeys();
        m_published = n;
        endResetModel();
        std::vector<int> newRow(n);
        for (int i = 0; i < n; ++i) newRow[perm[i]] = i;
        return newRow;
    }

private:
    template <class T>
    static std::vector<T> permuted(std::vector<T>& from, const std::vector<int>& perm) {
        std::vector<T> to;
        to.reserve(perm.size());
        for (int i : perm) to.push_back(std::move(from[i]));
        return to;
    }

    void rebuildKeys() {
        m_keyRow.clear();
        for (int i = 0; i < size(); ++i) {
            if (m_keys.at(i).kind != 0) m_keyRow.insert(m_keys.hash(i), i, [](int) { return false; });
        }
    }

    std::vector<Column> m_columns;
    const TextColumn& column(int col) const { return col == 0 ? m_text : m_sub[col - 1]; }

    TextColumn m_text;
    std::vector<TextColumn> m_sub;  // column 1.. at [0..]
    KeyStore m_keys;
    std::vector<int> m_iconIndex;
    KeyIndex m_keyRow;
    QList<QIcon> m_icons;
    int m_published = 0;
    int m_updateDepth = 0;
};

ListView::ListView(QWidget* parent) : QTreeView(parent), m_model(new ListModel(this)) {
    setModel(m_model);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setIconSize(QSize(16, 16));
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    header()->setSectionsClickable(true);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    connect(header(), &QHeaderView::sectionClicked, this, &ListView::columnClicked);
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) Q_EMIT rowDoubleClicked(index.row());
    });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { Q_EMIT selectedRowChanged(selectedRow()); });
}

ListView::~ListView() = default;

void ListView::checkRow(int row) const {
    if (row < 0 || row >= m_model->size()) outOfBounds();
}

// ---- columns

int ListView::addColumn(const QString& text, double widthTwips, Qt::Alignment align) {
    const int col = m_model->addColumn(text, align & Qt::AlignHorizontal_Mask);
    header()->resizeSection(col, twips::ToPixelsX(widthTwips));
    return col;
}

void ListView::clearColumns() {
    m_model->clearColumns();
}

int ListView::columnCount() const {
    return m_model->columnCount();
}

QString ListView::columnText(int column) const {
    if (column < 0 || column >= columnCount()) outOfBounds();
    return m_model->columnText(column);
}

double ListView::columnWidthTwips(int column) const {
    if (column < 0 || column >= columnCount()) outOfBounds();
    return twips::FromPixelsX(header()->sectionSize(column));
}

void ListView::setColumnWidthTwips(int column, double widthTwips) {
    if (column < 0 || column >= columnCount()) outOfBounds();
    header()->resizeSection(column, twips::ToPixelsX(widthTwips));
}

// ---- rows

void ListView::clear() {
    const bool hadSelection = selectedRow() >= 0;
    m_model->clear();
    if (hadSelection) Q_EMIT selectedRowChanged(-1);
}

int ListView::addRow(const QString& key, const QString& text, int iconIndex) {
    return m_model->addRow(key, QStringView(text), iconIndex);
}

int ListView::addRowUtf8(const QString& key, QUtf8StringView text, int iconIndex) {
    return m_model->addRow(key, text, iconIndex);
}

void ListView::removeRow(int row) {
    checkRow(row);
    m_model->removeRow(row);
}

void ListView::setSubItem(int row, int column, const QString& text) {
    checkRow(row);
    if (column < 0 || (column > 0 && column >= columnCount())) outOfBounds();
    m_model->setCell(row, column, QStringView(text));
}

void ListView::setSubItemUtf8(int row, int column, QUtf8StringView text) {
    checkRow(row);
    if (column < 0 || (column > 0 && column >= columnCount())) outOfBounds();
    m_model->setCell(row, column, text);
}

void ListView::setIcon(int row, int iconIndex) {
    checkRow(row);
    m_model->setIconIndex(row, iconIndex);
}

int ListView::rowCount() const {
    return m_model->size();
}

QString ListView::key(int row) const {
    checkRow(row);
    return m_model->key(row);
}

QString ListView::text(int row, int column) const {
    checkRow(row);
    if (column < 0 || (column > 0 && column >= columnCount())) outOfBounds();
    return m_model->cell(row, column);
}

int ListView::findKey(const QString& key) const {
    return m_model->findKey(key);
}

void ListView::beginUpdate(int expectedRows) {
    m_model->beginUpdate();
    m_model->reserve(expectedRows);
}
void ListView::endUpdate() {
    m_model->endUpdate();
}

// ---- selection

int ListView::selectedRow() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

QString ListView::selectedKey() const {
    const int row = selectedRow();
    return row < 0 ? QString() : m_model->key(row);
}

void ListView::setSelectedRow(int row) {
    if (row < 0) {
        selectionModel()->clearSelection();
        return;
    }
    checkRow(row);
    m_model->publish();
    const QModelIndex index = m_model->index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
}

bool ListView::setSelectedKey(const QString& key) {
    const int row = findKey(key);
    setSelectedRow(row);
    return row >= 0;
}

// ---- look

void ListView::setIcons(const QList<QIcon>& icons) {
    m_model->setIcons(icons);
}

void ListView::setGridLines(bool on) {
    if (m_gridLines == on) return;
    m_gridLines = on;
    viewport()->update();
}

void ListView::setStripe(const QColor& stripe, int flag) {
    m_stripe = stripe;
    m_stripeFlag = flag;
    viewport()->update();
}

void ListView::clearStripe() {
    m_stripe = QColor();
    m_stripeFlag = 0;
    viewport()->update();
}

void ListView::sortByColumn(int column, Qt::SortOrder order) {
    if (column < 0 || column >= std::max(1, columnCount())) outOfBounds();
    const int selected = selectedRow();
    const std::vector<int> newRow = m_model->sortRows(column, order);
    if (selected >= 0) setSelectedRow(newRow[selected]);
}

QRect ListView::rowRect(int row) const {
    checkRow(row);
    const QRect r = visualRect(m_model->index(row, 0));
    if (!r.isValid()) return {};
    return QRect(0, r.y(), viewport()->width(), r.height());
}

int ListView::rowHeight() const {
    if (m_model->rowCount() > 0) return sizeHintForRow(0);
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.features |= QStyleOptionViewItem::HasDisplay;
    option.text = QStringLiteral("X");
    return style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this).height();
}

void ListView::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                       const QModelIndex& index) const {
    const int y = option.rect.y();
    const int h = option.rect.height();
    const int w = viewport()->width();
    // The stripe lies under the row like a background: a selected row's highlight covers it.
    if (m_stripe.isValid() && h > 0) {
        const bool odd = index.row() % 2 == 1;
        if (m_stripeFlag == 0 && odd) {
            painter->fillRect(QRect(0, y, w, 1), m_stripe);
        } else if (m_stripeFlag != 0 && !odd && h > 1) {
            painter->fillRect(QRect(0, y, w, h - 1), m_stripe);
        }
    }
    QTreeView::drawRow(painter, option, index);
    const QHeaderView* head = header();
    if (m_gridLines && h > 0 && head->count() > 0) {
        const int last = head->count() - 1;
        const int right = head->sectionViewportPosition(last) + head->sectionSize(last);
        painter->save();
        painter->setPen(palette().color(QPalette::Mid));
        painter->drawLine(0, y + h - 1, right - 1, y + h - 1);
        for (int c = 0; c < head->count(); ++c) {
            const int x = head->sectionViewportPosition(c) + head->sectionSize(c) - 1;
            painter->drawLine(x, y, x, y + h - 1);
        }
        painter->restore();
    }
}

// ---- mouse

void ListView::mousePressEvent(QMouseEvent* event) {
    m_pressInside = true;
    QTreeView::mousePressEvent(event);
    // A click beside the rows deselects, so its handler finds nothing selected.
    if (!indexAt(event->position().toPoint()).isValid()) selectionModel()->clearSelection();
}

void ListView::mouseReleaseEvent(QMouseEvent* event) {
    QTreeView::mouseReleaseEvent(event);
    if (!m_pressInside) return;
    m_pressInside = false;
    const QModelIndex index = indexAt(event->position().toPoint());
    // Last: a handler may close the screen that holds this list.
    if (index.isValid()) {
        Q_EMIT rowClicked(index.row(), event->button());
    } else {
        Q_EMIT emptyAreaClicked(event->button());
    }
}

}  // namespace ui
