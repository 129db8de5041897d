#include "tray/application_window.h"

#include <QApplication>
#include <QEvent>
#include <QScopedValueRollback>
#include <QTimer>
#include <QWindow>

using namespace Qt::Literals::StringLiterals;

namespace tray {

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
    m_broughtBack.start();
    m_minimiseAsked = false;
}

void ApplicationWindow::restore()
{
    if (!m_window) return;
    const QScopedValueRollback bringingBack(m_bringingBack, true);
    if (m_window->isMinimized())
        m_window->setWindowState((m_window->windowState() & ~Qt::WindowMinimized) |
                                 Qt::WindowActive);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    m_broughtBack.start();
    m_minimiseAsked = false;
}

void ApplicationWindow::hide()
{
    if (!m_window) return;
    m_window->hide();
}

bool ApplicationWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window && event->type() == QEvent::WindowStateChange) {
        // One notification per minimise, however many state changes the
        // window system reports on the way.
        const bool minimised = m_window->windowState() & Qt::WindowMinimized;
        if (minimised && !m_minimised) {
            // A minimise the program asks for is never an echo.
            if (!event->spontaneous()) m_minimiseAsked = true;
            const bool justBack = event->spontaneous() && !m_minimiseAsked &&
                                  m_broughtBack.isValid() &&
                                  m_broughtBack.elapsed() < kEchoMilliseconds;
            // After the window system has finished minimising: a handler
            // that hides the window must not do so inside the state change.
            QMetaObject::invokeMethod(
                this, [this, justBack] { settleMinimise(justBack); }, Qt::QueuedConnection);
        }
        m_minimised = minimised;
    }
    if (watched == m_awaited && event->type() == QEvent::Expose && m_awaited->isExposed()) {
        stopAwaitingExposure();
        QMetaObject::invokeMethod(
            this, [this] { settleMinimise(true); }, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

void ApplicationWindow::settleMinimise(bool justBack)
{
    stopAwaitingExposure();
    if (!m_window || !(m_window->windowState() & Qt::WindowMinimized)) return;
    // Without a window manager, X11 reports a window shown again from
    // minimised as minimised once more while it is plainly on the screen:
    // the old state, no new minimise, and hiding on it would lose the
    // window.
    QWindow* native = m_window->windowHandle();
    if (justBack && native) {
        if (native->isExposed()) {
            m_window->setWindowState(m_window->windowState() & ~Qt::WindowMinimized);
            return;
        }
        // On a busy machine the window may learn it is on the screen only
        // after that state: a while for it to, and a real minimise after.
        if (!m_exposureWait) {
            m_exposureWait = new QTimer(this);
            m_exposureWait->setSingleShot(true);
            m_exposureWait->setInterval(kExposureWaitMilliseconds);
            connect(m_exposureWait, &QTimer::timeout, this, [this] { settleMinimise(false); });
        }
        m_awaited = native;
        native->installEventFilter(this);
        m_exposureWait->start();
        return;
    }
    if (onMinimize) onMinimize(m_window);
}

void ApplicationWindow::stopAwaitingExposure()
{
    if (m_exposureWait) m_exposureWait->stop();
    if (m_awaited) m_awaited->removeEventFilter(this);
    m_awaited = nullptr;
}

}  // namespace tray
