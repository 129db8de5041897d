#pragma once

#include <QProcess>
#include <QString>
#include <functional>

// A private Xvfb server for one test suite, so tests that need a real X
// display run in CI with no display and never touch the developer's own.
class VirtualDisplay {
public:
    VirtualDisplay();
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    bool isRunning() const { return !m_name.isEmpty(); }
    QString name() const { return m_name; }  // ":N"
    QString failure() const { return m_failure; }

private:
    QProcess m_server;
    QString m_name;
    QString m_failure;
};

// Presses and releases one key on `display` through xdotool (XTEST), as if
// another program or the user had done it; an empty `display` means the
// environment's DISPLAY. Returns xdotool's error text, empty on success.
QString pressKey(const QString& display, const QString& keysym);

// Polls `condition` until it holds or a few seconds have passed: another
// client's key press reaches the server on its own schedule.
bool eventually(const std::function<bool()>& condition);
