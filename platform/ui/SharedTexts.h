#pragma once

#include <QHash>
#include <QString>

namespace ui {

// The name of a record that many rows of a long list show (a contact's, a project's), read once and
// shared by every row that shows it: the rows hold one text per record rather than one per row.
//
//   ui::SharedTexts names;
//   lv.setSubItem(r, 1, names(contactId, [&] { return row.text(2); }));
class SharedTexts {
public:
    template <class Read>
    QString operator()(qint64 number, const Read& read) {
        auto it = m_texts.constFind(number);
        if (it == m_texts.cend()) it = m_texts.insert(number, read());
        return it.value();
    }

private:
    QHash<qint64, QString> m_texts;
};

}  // namespace ui
