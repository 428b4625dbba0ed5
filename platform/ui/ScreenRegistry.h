#pragma once

#include <QList>
#include <QString>
#include <QVariantMap>
#include <QWidget>
#include <concepts>
#include <functional>

namespace ui {

// What an opener hands the form it opens, by member name ("m_strAddrType" → "Home"): the form takes
// them before it loads, never as properties set after it has opened.
using OpenValues = QVariantMap;

// A dialog that may hold input the user has not saved yet: a screen switch leaves it open.
class HoldsUnsavedInput {
public:
    virtual bool HasUnsavedInput() const = 0;

protected:
    ~HoldsUnsavedInput() = default;
};

// A dialog that an opening finds on screen. First asked whether it gives way: one that holds nothing
// the user typed closes itself, and the opening makes a new one for what was asked. One that does not
// comes forward unchanged and is then told what was asked of it, so that it can say why the user does
// not get it.
class TakesReopening {
public:
    virtual bool ClosedForReopening(const OpenValues& values) = 0;
    virtual void OpenedWhileShown(const OpenValues& values) = 0;

protected:
    ~TakesReopening() = default;
};

// While one of these lives, the forms that ScreenRegistry::open makes are marked as raised by the
// program itself, with no command of the user (the reminder pop-up, and the item it opens as it
// closes). An editor whose box the focus leaves for such a window writes nothing and ends no visit.
class RaisedByProgram {
public:
    RaisedByProgram();
    ~RaisedByProgram();
    RaisedByProgram(const RaisedByProgram&) = delete;
    RaisedByProgram& operator=(const RaisedByProgram&) = delete;

    static bool Marks(const QWidget* window);
};

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
    // before it returns. A form that refuses to close stays; errors are ignored. With `keepUnsaved` a
    // dialog holding unsaved input stays too.
    void closeAll(bool keepUnsaved = false);

    // How a form is made, loaded and shown: from the values its opener hands over, or, for a form
    // that takes none, from nothing. An empty opener ({}) unregisters the name.
    class Opener {
    public:
        Opener() = default;
        template <class F>
            requires std::invocable<F&, const OpenValues&>
        Opener(F make) : m_make(std::move(make)) {}
        template <class F>
            requires(std::invocable<F&> && !std::invocable<F&, const OpenValues&>)
        Opener(F make) : m_make([make = std::move(make)](const OpenValues&) mutable -> QWidget* { return make(); }) {}
        explicit operator bool() const { return static_cast<bool>(m_make); }
        QWidget* operator()(const OpenValues& values) const { return m_make(values); }

    private:
        std::function<QWidget*(const OpenValues&)> m_make;
    };

    // Screens and dialogs opened by name: the main window registers how each is made and shown.
    void registerScreen(const QString& name, Opener opener);
    bool hasScreen(const QString& name) const;
    // Opens the form `name` with `values`. There is one dialog of each kind at a time: while the
    // dialog `name` is on screen it is brought forward unchanged, unless it TakesReopening and gives
    // way. nullptr when no such form is registered.
    QWidget* open(const QString& name, const OpenValues& values = {});
    // The same for a command that needs the form: a name nobody registered raises an error.
    QWidget* openRequired(const QString& name, const OpenValues& values = {});

    // Where screens are shown: the main window sets a host that puts a screen maximised into its MDI
    // area. Screens outside the shell show themselves through showScreen, which also lists them;
    // without a host (no main window) a screen shows maximised as a window of its own.
    using ScreenHost = std::function<void(QWidget*)>;
    void setScreenHost(ScreenHost host);
    void showScreen(QWidget* screen);

private:
    ScreenRegistry() = default;
    // The dialog `name` while it is on screen (one that was closed and only waits to be released does
    // not count); nullptr otherwise.
    QWidget* shownDialog(const QString& name) const;

    QList<QWidget*> m_forms;
    QList<QPair<QString, Opener>> m_openers;
    ScreenHost m_host;
};

}  // namespace ui
