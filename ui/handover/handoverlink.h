#pragma once
// The socket side of the hand-over, as the program sees it. It lives in a
// module of its own (logohandoverlink, loaded by SingleInstance) so that a
// start loads the network library only when another instance already runs,
// or once its own window is up.
#include <QByteArray>
#include <QString>
#include <functional>

namespace logo {

class Prompt;
struct ProgramProfile;

class HandOverLink {
public:
    enum class Send { Delivered, NoInstance, Refused };
    virtual ~HandOverLink() = default;
    // The sending side: the path (empty to only raise the window) and the
    // desktop's token to the instance listening, and its answer.
    virtual Send send(const QString &path, const QByteArray &token) = 0;
    // The receiving side: listens (a socket left by an instance that crashed
    // is taken over) and hands each message to the window, as
    // InstanceHandOver::receiveInto does.
    virtual bool listen() = 0;
    virtual void receiveInto(Prompt &prompt, std::function<bool()> busy, std::function<void(const QString &)> open,
                             std::function<void(const QByteArray &)> raise) = 0;
};

// The module's one exported function returns this table.
struct HandOverLinkModule {
    int abi;
    unsigned qtVersion;
    HandOverLink *(*create)(const ProgramProfile &profile, const QString &serverName);
};
constexpr int HandOverLinkAbi = 1;
using HandOverLinkEntry = const HandOverLinkModule *(*)();
inline constexpr char HandOverLinkEntryName[] = "logoHandOverLinkModule";

} // namespace logo
