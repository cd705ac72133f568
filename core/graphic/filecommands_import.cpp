#include "graphic/filecommands.h"

#include "desktop/waitcursor.h"
#include "graphic/fileformats.h"
#include "graphic/pathutil.h"
#include "graphic/pictureimport.h"
#include "graphic/picturesupport.h"

namespace logo {

void FileCommands::importCommand()
{
    m_marks.setBusy(true);
    // The network code stays until a picture has actually replaced the logo:
    // a cancelled dialog or a file that can't be loaded keeps the operator.
    if (profile().isQuillet() && askSaveChanges() != SaveAnswer::Proceed) {
        m_marks.setBusy(false);
        return;
    }
    FileRequest req;
    req.title = QStringLiteral("Import");
    req.filter = importDialogFilter();
    req.filterIndex = 1;
    req.initialDir = m_folders.importFolder;
    const QString chosen = m_prompt.openFileName(req);
    if (!chosen.isEmpty()) {
        m_folders.importFolder = folderOf(chosen);
        importPicture(chosen);
    }
    m_doc.setQuestionAnswered(false);
    m_marks.setBusy(false);
}

bool FileCommands::importPicture(const QString &path)
{
    WaitCursor wait;
    // An imported picture has the full size, whatever the last file had.
    LogoGrid grid = m_doc.grid();
    grid.setSize(LogoGrid::MaxWidth, LogoGrid::MaxHeight);
    if (!readPictureFile(path, grid))
        return false;
    m_doc.replaceByLoad(QStringLiteral("Import"), [&] {
        m_doc.grid() = grid;
        m_doc.setNetworkCode(QString(), QString());
        finishImport(path);
    });
    return true;
}

void FileCommands::exportCommand(QSize pixel)
{
    m_marks.setBusy(true);
    if (!askIfEmpty(false)) {
        m_marks.setBusy(false);
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
    req.fileName = m_doc.currentFile() == QStringLiteral("Untitled")
                       ? QString()
                       : stripExtension(fileNameOf(m_doc.currentFile())) + savedExtension(SavedType::Bmp);
    req.initialDir = m_folders.exportFolder;
    const QString chosen = chooseSaveName(req, types);
    if (!chosen.isEmpty()) {
        m_folders.exportFolder = folderOf(chosen);
        if (!exportPicture(chosen, pixel))
            m_prompt.critical(profile().productName, joinLines({chosen, QStringLiteral("could not be saved.")}));
    }
    m_marks.setBusy(false);
}

bool FileCommands::exportPicture(const QString &path, QSize pixel) const
{
    WaitCursor wait;
    const FileFormat *written = formatOf(pictureTypeOf(path));
    const char *format = written ? written->imageFormat : formatOf(SavedType::Bmp)->imageFormat;
    return writePictureFile(m_doc.grid(), pixel, path, format);
}

} // namespace logo
