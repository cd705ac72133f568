// logotool formats: what the tool (and the programs) read and write.
#include "tools/logotool.h"

#include "graphic/metafile.h"
#include "graphic/pictureimport.h"

namespace logotool {

int cmdFormats(const QStringList &argv)
{
    if (!argv.isEmpty())
        return err(QStringLiteral("usage: logotool formats"), 2);
    out(QStringLiteral("read    NGG NCG NOL          Nokia group graphic / operator logo (by content)"));
    out(QStringLiteral("read    NLM NSL NGL OTB WBMP other Nokia tools' logos (by name: .nlm .nsl .ngl .otb .wbmp)"));
    out(QStringLiteral("read    I61                  a picture, imported by the darkness threshold (.i61)"));
    QStringList pictures;
    for (const QString &e : logo::importPictureExtensions()) {
        if ((e == QLatin1String(".wmf") && !logo::canDrawWmf()) || (e == QLatin1String(".emf") && !logo::canDrawEmf()))
            continue;
        pictures << e;
    }
    out(QStringLiteral("import  %1").arg(pictures.join(QLatin1Char(' '))));
    out(QStringLiteral("        dark (red, green and blue all 64 or less) sets a pixel; top-left 72 x 14, never scaled"));
    out(QStringLiteral("write   NGG NOL              by name (.nol anywhere in the name writes NOL)"));
    out(QStringLiteral("write   BMP                  72 x 14 bitmap, black on the display green (.bmp)"));
    return 0;
}

} // namespace logotool
