#include "brisvanemodel/phonecovers.h"

#include "desktop/settingsstore.h"
#include "picture/pngfile.h"

// The pictures are resources of this library; a static library registers them
// by hand, once.
static bool registerCoverResources()
{
    Q_INIT_RESOURCE(covers);
    return true;
}

namespace brisvane {

namespace {
const char *const kCaptions[PhoneCovers::Count] = {"7110", "8210", "8850", "6210", "3210", "6250",
                                                   "8810", "6100", "5100", "9110", "Your own!"};
const char *const kPictures[PhoneCovers::OwnCover] = {"7110", "8210", "8850", "6210", "3210",
                                                      "6250", "8810", "6110", "5110", "9110"};
} // namespace

PhoneCovers::PhoneCovers(const logo::AppFolders &folders) : m_folders(folders)
{
    static const bool registered = registerCoverResources();
    Q_UNUSED(registered);
}

QString PhoneCovers::caption(int index)
{
    return index >= 0 && index < Count ? QString::fromLatin1(kCaptions[index]) : QString();
}

QImage PhoneCovers::builtInPicture(int index)
{
    if (index < 0 || index >= OwnCover)
        return {};
    static const bool registered = registerCoverResources();
    Q_UNUSED(registered);
    return logo::readPng(QStringLiteral(":/covers/%1.png").arg(QLatin1String(kPictures[index])));
}

QString PhoneCovers::ownCoverPath() const
{
    return m_folders.find(OwnCoverFile);
}

int PhoneCovers::defaultIndex() const
{
    return hasOwnCover() ? OwnCover : FirstStartCover;
}

int PhoneCovers::storedIndex(const logo::SettingsStore &settings, const QString &section) const
{
    const int fallback = defaultIndex();
    const int stored = settings.readInt(section, SettingKey, fallback);
    return stored >= 0 && stored < Count ? stored : fallback;
}

PhoneCovers::Shown PhoneCovers::show(int index) const
{
    if (index == OwnCover) {
        const QString path = ownCoverPath();
        QImage own;
        if (!path.isEmpty() && own.load(path))
            return {OwnCover, own};
        return {FallbackCover, builtInPicture(FallbackCover), !path.isEmpty()};
    }
    if (index < 0 || index >= OwnCover)
        index = FallbackCover;
    return {index, builtInPicture(index)};
}

} // namespace brisvane
