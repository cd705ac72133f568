// barewindow: the yardstick of bench_start. A bare Qt main window with a menu
// and a label, started to its first saved frame the way the programs' own
// --screenshot does it.
//
// Usage: barewindow --screenshot PNG
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 3 || args.at(1) != QLatin1String("--screenshot"))
        return 2;
    QMainWindow window;
    QMenu *file = window.menuBar()->addMenu(QStringLiteral("&File"));
    for (const char *item : {"&New", "&Open...", "&Save", "Save &As...", "E&xit"})
        file->addAction(QString::fromLatin1(item));
    window.menuBar()->addMenu(QStringLiteral("&Edit"))->addAction(QStringLiteral("&Undo"));
    window.setCentralWidget(new QLabel(QStringLiteral("A bare window")));
    window.show();
    QCoreApplication::processEvents();
    return window.grab().toImage().save(args.at(2), "PNG") ? 0 : 1;
}
