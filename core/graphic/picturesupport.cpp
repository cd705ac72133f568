#include "graphic/picturesupport.h"

#include "desktop/programmodule.h"

#include <atomic>
#include <cstdio>

namespace logo {

namespace {

std::atomic<const PictureSupport *> installed{nullptr};

const PictureSupport *loadModule()
{
    const PictureSupport *module = loadModuleTable<PictureSupport>(
        "LOGO_PICTURE_MODULE", QStringLiteral(LOGO_PICTURE_MODULE_FILE), PictureSupportEntryName, PictureSupportAbi,
        [](const PictureSupport &s) {
            return s.readPicture && s.writePicture && s.canDrawWmf && s.canDrawEmf && s.makeGuiApplication;
        });
    if (!module)
        std::fprintf(stderr, "The picture module can't be loaded: no picture can be imported or exported.\n");
    return module;
}

} // namespace

void installPictureSupport(const PictureSupport *support)
{
    installed = support;
}

const PictureSupport *installedPictureSupport()
{
    return installed;
}

const PictureSupport *pictureSupport()
{
    if (const PictureSupport *own = installed)
        return own;
    static const PictureSupport *const module = loadModule();
    return module;
}

bool readPictureFile(const QString &path, LogoGrid &grid)
{
    const PictureSupport *support = pictureSupport();
    return support && support->readPicture(path, grid);
}

bool writePictureFile(const LogoGrid &grid, QSize pixel, const QString &path, const char *format)
{
    const PictureSupport *support = pictureSupport();
    return support && support->writePicture(grid, pixel, path, format);
}

} // namespace logo
