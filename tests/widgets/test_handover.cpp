// One instance per user: the hand-over message, the two sides over a real
// local socket, and two real Quillet processes.
#include "common/testsupport.h"
#include "desktop/profile.h"
#include "graphic/logofile.h"
#include "widgets/handover.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QProcess>
#include <QThread>
#include <future>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace logo;
using Send = InstanceHandOver::Send;
using Start = InstanceHandOver::Start;

namespace {

// Runs a blocking call on another thread while this one serves the socket.
template <class F>
auto serving(F call)
{
    auto result = std::async(std::launch::async, call);
    while (result.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    for (int i = 0; i < 10; ++i)   // the deliveries queued for the event loop
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return result.get();
}

// A path of more than 1000 characters, with spaces and letters beyond ASCII,
// each folder within the file system's name limit.
QString longPath(const QString &root)
{
    QString path = root;
    while (path.size() < 1000)
        path += QStringLiteral("/Grüße aus Åre ünd Ørsted ") + QString(40, QChar(0x00e9));
    return path + QStringLiteral("/pïcture 1.ngg");
}

struct Receiver {
    logotest::Sandbox box;
    QString name = box.path(QStringLiteral("q.socket"));
    InstanceHandOver server{ProgramProfile::quillet(), name};
    ScriptedPrompt prompt;
    bool busy = false;
    QStringList opened;

    Receiver()
    {
        EXPECT_TRUE(server.listen());
        server.receiveInto(
            nullptr, prompt, [this] { return busy; }, [this](const QString &p) { opened << p; });
    }
    Send send(const QString &path)
    {
        const QString n = name;
        return serving([n, path] { return InstanceHandOver::send(n, path); });
    }
};

} // namespace

TEST(HandOverMessage, OnlyWellFormedMessagesCarryAPath)
{
    const QString path = longPath(QStringLiteral("/home"));
    QString got;
    EXPECT_EQ(InstanceHandOver::decode(InstanceHandOver::encode(path), &got), InstanceHandOver::Parse::Open);
    EXPECT_EQ(got, path);
    EXPECT_EQ(InstanceHandOver::decode(InstanceHandOver::encode(QString()), &got), InstanceHandOver::Parse::Raise);
    const QByteArray whole = InstanceHandOver::encode(QStringLiteral("/a b"));
    for (qsizetype n = 0; n < whole.size(); ++n)
        EXPECT_EQ(InstanceHandOver::decode(whole.left(n), &got), InstanceHandOver::Parse::Incomplete) << n;

    const QByteArray bad[] = {"HELLO\n",
                              "HANDOVER 2\nRAISE\n",
                              "HANDOVER 1\nRAISE\nx",
                              "HANDOVER 1\nOPEN 2\nabc",
                              "HANDOVER 1\nOPEN -1\n",
                              "HANDOVER 1\nOPEN 02\nab",
                              "HANDOVER 1\nOPEN x\n",
                              "HANDOVER 1\nOPEN 99999999999\n",
                              QByteArray("HANDOVER 1\nOPEN 1\n\0", 19),
                              "HANDOVER 1\nOPEN 2\n\xff\xfe"};
    for (const QByteArray &b : bad)
        EXPECT_EQ(InstanceHandOver::decode(b, &got), InstanceHandOver::Parse::Invalid) << b.constData();
}

TEST(HandOver, PathsArriveWholeNoPathOnlyRaisesBusyBeeps)
{
    Receiver r;
    const QString path = longPath(QStringLiteral("/home/user"));
    EXPECT_EQ(r.send(path), Send::Delivered);
    EXPECT_EQ(r.opened, QStringList{path});

    EXPECT_EQ(r.send(QString()), Send::Delivered);
    EXPECT_EQ(r.opened.size(), 1);

    r.busy = true;
    EXPECT_EQ(r.send(QStringLiteral("/tmp/b.ngg")), Send::Delivered);
    EXPECT_EQ(r.opened.size(), 1);
    EXPECT_EQ(r.prompt.count(ShownPrompt::Kind::Beep), 1);
}

TEST(HandOver, MalformedMessagesAreDroppedUnanswered)
{
    Receiver r;
    const QString name = r.name;
    const QByteArray answer = serving([name] {
        QLocalSocket s;
        s.connectToServer(name);
        s.waitForConnected(1000);
        s.write("HANDOVER 1\nOPEN 3\n/a\0", 21);
        s.waitForBytesWritten(1000);
        s.waitForDisconnected(3000);
        return s.readAll();
    });
    EXPECT_TRUE(answer.isEmpty());
    EXPECT_TRUE(r.opened.isEmpty());
    EXPECT_EQ(r.send(QStringLiteral("/x.ngg")), Send::Delivered);   // and the next one is heard
}

// The sending side of a start: busy beeps, anything else is handed over.
TEST(HandOver, ASecondStartBeepsWhenTheFirstIsBusy)
{
    Receiver r;
    for (const bool busy : {true, false}) {
        logotest::Sandbox box;
        if (busy)
            box.settings().writeBool(QStringLiteral("Quillet Settings"), QStringLiteral("CurrentBusy"), true);
        ScriptedPrompt prompt;
        const QString name = r.name;
        const Start s = serving([&box, &prompt, name] {
            InstanceHandOver second(ProgramProfile::quillet(), name);
            return second.start(QStringLiteral("/tmp/c.ngg"), box.settings(), prompt);
        });
        EXPECT_EQ(s, busy ? Start::Busy : Start::HandedOver);
        EXPECT_EQ(prompt.count(ShownPrompt::Kind::Beep), busy ? 1 : 0);
        EXPECT_EQ(r.opened, busy ? QStringList() : QStringList{QStringLiteral("/tmp/c.ngg")});
    }
}

// The socket lies in a folder only this user can enter, under a name that
// carries the user; a runtime folder open to others is not used.
TEST(HandOver, TheSocketIsPrivateToTheUser)
{
    logotest::Sandbox box;
    const QString open = box.path(QStringLiteral("open"));
    QDir().mkpath(open);
    QFile::setPermissions(open, QFileDevice::Permissions(0x7777));
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(open));
    const QString name = InstanceHandOver::serverNameFor(ProgramProfile::quillet());
    qputenv("XDG_RUNTIME_DIR", saved);
    EXPECT_FALSE(name.startsWith(open)) << qPrintable(name);
    EXPECT_TRUE(QFileInfo(name).fileName().contains(QString::number(::getuid())));
    EXPECT_EQ(QFileInfo(QFileInfo(name).absolutePath()).permissions() & 0x0077, 0);
    EXPECT_TRUE(InstanceHandOver::serverNameFor(ProgramProfile::quillet()).startsWith(QString::fromLocal8Bit(saved)));
}

// Two real Quillet processes: the second hands its file to the first and
// ends; after the first is killed, its socket left behind, a new start
// becomes the main instance again.
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
    const QString socket = runtime + QStringLiteral("/quillet-") + QString::number(::getuid()) + QStringLiteral(".socket");

    const QString picture = longPath(box.dir() + QStringLiteral("pictures"));
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
        QProcess first;
        ASSERT_TRUE(startQuillet(first, {}));
        ASSERT_TRUE(waitFor([&] { return InstanceHandOver::send(socket, QString(), 2000) == Send::Delivered; }));
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
    for (const QString program : {QStringLiteral("quillet"), QStringLiteral("brisvane")}) {
        for (const QString option : {QStringLiteral("--help"), QStringLiteral("-h"), QStringLiteral("--version")}) {
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
