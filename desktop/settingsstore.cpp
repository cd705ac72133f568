#include "desktop/settingsstore.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace logo {

QString SettingsStore::defaultPath()
{
    const QByteArray env = qgetenv("LOGO_SETTINGS_FILE");
    if (!env.isEmpty())
        return QString::fromLocal8Bit(env);
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return base + QLatin1Char('/') + kApplicationName + QStringLiteral("/settings.ini");
}

SettingsStore::SettingsStore() : SettingsStore(defaultPath()) {}

SettingsStore::SettingsStore(const QString &iniPath)
    : m_settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{
}

SettingsStore::~SettingsStore()
{
    m_settings->sync();
}

QString SettingsStore::path() const
{
    return m_settings->fileName();
}

static QString fullKey(const QString &section, const QString &key)
{
    return section + QLatin1Char('/') + key;
}

QString SettingsStore::read(const QString &section, const QString &key, const QString &def) const
{
    const QVariant v = m_settings->value(fullKey(section, key));
    if (!v.isValid())
        return def;
    return v.toString();
}

int SettingsStore::readInt(const QString &section, const QString &key, int def) const
{
    bool ok = false;
    const int v = read(section, key).trimmed().toInt(&ok);
    return ok ? v : def;
}

bool SettingsStore::readBool(const QString &section, const QString &key, bool def) const
{
    const QString v = read(section, key).trimmed();
    if (v.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0 || v == QStringLiteral("1") ||
        v == QStringLiteral("-1"))
        return true;
    if (v.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0 || v == QStringLiteral("0"))
        return false;
    return def;
}

bool SettingsStore::contains(const QString &section, const QString &key) const
{
    return m_settings->contains(fullKey(section, key));
}

void SettingsStore::write(const QString &section, const QString &key, const QString &value)
{
    m_settings->setValue(fullKey(section, key), value);
    m_settings->sync();
}

void SettingsStore::writeInt(const QString &section, const QString &key, int value)
{
    write(section, key, QString::number(value));
}

void SettingsStore::writeBool(const QString &section, const QString &key, bool value)
{
    write(section, key, value ? QStringLiteral("True") : QStringLiteral("False"));
}

void SettingsStore::remove(const QString &section, const QString &key)
{
    m_settings->remove(fullKey(section, key));
    m_settings->sync();
}

void SettingsStore::sync()
{
    m_settings->sync();
}

QString SettingsStore::defaultPortDevice(int n)
{
    if (n <= 0)
        return {};
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(n);
#else
    return QStringLiteral("/dev/ttyS%1").arg(n - 1);
#endif
}

QString SettingsStore::portDevice(int n) const
{
    if (n <= 0)
        return {};
    const QString set = read(kSharedSection, QStringLiteral("Device%1").arg(n)).trimmed();
    return set.isEmpty() ? defaultPortDevice(n) : set;
}

} // namespace logo
