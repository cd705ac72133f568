// File types on Windows: the current user's classes,
// HKEY_CURRENT_USER\Software\Classes, which take precedence over the
// machine's and need no administrator.
#include "desktop/filetypes.h"

#ifdef Q_OS_WIN

#include <QDir>
#include <QSettings>
#include <qt_windows.h>
#include <shlobj.h>

namespace logo {

namespace {

const QString kClassesRoot = QStringLiteral("HKEY_CURRENT_USER\\Software\\Classes");

class RegistryFileTypes : public FileTypeTree {
public:
    bool exists(const QString &key) const override
    {
        const qsizetype cut = key.lastIndexOf(QLatin1Char('\\'));
        const auto parent = cut < 0 ? std::make_unique<QSettings>(kClassesRoot, QSettings::NativeFormat)
                                    : keyAt(key.left(cut));
        return parent->childGroups().contains(key.mid(cut + 1), Qt::CaseInsensitive);
    }
    std::optional<QString> value(const QString &key) const override
    {
        // "Default" names the key's unnamed value.
        const QVariant v = keyAt(key)->value(QStringLiteral("Default"));
        if (!v.isValid())
            return std::nullopt;
        return v.toString();
    }
    bool create(const QString &key) override
    {
        // Writing a key's value creates it; a new key starts with an empty one.
        if (!exists(key))
            return setValue(key, QString());
        return true;
    }
    bool setValue(const QString &key, const QString &value) override
    {
        const auto s = keyAt(key);
        s->setValue(QStringLiteral("Default"), value);
        s->sync();
        m_changed = true;
        return s->status() == QSettings::NoError;
    }
    QString commandValue(const QString &program) const override
    {
        // Quoted, so that paths and files with spaces stay whole.
        return QLatin1Char('"') + QDir::toNativeSeparators(program) + QStringLiteral("\" \"%1\"");
    }
    QString iconValue(const QString &program, const QString &) const override
    {
        return QDir::toNativeSeparators(program) + QStringLiteral(",0");
    }
    void commit() override
    {
        if (m_changed)
            SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
        m_changed = false;
    }

private:
    static std::unique_ptr<QSettings> keyAt(const QString &key)
    {
        return std::make_unique<QSettings>(kClassesRoot + QLatin1Char('\\') + key, QSettings::NativeFormat);
    }
    bool m_changed = false;
};

} // namespace

std::unique_ptr<FileTypeTree> desktopFileTypes()
{
    return std::make_unique<RegistryFileTypes>();
}

} // namespace logo

#endif
