#include "webupload/webupload.h"

#include "desktop/appfolders.h"
#include "desktop/profile.h"
#include "desktop/prompt.h"
#include "graphic/logogrid.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

namespace logo {

namespace {

QString orZero(const QString &code)
{
    return code.isEmpty() ? QStringLiteral("0") : code;
}

QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace

WebUpload::WebUpload(const ProgramProfile &profile, const QString &tempFolder, Handover handover)
    : m_profile(profile), m_folder(tempFolder.isEmpty() ? temporaryFolder() : tempFolder), m_handover(handover)
{
}

QString WebUpload::uploadAddress(const ProgramProfile &profile, const LogoGrid &grid, const QString &mcc,
                                 const QString &mnc, const QString &host)
{
    const QString data = QStringLiteral("00") + hexByte(grid.width()) + hexByte(grid.height()) +
                         QStringLiteral("01") + grid.grid2hex();
    return QStringLiteral("http://") + host + QStringLiteral("/wireless/sendsms.phtml?data=") + data +
           QStringLiteral("&mode=send&mcc=") + orZero(mcc) + QStringLiteral("&mnc=") + orZero(mnc) +
           QStringLiteral("&app=") + profile.appCode + QStringLiteral("&ver=") + versionDigits() +
           QStringLiteral("&media=pellorin");
}

QString WebUpload::pageText(const QString &address, const QString &host)
{
    const QString site = QStringLiteral("http://") + host + QStringLiteral("/wireless/index.phtml?media=pellorin");
    return QStringLiteral("<HTML><HEAD><TITLE>VORNHAL Wireless Design - SMART UPLOAD</TITLE>") +
           QStringLiteral("<META HTTP-EQUIV=") + quoted(QStringLiteral("Refresh")) + QStringLiteral(" CONTENT=") +
           quoted(QStringLiteral("0; URL=") + address) +
           QStringLiteral("></HEAD><BODY BGCOLOR=") + quoted(QStringLiteral("#FFFFFF")) + QStringLiteral(" LINK=") +
           quoted(QStringLiteral("#224444")) + QStringLiteral(" VLINK=") + quoted(QStringLiteral("#224444")) +
           QStringLiteral(" TEXT=") + quoted(QStringLiteral("#444444")) +
           QStringLiteral("><FONT FACE=") + quoted(QStringLiteral("Arial,Helvetica")) + QStringLiteral(" SIZE=") +
           quoted(QStringLiteral("-1")) +
           QStringLiteral("><B>VORNHAL Wireless Design - SMART UPLOAD in progress...</B>") +
           QStringLiteral("<HR SIZE=1>Please wait a few seconds or click <A HREF=") + quoted(address) +
           QStringLiteral(">here</A> for manual upload.<BR>Make sure that a connection to the internet has been "
                          "established.<HR SIZE=1><FONT SIZE=") +
           quoted(QStringLiteral("-2")) + QStringLiteral(">Smart upload service of VORNHAL Wireless Design - ") +
           QStringLiteral("<A HREF=") + quoted(site) + QLatin1Char('>') + host +
           QStringLiteral("</A></FONT></FONT></BODY></HTML>");
}

QString WebUpload::writePage(const QString &text)
{
    if (m_folder.isEmpty())
        return {};
    const QByteArray bytes = text.toLatin1();
    const QDir dir(m_folder);
    // A name already taken (a page the browser still shows, another user's
    // file) is skipped, never overwritten or followed.
    for (int tries = 0; tries < 1000; ++tries) {
        const QString path = dir.filePath(m_profile.tempPagePrefix +
                                          QStringLiteral("%1").arg(m_counter++, 3, 10, QLatin1Char('0')) +
                                          QStringLiteral(".HTM"));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (QFileInfo(path).exists() || QFileInfo(path).isSymLink())
                continue;
            return {};
        }
        if (f.write(bytes) == bytes.size() && f.flush()) {
            f.close();
            return path;
        }
        f.close();
        f.remove();
        return {};
    }
    return {};
}

bool WebUpload::isPageName(const QString &fileName) const
{
    static const QRegularExpression number(QStringLiteral("^[0-9]{3}\\.HTM$"));
    return fileName.startsWith(m_profile.tempPagePrefix) &&
           number.match(fileName.mid(m_profile.tempPagePrefix.size())).hasMatch();
}

void WebUpload::deleteTemporaryPages() const
{
    if (m_folder.isEmpty())
        return;
    QDir dir(m_folder);
    const QStringList pages = dir.entryList({m_profile.tempPagePrefix + QStringLiteral("*")},
                                            QDir::Files | QDir::Hidden | QDir::System | QDir::CaseSensitive);
    for (const QString &page : pages)
        if (isPageName(page))
            dir.remove(page);
}

bool WebUpload::openUploadPage(const LogoGrid &grid, const QString &mcc, const QString &mnc, Prompt &prompt,
                               const QString &host, const Opener &open)
{
    const QString address = uploadAddress(m_profile, grid, mcc, mnc, host);
    if (m_handover == Handover::Address) {
        if (open)
            open(QUrl(address, QUrl::TolerantMode));
        return true;
    }
    const QString path = writePage(pageText(address, host));
    if (path.isEmpty()) {
        prompt.critical(m_profile.productName, QStringLiteral("The upload page could not be written to\r\n") +
                                                   QDir::toNativeSeparators(m_folder));
        return false;
    }
    if (open)
        open(QUrl::fromLocalFile(path));
    return true;
}

} // namespace logo
