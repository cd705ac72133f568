// baretool: the yardstick of `logotool convert` in bench_start. A bare Qt
// console program on Qt Core and Gui (as the tool's picture code needs)
// doing the same copy of one file.
//
// Usage: baretool IN OUT
#include <QCoreApplication>
#include <QFile>
#include <QImage>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3)
        return 2;
    QFile in(args.at(1));
    QFile out(args.at(2));
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        return 1;
    const QImage touch(1, 1, QImage::Format_Mono);   // Qt Gui loaded and used, as by the tool
    return touch.isNull() || out.write(in.readAll()) < 0 ? 1 : 0;
}
