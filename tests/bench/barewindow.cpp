// barewindow: the yardstick of bench_start. A bare Qt main window with a menu
// and a label, started to its first saved frame the way the programs' own
// --screenshot does it; given a size, the window takes that size, so that the
// painting and saving of a frame as large as a program's weigh the same.
//
// Usage: barewindow --screenshot PNG [WIDTHxHEIGHT]
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 3 || args.size() > 4 || args.at(1) != QLatin1String("--screenshot"))
        return 2;
    QMainWindow window;
    QMenu *file = window.menuBar()->addMenu(QStringLiteral("&File"));
    for (const char *item : {"&New", "&Open...", "&Save", "Save &As...", "E&xit"})
        file->addAction(QString::fromLatin1(item));
    window.menuBar()->addMenu(QStringLiteral("&Edit"))->addAction(QStringLiteral("&Undo"));
    window.setCentralWidget(new QLabel(QStringLiteral("A bare window")));
    if (args.size() == 4) {
        const QStringList size = args.at(3).split(QLatin1Char('x'));
        if (size.size() != 2)
            return 2;
        window.resize(size.at(0).toInt(), size.at(1).toInt());
    }
    window.show();
    QCoreApplication::processEvents();
    return window.grab().toImage().save(args.at(2), "PNG") ? 0 : 1;
}
