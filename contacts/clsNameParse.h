#pragma once

#include <QString>
#include <QStringList>
#include <span>

#include "platform/regexp/RegExp.h"

// Splits a personal name typed into one box — "Dr. Anna Maria Berg Jr." or "Berg, Anna Maria, Director"
// — into prefix, first, middle and last name, suffix and title.
//
// Make a new parser for each name, call ParseName once and read the parts; a name that fits no shape
// sets HasError and ErrorMessage ("Unable To Parse"). A parse does not clear what an earlier one on
// the same object found (Clear does). The parser touches no table and shows nothing; an unexpected
// error inside it is only logged.
class clsNameParse {
public:
    clsNameParse();

    void ParseName(QString Name);
    void Clear();

    QString Prefix() const { return m_strPrefix; }
    void setPrefix(const QString& value) { m_strPrefix = value; }
    QString Suffix() const { return m_strSuffix; }
    void setSuffix(const QString& value) { m_strSuffix = value; }
    QString LastName() const { return m_strLastName; }
    void setLastName(const QString& value) { m_strLastName = value; }
    QString FirstName() const { return m_strFirstName; }
    void setFirstName(const QString& value) { m_strFirstName = value; }
    QString MiddleName() const { return m_strMiddleName; }
    // Also sets MiddleInitial: the first character of a middle name of two or more characters.
    void setMiddleName(const QString& value);
    QString MiddleInitial() const { return m_strMiddleInitial; }
    void setMiddleInitial(const QString& value) { m_strMiddleInitial = value; }
    QString Title() const { return m_strTitle; }
    void setTitle(const QString& value) { m_strTitle = value; }

    bool HasError() const { return m_blnHasError; }
    QString ErrorMessage() const { return m_strErrorMessage; }

private:
    QString fncExtractSuffix(const QString& text);
    QString fncExtractPrefix(const QString& text);
    QString fncExtractTitle(const QString& text);
    void subParseLastFirst(const QString& text);
    void subParseFirstMiddleLast(const QString& text);
    void subParseFirstLast(const QString& text);
    QString StripCommas(const QString& text) const;

    // For the first entry of `list` for which "<start><entry><end>" occurs in `text`: removes the
    // leftmost match from `text` and trims it, and gives the match trimmed in `found`.
    bool ExtractFirstOf(std::span<const char* const> list, const QString& start, const QString& end,
                        QString& text, QString& found);
    // The runs of non-white-space of `text`, left to right, each without its commas.
    QStringList Words(const QString& text);

    regexp::RegExp m_objRegEx;
    QString m_strPrefix;
    QString m_strSuffix;
    QString m_strLastName;
    QString m_strFirstName;
    QString m_strMiddleName;
    QString m_strMiddleInitial;
    QString m_strTitle;
    bool m_blnHasError = false;
    QString m_strErrorMessage;
};
