#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

class QTimer;
class QWindow;

namespace tray {

// The window that carries the application's taskbar button: the main window.
// Its minimise notification is a handler others may replace, as the tray
// icon does while it takes the application off the taskbar on minimise.
class ApplicationWindow : public QObject {
    Q_OBJECT
public:
    using MinimizeHandler = std::function<void(QObject* sender)>;

    // The one belonging to window's top-level window, made on first use.
    static ApplicationWindow& of(QWidget* window);

    QWidget* window() const { return m_window; }
    QIcon icon() const;

    // Called after the window has been minimised, sender the window.
    MinimizeHandler onMinimize;

    void show();
    // True while show() or restore() shows the window: bringing it back is
    // no new showing of the window.
    bool bringingBack() const { return m_bringingBack; }
    // Undoes a minimise and brings the window to the front with the focus.
    void restore();
    // Takes the window and its taskbar button away.
    void hide();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit ApplicationWindow(QWidget* window);
    // Hides on a minimise, unless it is the stale state of a window just
    // brought back, which is then undone.
    void settleMinimise(bool justBack);
    void stopAwaitingExposure();

    QPointer<QWidget> m_window;
    bool m_minimised = false;
    bool m_bringingBack = false;
    QElapsedTimer m_broughtBack;
    bool m_minimiseAsked = false;  // since the window was last brought back
    static constexpr int kEchoMilliseconds = 1000;
    // Shown again, the window waiting to be told it is on the screen.
    QPointer<QWindow> m_awaited;
    QTimer* m_exposureWait = nullptr;
    static constexpr int kExposureWaitMilliseconds = 500;
};

}  // namespace tray
