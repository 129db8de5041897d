#include "app/window_settings.h"

#include <QSettings>
#include <QStandardPaths>

using namespace Qt::Literals::StringLiterals;

WindowSettings::WindowSettings()
    : m_fileName(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                 u"/quillpost/quillpost.conf"_s)
{
}

bool WindowSettings::value(const char* key) const
{
    const QSettings settings(m_fileName, QSettings::IniFormat);
    // Only what the program itself writes turns an item on; QVariant would
    // take any other word for true.
    return settings.status() == QSettings::NoError &&
           settings.value(QLatin1StringView(key)).toString() == u"true"_s;
}

void WindowSettings::setValue(const char* key, bool on)
{
    QSettings settings(m_fileName, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) return;  // unreadable: not overwritten
    settings.setValue(QLatin1StringView(key), on);
    settings.sync();
}

QString WindowSettings::dictionary() const
{
    const QSettings settings(m_fileName, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) return {};
    return settings.value(QLatin1StringView(kDictionary)).toString();
}

void WindowSettings::setDictionary(const QString& name)
{
    QSettings settings(m_fileName, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) return;
    settings.setValue(QLatin1StringView(kDictionary), name);
    settings.sync();
}
