#include "graphic/logodocument.h"

#include "desktop/safewrite.h"
#include "desktop/waitcursor.h"
#include "graphic/pathutil.h"
#include "graphic/pictureimport.h"

namespace logo {

void LogoDocument::importCommand()
{
    setBusy(true);
    // The network code stays until a picture has actually replaced the logo:
    // a cancelled dialog or a file that can't be loaded keeps the operator.
    if (m_profile.isQuillet() && askSaveChanges() != 7) {
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
    LogoGrid grid = m_grid;
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
    // The written kind follows the chosen name: ".png" writes PNG, any other
    // name a bitmap.
    req.filter = QStringLiteral("Bitmap (*.bmp)|*.bmp|PNG picture (*.png)|*.png");
    req.filterIndex = 1;
    // The name part of the document's path once its extension is cut off.
    req.fileName = m_currentFile == QStringLiteral("Untitled") ? QString() : fileTitle(stripExtension(m_currentFile));
    req.initialDir = m_exportDir;
    const QString chosen = m_prompt.saveFileName(req);
    if (!chosen.isEmpty()) {
        m_exportDir = folderOf(chosen);
        if (!exportPicture(chosen))
            m_prompt.critical(m_profile.productName, chosen + QStringLiteral("\r\ncould not be saved."));
    }
    setBusy(false);
}

bool LogoDocument::exportPicture(const QString &path, QSize pixel) const
{
    WaitCursor wait;
    const char *format = path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive) ? "PNG" : "BMP";
    return saveImageAtomically(exportImage(m_grid, pixel), path, format);
}

} // namespace logo
