#pragma once
// Every file format the programs and logotool know, in one table: its name,
// its extension, how the dialogs offer it, its reader and what writes it. The
// Open, Save As, Import and Export filters, the formats told by a file's name
// (Open, a drop, the command line), the types the desktop registers,
// `logotool formats` and the fuzz targets all come from it.
//
// A new format is one row in fileformats.cpp (and its reader beside the
// others in foreignformats.cpp).
#include "graphic/foreignformats.h"
#include "graphic/savenames.h"

#include <QString>
#include <QStringList>

#include <span>

namespace logo {

enum class FormatRole {
    Native,  // NGG, NCG, NOL: told by their content, read and written by the document (logofile.h)
    Foreign, // other Nokia tools' logos: only read, chosen by the file name
    Picture, // ordinary pictures: brought in by the Import rule (pictureimport.h), BMP and PNG exported
};

// Where the Import dialog offers a picture type: the classic entry or the
// further types the toolkit reads.
enum class ImportGroup { None, Classic, Further };

// A foreign reader (see foreignformats.h); wrongVersion may be null.
using ForeignReader = bool (*)(const QByteArray &buffer, LogoGrid &grid, bool *wrongVersion);

struct FileFormat {
    const char *name = "";             // "NGG", as logotool lists it
    FormatRole role = FormatRole::Native;
    const char *extension = "";        // ".ngg", lower case; empty when told by its content alone (NCG)
    const char *dialogText = "";       // "Nokia Group Graphic": its own entry in a file dialog; empty for none
    SavedType written = SavedType::None; // what Save As or Export writes under the extension; None: only read
    const char *fileClass = "";        // Native: the class the desktop registers the extension as
    ForeignFormat foreign = ForeignFormat::None;
    ForeignReader read = nullptr;      // Foreign: its reader; null when it is read as a picture (I61)
    const char *refusal = "";          // Foreign: the message when its reader refuses a file
    int nameRank = 0;                  // Foreign: when a name carries several, the lowest decides
    bool offeredToClaim = false;       // Foreign: Quillet offers to claim the type at start-up
    bool claimedByDefault = false;     // ... checked at first
    ImportGroup importGroup = ImportGroup::None;
    const char *imageFormat = "";      // Picture written: the toolkit's name for the format it is written in
};

// The whole table: the native formats, the foreign ones in the order the Open
// dialog lists them, then the pictures in the order Import lists them.
std::span<const FileFormat> fileFormats();

// The row of a format; null for None.
const FileFormat *formatOf(ForeignFormat format);
const FileFormat *formatOf(SavedType type);

// The rows of a role, in the table's order.
QList<const FileFormat *> formatsOf(FormatRole role);
// The foreign formats in the order a file name is tested for them.
QList<const FileFormat *> foreignFormatsByName();
// The extensions of the rows that have one, in their order.
QStringList extensionsOf(const QList<const FileFormat *> &formats);

// The picture types Import offers in one group, in the table's order.
QStringList importExtensions(ImportGroup group);

// A dialog's patterns for extensions: "*.ngg;*.nol".
QString dialogPatterns(const QStringList &extensions);
// A file dialog's entry for a written type: "Nokia Group Graphic (*.ngg)|*.ngg".
QString dialogEntry(SavedType type);
// The Open dialog's filter: every native and foreign extension under
// "Nokia Graphics", then an entry for each native format written.
QString openDialogFilter();
// The extensions Save As and Export write: ".ngg", ".nol", ".bmp", ".png";
// of one role only when given one.
QStringList writtenExtensions();
QStringList writtenExtensions(FormatRole role);

} // namespace logo
