#pragma once
// The per-user settings store: one tree for both programs, addressed by
// application, section and key. Every value is text; each reader applies its
// own default, also when a stored value does not convert.
#include <QMap>
#include <QString>
#include <memory>

class QSettings;

namespace logo {

inline const QString kApplicationName = QStringLiteral("VORNHAL Wireless Design");
inline const QString kSharedSection = QStringLiteral("Settings");

class SettingsStore {
public:
    // The store of the current user. The environment variable LOGO_SETTINGS_FILE
    // moves it (tests, portable installs).
    SettingsStore();
    // A store kept in the given INI file.
    explicit SettingsStore(const QString &iniPath);
    ~SettingsStore();
    // A store that lives in memory only and ends with the object: for work
    // that must neither read nor disturb the user's settings (the
    // command-line tool's file commands), at no cost of disk writes.
    static std::unique_ptr<SettingsStore> inMemory();

    static QString defaultPath();
    QString path() const;

    QString read(const QString &section, const QString &key, const QString &def = QString()) const;
    // A missing key or a value that is not a whole number gives def.
    int readInt(const QString &section, const QString &key, int def) const;
    // "True"/"False" as written by writeBool; also 1/-1/0. Anything else gives def.
    bool readBool(const QString &section, const QString &key, bool def) const;
    bool contains(const QString &section, const QString &key) const;

    // Each change goes to disk at once. False when the file could not be
    // written (a full disk, a read-only folder): the file keeps what it held,
    // and the change stays in this store for a later write to take along.
    bool write(const QString &section, const QString &key, const QString &value);
    bool writeInt(const QString &section, const QString &key, int value);
    bool writeBool(const QString &section, const QString &key, bool value);
    bool remove(const QString &section, const QString &key);
    // Flushes pending writes to disk and picks up changes made by the other
    // program; false as for write.
    bool sync();
    // "The settings could not be saved." and the file, for a failed write.
    QString writeFailedMessage() const;

    // The device behind port number n (the classic COMn): the "Device<n>" value
    // of the shared section when set; else COMn on Windows and /dev/ttyS<n-1>
    // elsewhere. Empty for n <= 0.
    QString portDevice(int n) const;
    static QString defaultPortDevice(int n);

private:
    friend class SettingsBatch;
    explicit SettingsStore(std::nullptr_t);
    // A change goes to disk now, or at the end of the batch that holds it.
    bool changed();

    std::unique_ptr<QSettings> m_settings;     // null for a store in memory
    QMap<QString, QString> m_memory;           // "section/key" -> value
    int m_batches = 0;                         // batches holding the writes back
};

// Holds back the store's disk writes for its life and writes them all at its
// end, once: for a burst of changes (a program's start-up) that would
// otherwise rewrite the file for each of them. Inside a batch a write always
// succeeds; whether the file took them is known at finish().
class SettingsBatch {
public:
    explicit SettingsBatch(SettingsStore &store) : m_store(&store) { ++store.m_batches; }
    ~SettingsBatch() { finish(); }
    SettingsBatch(const SettingsBatch &) = delete;
    SettingsBatch &operator=(const SettingsBatch &) = delete;
    // Ends the batch now; false when the file could not be written.
    bool finish();

private:
    SettingsStore *m_store;
};

} // namespace logo
