#pragma once
// The phone covers behind the logo: ten built-in pictures of phones and the
// user's own XPRESS.BMP. Every cover has its display window where the logo is
// painted, (42, 85) to (113, 98).
#include "desktop/appfolders.h"

#include <QImage>
#include <QRect>
#include <QString>

namespace logo {
class SettingsStore;
}

namespace brisvane {

class PhoneCovers {
public:
    static constexpr int Count = 11;
    static constexpr int OwnCover = 10;        // "Your own!": XPRESS.BMP
    static constexpr int FirstStartCover = 1;  // without XPRESS.BMP
    static constexpr int FallbackCover = 0;    // "Your own!" without the file
    static inline const QString OwnCoverFile = QStringLiteral("XPRESS.BMP");
    static inline const QString SettingKey = QStringLiteral("XpressGUI");
    // Where the logo goes, 72 x 14 pixels, in every cover.
    static inline const QRect DisplayArea{42, 85, 72, 14};

    explicit PhoneCovers(const logo::AppFolders &folders);

    static QString caption(int index);
    // The built-in picture of a cover (0 to 9), from the program's resources.
    static QImage builtInPicture(int index);

    // The user's own picture, empty when there is none.
    QString ownCoverPath() const;
    bool hasOwnCover() const { return !ownCoverPath().isEmpty(); }
    // XpressGUI's default: the own cover when there is one, else the 8210.
    int defaultIndex() const;
    // The stored index; a value that names no cover gives the default.
    int storedIndex(const logo::SettingsStore &settings, const QString &section) const;

    // The cover to show for a choice: the index shown (the own cover without
    // a loadable XPRESS.BMP falls back to cover 0) and its picture. An
    // XPRESS.BMP that is there but can't be read is told apart from a missing
    // one: the user's choice stands, only the picture is missing.
    struct Shown {
        int index;
        QImage picture;
        bool ownCoverUnreadable = false;
    };
    Shown show(int index) const;

private:
    const logo::AppFolders &m_folders;
};

} // namespace brisvane
