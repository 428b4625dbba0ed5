#include "platform/ui/ScreenRegistry.h"

#include <stdexcept>

#include <QDialog>
#include <QMdiSubWindow>
#include <QPointer>

namespace ui {

namespace {

int g_raisingByProgram = 0;
constexpr char kRaisedByProgram[] = "raisedByProgram";

}  // namespace

RaisedByProgram::RaisedByProgram() {
    ++g_raisingByProgram;
}

RaisedByProgram::~RaisedByProgram() {
    --g_raisingByProgram;
}

bool RaisedByProgram::Marks(const QWidget* window) {
    return window && window->property(kRaisedByProgram).toBool();
}

ScreenRegistry& ScreenRegistry::instance() {
    static ScreenRegistry registry;
    return registry;
}

void ScreenRegistry::add(QWidget* form) {
    if (!form || m_forms.contains(form)) return;
    m_forms.append(form);
    // No context object: the connection must fire from the form's own destructor.
    QObject::connect(form, &QObject::destroyed, [this, form] { m_forms.removeAll(form); });
}

QList<QWidget*> ScreenRegistry::openForms() const {
    return m_forms;
}

QWidget* ScreenRegistry::find(const QString& objectName) const {
    for (QWidget* w : m_forms) {
        if (w->objectName() == objectName) return w;
    }
    return nullptr;
}

void ScreenRegistry::closeAll(bool keepUnsaved) {
    QList<QPointer<QWidget>> forms;
    for (QWidget* w : m_forms) forms.append(w);

    for (qsizetype i = forms.size() - 1; i >= 0; --i) {
        const QPointer<QWidget> form = forms.at(i);
        if (!form) continue;  // taken along by a form closed before it
        if (const auto* held = dynamic_cast<const HoldsUnsavedInput*>(form.data());
            keepUnsaved && held && held->HasUnsavedInput())
            continue;
        try {
            // A screen closes through its MDI frame, which asks the screen first; a dialog's close
            // box rejects it (and ends its exec loop when modal).
            QWidget* target = form.data();
            if (qobject_cast<QMdiSubWindow*>(form) == nullptr) {
                if (auto* frame = qobject_cast<QMdiSubWindow*>(form->parentWidget())) target = frame;
            }
            const bool closed = target->close();
            // Forms closed here are gone for the program even while their deletion is still queued;
            // one that refused stays listed.
            if (closed && form) m_forms.removeAll(form.data());
        } catch (...) {
            // A form that fails to close stays; the others still close.
        }
    }
}

void ScreenRegistry::registerScreen(const QString& name, Opener opener) {
    for (auto& entry : m_openers) {
        if (entry.first == name) {
            entry.second = std::move(opener);
            return;
        }
    }
    m_openers.append({name, std::move(opener)});
}

bool ScreenRegistry::hasScreen(const QString& name) const {
    for (const auto& entry : m_openers) {
        if (entry.first == name) return true;
    }
    return false;
}

QWidget* ScreenRegistry::shownDialog(const QString& name) const {
    for (QWidget* w : m_forms) {
        if (w->objectName() == name && qobject_cast<QDialog*>(w) && w->isVisible()) return w;
    }
    return nullptr;
}

QWidget* ScreenRegistry::open(const QString& name, const OpenValues& values) {
    for (const auto& entry : m_openers) {
        if (entry.first != name) continue;
        if (QWidget* shown = shownDialog(name)) {
            auto* reopened = dynamic_cast<TakesReopening*>(shown);
            if (!reopened || !reopened->ClosedForReopening(values)) {
                shown->raise();
                shown->activateWindow();
                if (reopened) reopened->OpenedWhileShown(values);
                return shown;
            }
            // Gone for the program while its deletion is still queued, as closeAll's.
            m_forms.removeAll(shown);
        }
        QWidget* form = entry.second ? entry.second(values) : nullptr;
        if (form && g_raisingByProgram > 0) form->setProperty(kRaisedByProgram, true);
        add(form);
        return form;
    }
    return nullptr;
}

void ScreenRegistry::setScreenHost(ScreenHost host) {
    m_host = std::move(host);
}

void ScreenRegistry::showScreen(QWidget* screen) {
    if (!screen) return;
    if (m_host) {
        m_host(screen);
    } else {
        screen->setAttribute(Qt::WA_DeleteOnClose);
        screen->showMaximized();
    }
    add(screen);
}

QWidget* ScreenRegistry::openRequired(const QString& name, const OpenValues& values) {
    if (!hasScreen(name)) {
        throw std::runtime_error(QStringLiteral("The form %1 is not available.").arg(name).toStdString());
    }
    return open(name, values);
}

}  // namespace ui
