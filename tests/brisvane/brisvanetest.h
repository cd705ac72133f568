#pragma once
// Brisvane's document on a sandbox: the program's folder and the user's data
// folder inside it, scripted answers, and NOL files written on demand.
#include "brisvane/mainwindow.h"
#include "brisvanemodel/brisvanedocument.h"
#include "brisvanemodel/brisvanefilecommands.h"
#include "common/testsupport.h"
#include "graphic/logofile.h"
#include "picture/pictureimage.h"

#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QFileInfo>
#include <QPoint>
#include <gtest/gtest.h>
#include <memory>

namespace brisvanetest {

inline const QString kTMobile = QStringLiteral("Germany - T-Mobile D1");
inline const QString kSfr = QStringLiteral("France - SFR");

// The folders as an installed program sees them (the tests may run as root,
// who can write anywhere).
struct Folders : logo::AppFolders {
    using AppFolders::AppFolders;
    bool readOnly = false;
    bool canWrite(const QString &path) const override
    {
        return !(readOnly && path.startsWith(programFolder())) && AppFolders::canWrite(path);
    }
};

struct Env {
    logotest::Sandbox box;
    logo::ScriptedPrompt prompt;
    Folders folders{box.path(QStringLiteral("prog")), box.path(QStringLiteral("user"))};
    std::unique_ptr<brisvane::BrisvaneDocument> doc;
    // The document's file commands, with recent files, folders and run marks
    // (off) of their own.
    logo::RecentFiles recent{logo::ProgramProfile::brisvane()};
    logo::DialogFolders dialogFolders;
    logo::RunMarks marks{box.settings(), logo::ProgramProfile::brisvane().settingsSection};
    std::unique_ptr<brisvane::BrisvaneFileCommands> files;

    Env()
    {
        QDir().mkpath(folders.programFolder());
        QDir().mkpath(folders.userFolder());
    }

    // A document with its operator list filled, as at start.
    brisvane::BrisvaneDocument &start()
    {
        files.reset();
        doc = std::make_unique<brisvane::BrisvaneDocument>(prompt, folders);
        files = std::make_unique<brisvane::BrisvaneFileCommands>(*doc, prompt, recent, dialogFolders, marks);
        doc->reloadOperatorList();
        return *doc;
    }

    QString prog(const QString &name) const { return folders.programFolder() + name; }

    void writeUpdateFile(const QByteArray &lines) { logotest::writeAll(prog(QStringLiteral("OPUPDATE.CSV")), lines); }

    // A NOL file with one pixel set.
    QString nol(const QString &path, int mcc, int mnc, QPoint pixel = {3, 4})
    {
        logo::LogoGrid g;
        g.setPixel(pixel.x(), pixel.y(), true);
        QDir().mkpath(QFileInfo(path).absolutePath());
        logotest::writeAll(path, logo::buildLogoFile(g, true, qint16(mcc), qint16(mnc), 50, QString(), QString()));
        return path;
    }

    // The table index of the list entry with this text; -1 when there is none.
    int item(const QString &text) const
    {
        for (const auto &e : doc->operatorList())
            if (e.text == text)
                return e.item;
        return -1;
    }
    void pick(const QString &text) { doc->onOperatorChosen(item(text)); }
};

// Brisvane's main window on the same folders; doc is the window's document.
struct WindowEnv : Env {
    std::unique_ptr<brisvane::MainWindow> window;

    brisvane::MainWindow &open(const QString &commandLine = QString())
    {
        window.reset();
        window = std::make_unique<brisvane::MainWindow>(prompt, box.settings(), std::make_unique<Folders>(folders),
                                                        commandLine);
        return *window;
    }
    brisvane::BrisvaneDocument &wdoc() { return window->doc(); }
    QAction *action(const QString &name) { return window->menuAction(name); }
    template <class T = QWidget>
    T *widget(const char *name)
    {
        return window->findChild<T *>(QLatin1String(name));
    }
    QString setting(const QString &key) { return box.settings().read(QStringLiteral("Brisvane Settings"), key); }
};

// ---- helpers of the window tests

// The user picks a list entry by its text.
inline void choose(WindowEnv &env, const QString &text)
{
    auto *list = env.widget<QComboBox>("cmbOperator");
    const int row = list->findText(text);
    ASSERT_GE(row, 0) << text.toStdString();
    list->setCurrentIndex(row);
    emit list->activated(row);
}

inline QString label(WindowEnv &env, const char *name)
{
    return env.widget<QLabel>(name)->text();
}

// A logo with a diagonal line and a frame, so a shifted or scaled picture shows.
inline logo::LogoGrid pattern()
{
    logo::LogoGrid g;
    for (int c = 0; c < 72; ++c) {
        g.setPixel(c, 0, true);
        g.setPixel(c, c % 14, true);
    }
    for (int r = 0; r < 14; ++r)
        g.setPixel(71, r, true);
    return g;
}

inline QString writeNol(const QString &path, const logo::LogoGrid &g, int mcc, int mnc)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    logotest::writeAll(path, logo::buildLogoFile(g, true, qint16(mcc), qint16(mnc), 50, QString(), QString()));
    return path;
}

// Where the logo's pixels differ from black on green in the picture, with the
// display's top-left corner at origin; empty when they all match.
inline QString displayMismatch(const QImage &picture, QPoint origin, const logo::LogoGrid &g)
{
    for (int r = 0; r < 14; ++r)
        for (int c = 0; c < 72; ++c) {
            const QRgb want = g.isSet(c, r) ? qRgb(0, 0, 0) : logo::DisplayGreen;
            if (picture.pixel(origin + QPoint(c, r)) != want)
                return QStringLiteral("pixel %1,%2").arg(c).arg(r);
        }
    return {};
}

inline QImage clientArea(WindowEnv &env)
{
    return env.window->centralWidget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace brisvanetest
