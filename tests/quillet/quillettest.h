#pragma once
// A Quillet main window on a private settings store and scratch folder, with
// scripted answers and the browser replaced by a list of addresses.
#include "common/testsupport.h"
#include "graphic/logofile.h"
#include "quillet/gridview.h"
#include "quillet/logopreview.h"
#include "quillet/mainwindow.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QUrl>
#include <memory>
#include <vector>

namespace quillettest {

inline const QString kSection = QStringLiteral("Quillet Settings");
inline const QString kRecent = QStringLiteral("Quillet Recent File List");

struct Env {
    logotest::Sandbox box;
    logo::ScriptedPrompt prompt;
    std::unique_ptr<quillet::MainWindow> window;
    std::vector<QString> openedUrls;

    quillet::MainWindow &start(const QString &commandLine = QString())
    {
        window.reset();
        window = std::make_unique<quillet::MainWindow>(logo::ProgramProfile::quillet(), prompt, box.settings(),
                                                       box.dir(), commandLine);
        window->setUrlOpener([this](const QUrl &url) { openedUrls.push_back(url.toString()); });
        return *window;
    }

    logo::LogoDocument &doc() { return window->document(); }
    QAction *action(const char *name) { return window->findChild<QAction *>(QLatin1String(name)); }
    template <class T = QWidget>
    T *widget(const char *name)
    {
        return window->findChild<T *>(QLatin1String(name));
    }
    quillet::GridView *grid() { return widget<quillet::GridView>("picMain"); }
    quillet::LogoPreview *display() { return widget<quillet::LogoPreview>("picDisplay"); }
    quillet::LogoPreview *hiddenCopy() { return widget<quillet::LogoPreview>("picMyBMP"); }
    QString setting(const QString &key) { return box.settings().read(QStringLiteral("Quillet Settings"), key); }

    // An NGG file in the sandbox with the given pixels set.
    QString ngg(const QString &name, std::initializer_list<QPoint> pixels = {{2, 2}}, int width = 72,
                int height = 14)
    {
        logo::LogoGrid g;
        g.setSize(width, height);
        for (const QPoint &p : pixels)
            g.setPixel(p.x(), p.y(), true);
        const QString path = box.path(name);
        logotest::writeAll(path, logo::buildLogoFile(g, false, 0, 0, 50, QString(), QString()));
        return path;
    }
};

// Middle of cell (c, r) of picMain.
inline QPoint cellCentre(int c, int r)
{
    return {7 * c + 3, 7 * r + 3};
}

// Sends a mouse event straight to a widget, with the buttons held after it.
inline void sendMouse(QWidget *w, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

// The captions of the recent-file entries the File menu shows.
inline QStringList visibleRecentCaptions(Env &env)
{
    QStringList out;
    for (int n = 1; n <= 4; ++n) {
        QAction *a = env.action(QStringLiteral("mnuRecent%1").arg(n).toLatin1());
        if (a->isVisible())
            out << a->text();
    }
    return out;
}

} // namespace quillettest
