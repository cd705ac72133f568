#include "graphic/filecommands.h"

#include "desktop/waitcursor.h"
#include "graphic/fileformats.h"
#include "graphic/picturesupport.h"
#include "graphic/regularfile.h"

#include <QFile>

namespace logo {

namespace {
// No foreign reader looks further than a few kilobytes into a file (a WBMP of
// 255 rows of 255 pixels is the largest); a large file that merely carries
// one of the names is read only this far, so it can't exhaust the memory.
constexpr qint64 RawFileLimit = 1 << 20;
} // namespace

void FileCommands::showCantRead()
{
    m_prompt.message(profile().productName, QStringLiteral("Can't read this file. Try another file."),
                     Icon::Exclamation, Buttons::Ok);
}

bool FileCommands::loadRawFile(const QString &path, QByteArray &buffer)
{
    QFile f;
    QByteArray bytes;
    bool ok = openRegularFile(f, path);
    if (ok) {
        bytes = f.read(RawFileLimit);
        ok = f.error() == QFileDevice::NoError;
    }
    if (!ok) {
        showCantRead();
        return false;
    }
    buffer = bytes;
    return true;
}

bool FileCommands::openForeign(const QString &path, int format)
{
    WaitCursor wait;
    const auto kind = ForeignFormat(format);
    // Every read goes into a copy; the document changes only when it succeeds.
    // A foreign picture has the full size, whatever the last file had.
    LogoGrid grid = m_doc.grid();
    grid.setSize(LogoGrid::MaxWidth, LogoGrid::MaxHeight);
    const FileFormat *row = formatOf(kind);
    if (row && !row->read) {
        // A foreign format without a reader of its own (I61) is a picture:
        // imported by the Import rule, without a message when it can't be loaded.
        if (!readPictureFile(path, grid))
            return false;
    } else {
        QByteArray buffer;
        if (!loadRawFile(path, buffer))
            return false;
        grid.clearPlane();
        bool wrongVersion = false;
        if (!readForeign(kind, buffer, grid, &wrongVersion)) {
            if (wrongVersion)
                m_prompt.beep();
            m_prompt.message(profile().productName, foreignReadMessage(kind), Icon::Exclamation, Buttons::Ok);
            return false;
        }
    }
    m_doc.replaceByLoad(QStringLiteral("Open"), [&] {
        m_doc.grid() = grid;
        finishForeignRead(path);
    });
    return true;
}

} // namespace logo
