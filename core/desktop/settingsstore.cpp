#include "desktop/settingsstore.h"

#include "desktop/inifile.h"
#include "desktop/safewrite.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <utility>

namespace logo {

QString SettingsStore::defaultPath()
{
    const QByteArray env = qgetenv("LOGO_SETTINGS_FILE");
    if (!env.isEmpty())
        return QString::fromLocal8Bit(env);
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return base + QLatin1Char('/') + kApplicationName + QStringLiteral("/settings.ini");
}

namespace {

// The file is a plain INI file a person can edit: "[Quillet Settings]", then
// "Key=value" lines, values as they are. Files written by earlier versions
// escaped the sections ("[Quillet%20Settings]") and some values; they are
// still read, and written back plain at the next change.

// A section header with a "%" escape ("%20"). Looked for by hand: this runs
// at every start, before the window, and a pattern would be compiled for it.
bool isLegacyHeader(const QString &line)
{
    if (!line.startsWith(QLatin1Char('[')))
        return false;
    const auto isHex = [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F');
    };
    for (qsizetype i = line.indexOf(QLatin1Char('%')); i >= 0 && i + 2 < line.size();
         i = line.indexOf(QLatin1Char('%'), i + 1))
        if (isHex(line.at(i + 1)) && isHex(line.at(i + 2)))
            return true;
    return false;
}

bool readLegacyIni(const QByteArray &bytes, QSettings::SettingsMap &map)
{
    QTemporaryFile copy;
    if (!copy.open() || copy.write(bytes) != bytes.size())
        return false;
    copy.close();
    QSettings legacy(copy.fileName(), QSettings::IniFormat);
    for (const QString &key : legacy.allKeys())
        map.insert(key, legacy.value(key));
    return legacy.status() == QSettings::NoError;
}

bool readPlainIni(QIODevice &device, QSettings::SettingsMap &map)
{
    const QByteArray bytes = device.readAll();
    const IniFile file(bytes, IniRules());
    for (const QString &raw : file.lines())
        if (isLegacyHeader(raw.trimmed()))
            return readLegacyIni(bytes, map);
    for (const IniFile::Entry &entry : file.entries())
        map.insert(entry.section.isEmpty() ? entry.key : entry.section + QLatin1Char('/') + entry.key, entry.value);
    return true;
}

bool writePlainIni(QIODevice &device, const QSettings::SettingsMap &map)
{
#ifdef Q_OS_WIN
    const QString eol = QStringLiteral("\r\n");
#else
    const QString eol = QStringLiteral("\n");
#endif
    // Lines by section; keys outside any section ("" sorts first) lead the file.
    QMap<QString, QString> sections;
    for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
        const qsizetype slash = it.key().indexOf(QLatin1Char('/'));
        // One line per value: a line break inside one would end it early.
        QString value = it.value().toString();
        value.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
        sections[slash < 0 ? QString() : it.key().left(slash)] += it.key().mid(slash + 1) + QLatin1Char('=') + value + eol;
    }
    QStringList blocks;
    for (auto it = sections.constBegin(); it != sections.constEnd(); ++it)
        blocks << (it.key().isEmpty() ? QString() : QLatin1Char('[') + it.key() + QLatin1Char(']') + eol) + it.value();
    const QByteArray bytes = blocks.join(eol).toUtf8();
    // Flushed here: a failure left to the settings' own commit would still
    // put the short file in place.
    return device.write(bytes) == bytes.size() && flushToDisk(device);
}

QSettings::Format plainIniFormat()
{
    static const QSettings::Format format =
        QSettings::registerFormat(QStringLiteral("ini"), readPlainIni, writePlainIni);
    return format;
}

} // namespace

SettingsStore::SettingsStore() : SettingsStore(defaultPath()) {}

SettingsStore::SettingsStore(const QString &iniPath)
    : m_settings(std::make_unique<QSettings>(iniPath, plainIniFormat()))
{
}

SettingsStore::SettingsStore(std::nullptr_t) {}

std::unique_ptr<SettingsStore> SettingsStore::inMemory()
{
    return std::unique_ptr<SettingsStore>(new SettingsStore(nullptr));
}

SettingsStore::~SettingsStore()
{
    sync();
}

QString SettingsStore::path() const
{
    return m_settings ? m_settings->fileName() : QString();
}

static QString fullKey(const QString &section, const QString &key)
{
    return section + QLatin1Char('/') + key;
}

QString SettingsStore::read(const QString &section, const QString &key, const QString &def) const
{
    if (!m_settings)
        return m_memory.value(fullKey(section, key), def);
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
    return m_settings ? m_settings->contains(fullKey(section, key)) : m_memory.contains(fullKey(section, key));
}

bool SettingsStore::write(const QString &section, const QString &key, const QString &value)
{
    if (!m_settings) {
        m_memory.insert(fullKey(section, key), value);
        return true;
    }
    // A value that is already there is not written again: a start that
    // changes nothing leaves the file alone.
    const QString full = fullKey(section, key);
    const QVariant old = m_settings->value(full);
    if (old.isValid() && old.toString() == value)
        return true;
    m_settings->setValue(full, value);
    return changed();
}

bool SettingsStore::writeInt(const QString &section, const QString &key, int value)
{
    return write(section, key, QString::number(value));
}

bool SettingsStore::writeBool(const QString &section, const QString &key, bool value)
{
    return write(section, key, value ? QStringLiteral("True") : QStringLiteral("False"));
}

bool SettingsStore::remove(const QString &section, const QString &key)
{
    if (!m_settings) {
        m_memory.remove(fullKey(section, key));
        return true;
    }
    if (!m_settings->contains(fullKey(section, key)))
        return true;
    m_settings->remove(fullKey(section, key));
    return changed();
}

bool SettingsStore::changed()
{
    return m_batches > 0 || sync();
}

bool SettingsBatch::finish()
{
    if (!m_store)
        return true;
    SettingsStore &store = *std::exchange(m_store, nullptr);
    return --store.m_batches > 0 || store.sync();
}

bool SettingsStore::sync()
{
    if (!m_settings)
        return true;
    m_settings->sync();
    if (m_settings->status() != QSettings::AccessError)
        return true;
    // The status keeps the first failure for good; once there was one, the
    // file itself tells whether it now holds every value.
    QFile file(m_settings->fileName());
    QSettings::SettingsMap onDisk;
    if (!file.open(QIODevice::ReadOnly) || !readPlainIni(file, onDisk))
        return false;
    const auto plain = [](QString value) {
        return value.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' ')).trimmed();
    };
    const QStringList keys = m_settings->allKeys();
    if (keys.size() != onDisk.size())
        return false;
    for (const QString &key : keys)
        if (!onDisk.contains(key) || plain(onDisk.value(key).toString()) != plain(m_settings->value(key).toString()))
            return false;
    return true;
}

QString SettingsStore::writeFailedMessage() const
{
    return QStringLiteral("The settings could not be saved.\r\n") + QDir::toNativeSeparators(path());
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
