#pragma once
// Delivery through the maker's web upload service: the browser is given the
// upload address that carries the picture, on Windows through a small page in
// the temporary folder that sends it on; the user's browser makes the
// request, the program never does. Elsewhere the browser may be a confined
// package with a /tmp of its own that can't see the page, so it gets the
// address itself.
#include <QString>
#include <functional>

class QUrl;

namespace logo {

class Prompt;
class LogoGrid;
struct ProgramProfile;

class WebUpload {
public:
    using Opener = std::function<void(const QUrl &)>;

    // How the browser gets the address.
    enum class Handover { Page, Address };
    static constexpr Handover PlatformHandover =
#ifdef Q_OS_WIN
        Handover::Page;
#else
        Handover::Address;
#endif

    // tempFolder: where the pages go; empty for the system's temporary folder
    // (TMPDIR on Unix) or, when that does not exist, the platform's own.
    explicit WebUpload(const ProgramProfile &profile, const QString &tempFolder = QString(),
                       Handover handover = PlatformHandover);

    // "http://" + host + "/wireless/sendsms.phtml?data=..." with the picture's
    // size and hex text, its network code ("0" for an empty MCC or MNC), the
    // program's code and version. Nothing in it is encoded.
    static QString uploadAddress(const ProgramProfile &profile, const LogoGrid &grid, const QString &mcc,
                                 const QString &mnc, const QString &host);
    // The forwarding page, one line: an immediate refresh to the address and a
    // link to it for browsers that don't follow the refresh.
    static QString pageText(const QString &address, const QString &host);

    // Writes the page as the next file of this run (QLTMP000.HTM, QLTMP001.HTM,
    // ...), skipping names already taken; never writes through an existing
    // file or link. The path, or empty text when it can't be written.
    QString writePage(const QString &text);
    // Deletes the pages of the program left in the folder by earlier runs (at
    // start-up): only names the program writes, the prefix, three digits and
    // ".HTM" in that case.
    void deleteTemporaryPages() const;
    bool isPageName(const QString &fileName) const;

    // The menu command after its empty-picture question: the page of the
    // picture (when the browser gets one), the browser. A page that can't be
    // written is reported through prompt. False when nothing was opened.
    bool openUploadPage(const LogoGrid &grid, const QString &mcc, const QString &mnc, Prompt &prompt,
                        const QString &host, const Opener &open);

    QString folder() const { return m_folder; }

private:
    const ProgramProfile &m_profile;
    QString m_folder;
    Handover m_handover;
    int m_counter = 0;
};

} // namespace logo
