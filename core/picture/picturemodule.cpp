// The picture library as the module that logotool loads when a command first
// needs a picture (graphic/picturesupport.h).
#include "picture/picturelibrary.h"

extern "C" Q_DECL_EXPORT const logo::PictureSupport *logoPictureSupport()
{
    return &logo::pictureLibraryForTool();
}
