#include "tray/application_window.h"

#include <QApplication>
#include <QEvent>
#include <QScopedValueRollback>

using namespace Qt::Literals::StringLiterals;

ApplicationWindow& ApplicationWindow::of(QWidget* window)
{
    QWidget* top = window->window();
    if (auto* existing =
            top->findChild<ApplicationWindow*>(u"ApplicationWindow"_s, Qt::FindDirectChildrenOnly))
        return *existing;
    return *new ApplicationWindow(top);
}

ApplicationWindow::ApplicationWindow(QWidget* window) : QObject(window), m_window(window)
{
    setObjectName(u"ApplicationWindow"_s);
    window->installEventFilter(this);
}

QIcon ApplicationWindow::icon() const
{
    const QIcon own = m_window ? m_window->windowIcon() : QIcon();
    return own.isNull() ? QApplication::windowIcon() : own;
}

void ApplicationWindow::show()
{
    if (!m_window) return;
    const QScopedValueRollback bringingBack(m_bringingBack, true);
    m_window->show();
}

void ApplicationWindow::restore()
{
    if (!m_window) return;
    const QScopedValueRollback bringingBack(m_bringingBack, true);
    m_window->show();
    if (m_window->isMinimized())
        m_window->setWindowState((m_window->windowState() & ~Qt::WindowMinimized) |
                                 Qt::WindowActive);
    m_window->raise();
    m_window->activateWindow();
}

void ApplicationWindow::hide()
{
    if (!m_window) return;
    m_window->hide();
    // Hidden, the window need not stay minimised; on X11 a window that is
    // shown again while its native side still holds the minimise would be
    // reported minimised once more and go straight back into hiding.
    m_window->setWindowState(m_window->windowState() & ~Qt::WindowMinimized);
}

bool ApplicationWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window && event->type() == QEvent::WindowStateChange) {
        // One notification per minimise, however many state changes the
        // window system reports on the way.
        const bool minimised = m_window->windowState() & Qt::WindowMinimized;
        if (minimised && !m_minimised) {
            // After the window system has finished minimising: a handler
            // that hides the window must not do so inside the state change.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    if (m_window && (m_window->windowState() & Qt::WindowMinimized) && onMinimize)
                        onMinimize(m_window);
                },
                Qt::QueuedConnection);
        }
        m_minimised = minimised;
    }
    return QObject::eventFilter(watched, event);
}
