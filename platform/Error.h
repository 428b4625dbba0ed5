#pragma once

#include <QString>
#include <stdexcept>

namespace platform {

// An error with a number and a description, as the error log records it. Every error the
// platform layer raises derives from it, so the program's one error trap needs one catch.
class Error : public std::runtime_error {
public:
    Error(int number, const QString& description)
        : std::runtime_error(description.toStdString()), m_number(number), m_description(description) {}

    int number() const { return m_number; }
    const QString& description() const { return m_description; }

private:
    int m_number;
    QString m_description;
};

}  // namespace platform
