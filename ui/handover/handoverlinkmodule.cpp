// The hand-over's socket side as a module: InstanceHandOver behind the
// program's HandOverLink.
#include "handover/handover.h"
#include "handover/handoverlink.h"

namespace {

class SocketLink final : public logo::HandOverLink {
public:
    SocketLink(const logo::ProgramProfile &profile, const QString &name) : m_handOver(profile, name) {}

    Send send(const QString &path, const QByteArray &token) override
    {
        using Sent = logo::InstanceHandOver::Send;
        switch (logo::InstanceHandOver::send(m_handOver.serverName(), path, 5000, token)) {
        case Sent::Delivered:
            return Send::Delivered;
        case Sent::NoInstance:
            return Send::NoInstance;
        case Sent::Refused:
            break;
        }
        return Send::Refused;
    }
    bool listen() override { return m_handOver.listen(); }
    void receiveInto(logo::Prompt &prompt, std::function<bool()> busy, std::function<void(const QString &)> open,
                     std::function<void(const QByteArray &)> raise) override
    {
        m_handOver.receiveInto(prompt, std::move(busy), std::move(open), std::move(raise));
    }

private:
    logo::InstanceHandOver m_handOver;
};

logo::HandOverLink *create(const logo::ProgramProfile &profile, const QString &serverName)
{
    return new SocketLink(profile, serverName);
}

} // namespace

extern "C" Q_DECL_EXPORT const logo::HandOverLinkModule *logoHandOverLinkModule()
{
    static const logo::HandOverLinkModule module{logo::HandOverLinkAbi, QT_VERSION, &create};
    return &module;
}
