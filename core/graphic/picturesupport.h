#pragma once
// What needs the toolkit's picture library (Qt Gui): reading an ordinary
// picture by the Import rule, writing the exported BMP or PNG, drawing
// metafiles, a GUI application for them, the history that the windows undo
// and redo, and the wait pointer. Reading and writing the phones' own files
// needs none of it.
//
// The windows and the test suites link that library (logopicture) and install
// its table at start (installPictureLibrary(), picture/picturelibrary.h).
// logotool links only this core: the first command that needs a picture
// loads the library as the module logopicturemodule, found as the other
// modules are (desktop/programmodule.h), so that converting a NOL or NGG file
// loads Qt Core alone.
#include "graphic/logogrid.h"

#include <QSize>
#include <QString>

class QCoreApplication;

namespace logo {

class DocumentHistory;

struct PictureSupport {
    int abi;
    unsigned qtVersion;
    // The Import rule over the grid's dimensions; false (grid untouched) when
    // the file can't be loaded.
    bool (*readPicture)(const QString &path, LogoGrid &grid);
    // The exported picture (each pixel a block of pixel) in format ("BMP",
    // "PNG") as path, written safely; false when it could not be.
    bool (*writePicture)(const LogoGrid &grid, QSize pixel, const QString &path, const char *format);
    // Whether the metafile module is there and draws that kind.
    bool (*canDrawWmf)();
    bool (*canDrawEmf)();
    // A GUI application on the arguments (metafile text needs the font
    // database); the caller owns it.
    QCoreApplication *(*makeGuiApplication)(int &argc, char **argv);
    // The history of a new document: undo and redo on the toolkit's undo
    // stack. Null in the module: a command-line document keeps no history.
    DocumentHistory *(*makeHistory)();
    // The wait pointer on and off; null where there is no pointer.
    void (*showWaitPointer)();
    void (*restorePointer)();
};
constexpr int PictureSupportAbi = 1;
inline constexpr char PictureSupportEntryName[] = "logoPictureSupport";

// Makes the table the one in use (the windows and the tests, at start).
void installPictureSupport(const PictureSupport *support);
// The table installed; null when none is.
const PictureSupport *installedPictureSupport();
// The table installed, else the module's, loaded on the first call (once;
// said on stderr when it can't be); null when neither is there.
const PictureSupport *pictureSupport();

// Through pictureSupport(): false when the library can't be had.
bool readPictureFile(const QString &path, LogoGrid &grid);
bool writePictureFile(const LogoGrid &grid, QSize pixel, const QString &path, const char *format);

} // namespace logo
