#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

namespace ui {

// An event a filter took, handed on to its receiver by that filter itself. The filter sees the event
// again on its way; while sending() it lets it through.
class Resend {
public:
    void send(QObject* receiver, QEvent* event) {
        const bool outer = m_sending;
        m_sending = true;
        QCoreApplication::sendEvent(receiver, event);
        m_sending = outer;
    }
    bool sending() const { return m_sending; }

private:
    bool m_sending = false;
};

}  // namespace ui
