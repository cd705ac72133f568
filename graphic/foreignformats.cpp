#include "graphic/foreignformats.h"

namespace logo {

ForeignFormat foreignFormatOf(const QString &path)
{
    const QString up = path.toUpper();
    static const struct { const char *mark; ForeignFormat f; } order[] = {
        {".NLM", ForeignFormat::NLM}, {".NSL", ForeignFormat::NSL}, {".NGL", ForeignFormat::NGL},
        {".OTB", ForeignFormat::OTB}, {".WBMP", ForeignFormat::WBMP}, {".I61", ForeignFormat::I61},
    };
    for (const auto &o : order)
        if (up.contains(QLatin1String(o.mark)))
            return o.f;
    return ForeignFormat::None;
}

} // namespace logo
