#include "graphic/pathutil.h"

namespace logo {

static qsizetype lastSeparator(const QString &path)
{
    return std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
}

QString shortenPath(const QString &text, int max)
{
    if (text.size() <= max)
        return text;
    return text.left(3) + QStringLiteral("...") + text.right(std::max(max - 3, 0));
}

QString fileTitle(const QString &path)
{
    const qsizetype i = lastSeparator(path);
    return i < 0 ? QString() : path.mid(i + 1);
}

QString folderOf(const QString &path)
{
    const qsizetype i = lastSeparator(path);
    return i < 0 ? QString() : path.left(i + 1);
}

QString fileNameOf(const QString &path)
{
    return path.mid(lastSeparator(path) + 1);
}

QString stripExtension(const QString &path)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot > lastSeparator(path) ? path.left(dot) : path;
}

} // namespace logo
