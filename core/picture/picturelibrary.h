#pragma once
// The picture support (graphic/picturesupport.h) on the toolkit's picture
// library, as the windows and the test suites link it.
#include "graphic/picturesupport.h"

namespace logo {

// The whole table: pictures, metafiles, the undo stack and the wait pointer.
const PictureSupport &pictureLibrary();
// What the module logopicturemodule gives logotool: pictures and metafiles;
// no history and no pointer.
const PictureSupport &pictureLibraryForTool();
// Installs pictureLibrary(): called at start, before any document is made.
void installPictureLibrary();

} // namespace logo
