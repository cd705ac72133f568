#include "graphic/logodocument.h"

#include "desktop/safewrite.h"
#include "desktop/waitcursor.h"
#include "graphic/fileformats.h"
#include "graphic/pathutil.h"
#include "graphic/pictureimport.h"

namespace logo {

void LogoDocument::importCommand()
{
    setBusy(true);
    // The network code stays until a picture has actually replaced the logo:
    // a cancelled dialog or a file that can't be loaded keeps the operator.
    if (m_profile.isQuillet() && askSaveChanges() != LogoDocument::SaveAnswer::Proceed) {
        setBusy(false);
        return;
    }
    FileRequest req;
    req.title = QStringLiteral("Import");
    req.filter = importDialogFilter();
    req.filterIndex = 1;
    req.initialDir = m_importDir;
    const QString chosen = m_prompt.openFileName(req);
    if (!chosen.isEmpty()) {
        m_importDir = folderOf(chosen);
        importPicture(chosen);
    }
    m_questionAnswered = false;
    setBusy(false);
}

bool LogoDocument::importPicture(const QString &path)
{
    WaitCursor wait;
    // An imported picture has the full size, whatever the last file had.
    LogoGrid grid = m_grid;
    grid.setSize(LogoGrid::MaxWidth, LogoGrid::MaxHeight);
    if (!convertPicture(path, grid))
        return false;
    const Snapshot before = snapshot();
    replaceGrid(grid);
    setNetworkCode(QString(), QString());
    finishImport(path);
    recordReplacement(before, QStringLiteral("Import"), true);
    return true;
}

void LogoDocument::exportCommand()
{
    setBusy(true);
    if (!askIfEmpty(false)) {
        setBusy(false);
        return;
    }
    FileRequest req;
    req.title = QStringLiteral("Export");
    // The written kind follows the name: one that ends in ".png" or ".bmp"
    // keeps it, any other gets the extension of the chosen filter.
    const SavedType types[] = {SavedType::Bmp, SavedType::Png};
    req.filter = dialogEntry(types[0]) + QLatin1Char('|') + dialogEntry(types[1]);
    req.filterIndex = 1;
    // The name part of the document's path, with the bitmap's extension in
    // place of its own.
    req.fileName = m_currentFile == QStringLiteral("Untitled")
                       ? QString()
                       : stripExtension(fileNameOf(m_currentFile)) + savedExtension(SavedType::Bmp);
    req.initialDir = m_exportDir;
    const QString chosen = chooseSaveName(req, types);
    if (!chosen.isEmpty()) {
        m_exportDir = folderOf(chosen);
        if (!exportPicture(chosen))
            m_prompt.critical(m_profile.productName, joinLines({chosen, QStringLiteral("could not be saved.")}));
    }
    setBusy(false);
}

bool LogoDocument::exportPicture(const QString &path, QSize pixel) const
{
    WaitCursor wait;
    const FileFormat *written = formatOf(pictureTypeOf(path));
    const char *format = written ? written->imageFormat : formatOf(SavedType::Bmp)->imageFormat;
    return saveImageAtomically(exportImage(m_grid, pixel), path, format);
}

} // namespace logo
