#pragma once

#include <QList>
#include <QString>
#include <QWidget>
#include <functional>

namespace ui {

// Every open screen (an MDI child of the main window) and dialog, in the order they were opened.
// Screens and dialogs add themselves when they open and drop out when they are destroyed. A screen
// finds another open screen or dialog here, never through a global pointer of its own.
class ScreenRegistry {
public:
    static ScreenRegistry& instance();

    void add(QWidget* form);
    QList<QWidget*> openForms() const;  // oldest first
    QWidget* find(const QString& objectName) const;
    template <class T>
    T* find() const {
        for (QWidget* w : m_forms) {
            if (auto* t = qobject_cast<T*>(w)) return t;
        }
        return nullptr;
    }

    // Closes every open screen and dialog, newest first; their close handlers run (and save)
    // before it returns. A form that refuses to close stays; errors are ignored.
    void closeAll();

    // Screens opened by name: the main window registers how each is made and shown.
    using Opener = std::function<QWidget*()>;
    void registerScreen(const QString& name, Opener opener);
    bool hasScreen(const QString& name) const;
    QWidget* open(const QString& name);  // nullptr when no such screen is registered
    // The same for a command that needs the form: a name nobody registered raises an error.
    QWidget* openRequired(const QString& name);

    // Where screens are shown: the main window sets a host that puts a screen maximised into its MDI
    // area. Screens outside the shell show themselves through showScreen, which also lists them;
    // without a host (no main window) a screen shows maximised as a window of its own.
    using ScreenHost = std::function<void(QWidget*)>;
    void setScreenHost(ScreenHost host);
    void showScreen(QWidget* screen);

private:
    ScreenRegistry() = default;
    QList<QWidget*> m_forms;
    QList<QPair<QString, Opener>> m_openers;
    ScreenHost m_host;
};

}  // namespace ui
