#include "virtual_display.h"

#include <QDeadlineTimer>
#include <QThread>

using namespace Qt::Literals::StringLiterals;

VirtualDisplay::VirtualDisplay()
{
    // -displayfd 1 makes the server choose a free display number and print
    // it on standard output once it accepts connections.
    m_server.setProcessChannelMode(QProcess::SeparateChannels);
    m_server.start(u"Xvfb"_s, {u"-displayfd"_s, u"1"_s, u"-screen"_s, u"0"_s, u"1280x800x24"_s,
                               u"-nolisten"_s, u"tcp"_s});
    if (!m_server.waitForStarted(10000)) {
        m_failure = u"cannot start Xvfb: "_s + m_server.errorString();
        return;
    }
    QByteArray output;
    const QDeadlineTimer deadline(30000);
    while (!output.contains('\n') && !deadline.hasExpired() &&
           m_server.state() == QProcess::Running) {
        m_server.waitForReadyRead(200);
        output += m_server.readAllStandardOutput();
    }
    const QByteArray number = output.trimmed();
    if (number.isEmpty()) {
        m_failure =
            u"Xvfb gave no display: "_s + QString::fromLocal8Bit(m_server.readAllStandardError());
        return;
    }
    m_name = u":"_s + QString::fromLatin1(number);
}

VirtualDisplay::~VirtualDisplay()
{
    if (m_server.state() == QProcess::NotRunning) return;
    m_server.terminate();
    if (!m_server.waitForFinished(5000)) {
        m_server.kill();
        m_server.waitForFinished(5000);
    }
}

QString pressKey(const QString& display, const QString& keysym)
{
    QProcess xdotool;
    if (!display.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"DISPLAY"_s, display);
        xdotool.setProcessEnvironment(environment);
    }
    xdotool.start(u"xdotool"_s, {u"key"_s, keysym});
    if (!xdotool.waitForStarted(10000)) return u"cannot start xdotool: "_s + xdotool.errorString();
    if (!xdotool.waitForFinished(10000)) return u"xdotool did not finish"_s;
    if (xdotool.exitStatus() != QProcess::NormalExit || xdotool.exitCode() != 0)
        return u"xdotool failed: "_s + QString::fromLocal8Bit(xdotool.readAllStandardError());
    return {};
}

bool eventually(const std::function<bool()>& condition)
{
    const QDeadlineTimer deadline(5000);
    while (!condition()) {
        if (deadline.hasExpired()) return false;
        QThread::msleep(10);
    }
    return true;
}
