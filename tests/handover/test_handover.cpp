// One instance per user: the hand-over message, and the two sides over a
// real local socket.
#include "common/testsupport.h"
#include "desktop/profile.h"
#include "graphic/logofile.h"
#include "desktop/appfolders.h"
#include "handover/handover.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QProcess>
#include <QThread>
#include <map>
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
            prompt, [this] { return busy; }, [this](const QString &p) { opened << p; });
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
    const QString path = logotest::longPath(QStringLiteral("/home"));
    QString got;
    EXPECT_EQ(InstanceHandOver::decode(InstanceHandOver::encode(path), &got), InstanceHandOver::Parse::Open);
    EXPECT_EQ(got, path);
    EXPECT_EQ(InstanceHandOver::decode(InstanceHandOver::encode(QString()), &got), InstanceHandOver::Parse::Raise);
    // The launcher's token travels with the message; a token that isn't one is left out.
    QByteArray token;
    const QByteArray id = "openbox/quillet/4711-0-host_TIME123";
    EXPECT_EQ(InstanceHandOver::decode(InstanceHandOver::encode(path, id), &got, &token), InstanceHandOver::Parse::Open);
    EXPECT_EQ(got, path);
    EXPECT_EQ(token, id);
    token.clear();
    EXPECT_EQ(InstanceHandOver::decode(InstanceHandOver::encode(QString(), "a b\n"), &got, &token),
              InstanceHandOver::Parse::Raise);
    EXPECT_TRUE(token.isEmpty());
    const QByteArray withToken = InstanceHandOver::encode(QStringLiteral("/a"), id);
    for (qsizetype n = 0; n < withToken.size(); ++n)
        EXPECT_EQ(InstanceHandOver::decode(withToken.left(n), &got), InstanceHandOver::Parse::Incomplete) << n;
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
                              "HANDOVER 1\nOPEN 2\n\xff\xfe",
                              "HANDOVER 1\nTOKEN \nRAISE\n",
                              "HANDOVER 1\nTOKEN a\x01\nRAISE\n",
                              "HANDOVER 1\nTOKEN a\nTOKEN b\nRAISE\n",
                              "HANDOVER 1\nTOKEN " + QByteArray(600, 'x')};
    for (const QByteArray &b : bad)
        EXPECT_EQ(InstanceHandOver::decode(b, &got), InstanceHandOver::Parse::Invalid) << b.constData();
}

TEST(HandOver, PathsArriveWholeNoPathOnlyRaisesBusyBeeps)
{
    Receiver r;
    const QString path = logotest::longPath(QStringLiteral("/home/user"));
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

// A second start hands its file over whatever the settings say: a busy mark
// there may be left by an instance that was killed with a dialog open. The
// running window judges by its own state and beeps when it is busy.
TEST(HandOver, TheRunningWindowJudgesBusyNotTheSettings)
{
    Receiver r;
    logotest::Sandbox box;
    box.settings().writeBool(QStringLiteral("Quillet Settings"), QStringLiteral("CurrentBusy"), true);
    for (const bool busy : {true, false}) {
        r.busy = busy;
        const QString name = r.name;
        const Start s = serving([name] {
            InstanceHandOver second(ProgramProfile::quillet(), name);
            second.setActivationToken("id_TIME1");
            return second.start(QStringLiteral("/tmp/c.ngg"));
        });
        EXPECT_EQ(s, Start::HandedOver);
        EXPECT_EQ(r.prompt.count(ShownPrompt::Kind::Beep), 1);
        EXPECT_EQ(r.opened, busy ? QStringList() : QStringList{QStringLiteral("/tmp/c.ngg")});
    }
}

// The token reaches the window's activation.
TEST(HandOver, TheLaunchTokenActivatesTheWindow)
{
    Receiver r;
    QList<QByteArray> tokens;
    r.server.receiveInto(
        r.prompt, [] { return false; }, [](const QString &) {},
        [&](const QByteArray &token) { tokens << token; });
    const QString name = r.name;
    serving([name] { return InstanceHandOver::send(name, QStringLiteral("/x.ngg"), 5000, "tok-1"); });
    serving([name] { return InstanceHandOver::send(name, QString()); });
    EXPECT_EQ(tokens, (QList<QByteArray>{"tok-1", QByteArray()}));
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

// Without a runtime folder the socket goes to a folder of the user's own in
// the temporary folder; when another user has taken that name (a folder of
// theirs, a link to one), a private folder in the user's cache instead, and
// the planted one is left as it was.
TEST(HandOver, ATakenTemporaryFolderFallsBackToThePrivateCache)
{
    logotest::Sandbox box;
    const QString tmp = box.path(QStringLiteral("tmp")), cache = box.path(QStringLiteral("cache"));
    QDir().mkpath(tmp);
    const QString planted = tmp + QStringLiteral("/vornhal-") + QString::number(::getuid());
    const QString victim = box.path(QStringLiteral("theirs"));
    QDir().mkpath(victim);
    QFile::setPermissions(victim, QFileDevice::Permissions(0x7755));
    std::map<const char *, QByteArray> saved;
    for (const char *name : {"XDG_RUNTIME_DIR", "TMPDIR", "XDG_CACHE_HOME"})
        saved[name] = qgetenv(name);
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", QFile::encodeName(tmp));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache));

    const QString own = InstanceHandOver::serverNameFor(ProgramProfile::quillet());
    EXPECT_EQ(QFileInfo(own).absolutePath(), planted);
    QDir(planted).removeRecursively();
    for (const bool link : {false, true}) {
        if (link) {
            QFile::link(victim, planted);
        } else {
            QDir().mkpath(planted);
            QFile::setPermissions(planted, QFileDevice::Permissions(0x7777));
        }
        const QString name = InstanceHandOver::serverNameFor(ProgramProfile::quillet());
        EXPECT_TRUE(name.startsWith(cache + QStringLiteral("/vornhal-"))) << qPrintable(name);
        EXPECT_TRUE(isPrivateFolder(QFileInfo(name).absolutePath()));
        InstanceHandOver server(ProgramProfile::quillet());
        EXPECT_TRUE(server.listen());
        QFile::remove(planted);
        QDir(planted).removeRecursively();
    }
    EXPECT_EQ(QFileInfo(victim).permissions() & 0x0077, 0x0055);
    for (const auto &[name, value] : saved)
        value.isNull() ? qunsetenv(name) : qputenv(name, value);
}
