#include "app/window_settings.h"

#include <QSettings>
#include <QStandardPaths>

using namespace Qt::Literals::StringLiterals;

WindowSettings::WindowSettings()
    : m_fileName(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                 u"/quillpost/quillpost.conf"_s)
{
}

QString WindowSettings::text(const char* key) const
{
    const QSettings settings(m_fileName, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) return {};
    return settings.value(QLatin1StringView(key)).toString();
}

void WindowSettings::setText(const char* key, const QVariant& value)
{
    QSettings settings(m_fileName, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) return;  // unreadable: not overwritten
    settings.setValue(QLatin1StringView(key), value);
    settings.sync();
}

bool WindowSettings::value(const char* key) const
{
    // Only what the program itself writes turns an item on; QVariant would
    // take any other word for true.
    return text(key) == u"true"_s;
}
