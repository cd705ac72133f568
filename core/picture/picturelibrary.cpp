#include "picture/picturelibrary.h"

#include "graphic/logodocument.h"
#include "picture/metafile.h"
#include "picture/pictureimage.h"
#include "picture/undohistory.h"

#include <QCursor>
#include <QGuiApplication>

namespace logo {

namespace {

bool writePicture(const LogoGrid &grid, QSize pixel, const QString &path, const char *format)
{
    return saveImageAtomically(exportImage(grid, pixel), path, format);
}

QCoreApplication *makeGuiApplication(int &argc, char **argv)
{
    return new QGuiApplication(argc, argv);
}

DocumentHistory *makeHistory()
{
    return new UndoStackHistory(LogoDocument::HistoryLimit);
}

bool hasPointer()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
}

void showWaitPointer()
{
    if (hasPointer())
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void restorePointer()
{
    if (hasPointer())
        QGuiApplication::restoreOverrideCursor();
}

} // namespace

const PictureSupport &pictureLibrary()
{
    static const PictureSupport table{PictureSupportAbi, QT_VERSION, &convertPicture, &writePicture, &canDrawWmf,
                                      &canDrawEmf, &makeGuiApplication, &makeHistory, &showWaitPointer,
                                      &restorePointer};
    return table;
}

const PictureSupport &pictureLibraryForTool()
{
    static const PictureSupport table{PictureSupportAbi, QT_VERSION, &convertPicture, &writePicture, &canDrawWmf,
                                      &canDrawEmf, &makeGuiApplication, nullptr, nullptr, nullptr};
    return table;
}

void installPictureLibrary()
{
    installPictureSupport(&pictureLibrary());
}

} // namespace logo
