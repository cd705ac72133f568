// baretool: the yardstick of `logotool convert` in bench_start. A bare Qt
// console program on Qt Core and Gui (as a tool on Qt's pictures links)
// doing the same copy of one file; with --safe it writes the copy the way the
// tool writes every file, through a QSaveFile (a temporary file, flushed to
// disk, then renamed over the target). Built once more on Qt Core alone as
// barecoretool (BARE_TOOL_CORE_ONLY), the floor of any Qt program.
//
// Usage: baretool [--safe] IN OUT
#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#ifndef BARE_TOOL_CORE_ONLY
#include <QImage>
#endif

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    const bool safe = !args.isEmpty() && args.front() == QLatin1String("--safe");
    if (safe)
        args.removeFirst();
    if (args.size() != 2)
        return 2;
    QFile in(args.at(0));
    if (!in.open(QIODevice::ReadOnly))
        return 1;
#ifndef BARE_TOOL_CORE_ONLY
    const QImage touch(1, 1, QImage::Format_Mono);   // Qt Gui loaded and used
    if (touch.isNull())
        return 1;
#endif
    if (safe) {
        QSaveFile out(args.at(1));
        return out.open(QIODevice::WriteOnly) && out.write(in.readAll()) >= 0 && out.commit() ? 0 : 1;
    }
    QFile out(args.at(1));
    return out.open(QIODevice::WriteOnly) && out.write(in.readAll()) >= 0 ? 0 : 1;
}
