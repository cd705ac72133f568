// One instance per user, with the real programs: a second start hands its
// file to the first, and the options that answer without a window.
#include "common/testsupport.h"
#include "desktop/profile.h"
#include "graphic/logofile.h"
#include "handover/handover.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <gtest/gtest.h>

using namespace logo;
using Send = InstanceHandOver::Send;

// Two real Quillet processes: the second hands its file to the first and
// ends; after the first is killed, its socket, lock and a busy mark left
// behind (as by a kill with a dialog open), a new start becomes the main
// instance again and takes the next file, this time from a second start that
// comes before the first window listens.
TEST(HandOverProcesses, ASecondQuilletHandsItsFileToTheFirst)
{
    logotest::Sandbox box;
    const QString log = box.path(QStringLiteral("opened.log"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LOGO_SETTINGS_FILE"), box.settingsFile());
    env.insert(QStringLiteral("LOGO_HANDOVER_LOG"), log);
    const QString runtime = box.path(QStringLiteral("run"));
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    env.insert(QStringLiteral("XDG_DATA_HOME"), box.path(QStringLiteral("data")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), box.path(QStringLiteral("config")));
    const QString socket = runtime + QStringLiteral("/quillet-") + QString::number(::getuid()) + QStringLiteral(".socket");

    const QString picture = logotest::longPath(box.dir() + QStringLiteral("pictures"));
    QDir().mkpath(QFileInfo(picture).absolutePath());
    LogoGrid grid;
    grid.setPixel(3, 3, true);
    ASSERT_TRUE(logotest::writeAll(picture, buildLogoFile(grid, false, 0, 0, 50, QString(), QString())));

    auto startQuillet = [&](QProcess &p, const QStringList &args) {
        p.setProcessEnvironment(env);
        p.start(logotest::toolPath(QStringLiteral("quillet")), args);
        return p.waitForStarted(10000);
    };
    auto waitFor = [](const std::function<bool()> &done) {
        QElapsedTimer t;
        t.start();
        while (!done() && t.elapsed() < 20000)
            QThread::msleep(50);
        return done();
    };

    for (int round = 0; round < 2; ++round) {
        QFile::remove(log);
        box.settings().writeBool(QStringLiteral("Quillet Settings"), QStringLiteral("CurrentBusy"), true);
        box.settings().sync();
        QProcess first;
        ASSERT_TRUE(startQuillet(first, {}));
        if (round == 0) {
            ASSERT_TRUE(waitFor([&] { return InstanceHandOver::send(socket, QString(), 2000) == Send::Delivered; }));
        } else {
            ASSERT_TRUE(waitFor([&] {
                return logotest::readAll(socket + QStringLiteral(".lock")).startsWith(QByteArray::number(first.processId()) + '\n');
            }));
        }
        QProcess second;
        ASSERT_TRUE(startQuillet(second, {picture}));
        EXPECT_TRUE(second.waitForFinished(20000));
        EXPECT_EQ(second.exitCode(), 0);
        EXPECT_TRUE(waitFor([&] { return QFileInfo::exists(log); }));
        EXPECT_EQ(QString::fromUtf8(logotest::readAll(log)), picture + QLatin1Char('\n'));
        first.kill();   // no exit work: the socket file stays
        first.waitForFinished(10000);
        EXPECT_TRUE(QFileInfo::exists(socket));
    }
}

// Asked for help or the version, both programs answer on the terminal and end:
// no window, no hand-over to a running one, nothing written to the settings.
TEST(HandOverProcesses, HelpAndVersionAnswerWithoutStartingAWindow)
{
    logotest::Sandbox box;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LOGO_SETTINGS_FILE"), box.settingsFile());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), box.dir());
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("DISPLAY"));   // a window could not even open
    for (const QString &program : {QStringLiteral("quillet"), QStringLiteral("brisvane")}) {
        for (const QString &option : {QStringLiteral("--help"), QStringLiteral("-h"), QStringLiteral("--version")}) {
            QProcess p;
            p.setProcessEnvironment(env);
            p.start(logotest::toolPath(program), {option});
            ASSERT_TRUE(p.waitForFinished(20000)) << qPrintable(program + QLatin1Char(' ') + option);
            EXPECT_EQ(p.exitCode(), 0) << qPrintable(program + QLatin1Char(' ') + option);
            const QString said = QString::fromUtf8(p.readAllStandardOutput());
            EXPECT_TRUE(said.startsWith(option == QLatin1String("--version") ? program + QLatin1Char(' ')
                                                                             : QStringLiteral("usage: ") + program))
                << qPrintable(said);
        }
    }
    EXPECT_FALSE(QFileInfo::exists(box.settingsFile()));
}

// A screenshot run nobody watches: no question (the file types are left
// alone), a running window's pages stay, and a file that can't be read ends
// the run at once with a failure and the message on the standard error.
TEST(HandOverProcesses, AScreenshotRunAsksNothingAndReportsAFileItCantRead)
{
    logotest::Sandbox box;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LOGO_SETTINGS_FILE"), box.settingsFile());
    for (const char *name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "TMPDIR"}) {
        QDir().mkpath(box.path(QLatin1String(name)));
        QFile::setPermissions(box.path(QLatin1String(name)), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        env.insert(QLatin1String(name), box.path(QLatin1String(name)));
    }
    const QString page = box.path(QStringLiteral("TMPDIR/QLTMP000.HTM"));
    logotest::writeAll(page, "a running window's page");
    logotest::writeAll(box.path(QStringLiteral("bad.nlm")), "not a logo at all");
    const QString png = box.path(QStringLiteral("shot.png"));

    for (const QString &file : {QStringLiteral("bad.nlm"), QStringLiteral("missing.ngg")}) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(logotest::toolPath(QStringLiteral("quillet")), {QStringLiteral("--screenshot"), png, box.path(file)});
        ASSERT_TRUE(p.waitForFinished(20000)) << qPrintable(file);
        EXPECT_EQ(p.exitCode(), 1) << qPrintable(file);
        const QString said = QString::fromUtf8(p.readAllStandardError());
        EXPECT_TRUE(said.contains(QStringLiteral("Can't read this"))) << qPrintable(said);
    }
    // Drawn and saved without loading a single image plugin.
    env.insert(QStringLiteral("QT_DEBUG_PLUGINS"), QStringLiteral("1"));
    QProcess good;
    good.setProcessEnvironment(env);
    good.start(logotest::toolPath(QStringLiteral("quillet")), {QStringLiteral("--screenshot"), png});
    ASSERT_TRUE(good.waitForFinished(20000));
    const QString said = QString::fromUtf8(good.readAllStandardError());
    EXPECT_EQ(good.exitCode(), 0) << qPrintable(said);
    EXPECT_FALSE(said.contains(QRegularExpression(QStringLiteral("imageformats/[^\"]*\" loaded library"))))
        << "an image plugin was loaded";
    EXPECT_TRUE(QFileInfo::exists(png));
    EXPECT_EQ(logotest::readAll(page), "a running window's page");
    EXPECT_TRUE(QDir(box.path(QStringLiteral("XDG_DATA_HOME"))).isEmpty());
    EXPECT_TRUE(QDir(box.path(QStringLiteral("XDG_CONFIG_HOME"))).isEmpty());
}
