#pragma once
// The simulated phones (the phonesim and irsim programs) on pseudo-terminals,
// for the life of the object: the real serial path end to end.
#include <QByteArray>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

namespace logotest {

// The job timer of the serial tests against the simulated phone: the
// programs' one second shortened, so that a job's ticks, repeats and patience
// take a fraction of their real time. The phone answers within a few
// milliseconds; a slow phone is simulated as slow against this tick.
constexpr int kFastTickMs = 50;

class SimPhone {
public:
    explicit SimPhone(QStringList args = {});
    ~SimPhone();
    static bool available();          // phonesim has been built

    QByteArray logged() const;        // the PDU lines it received
    QStringList commands() const;     // every command and PDU line it received

    QTemporaryDir dir;
    QProcess process;
    QString device, log, transcript;
};

// irsim, the 61xx phone behind an infrared adapter.
class SimIrPhone {
public:
    explicit SimIrPhone(QStringList args = {});
    ~SimIrPhone();
    static bool available();          // irsim has been built

    // What it has reported since its device line ("connected 7C",
    // "message HEX", the picture's rows, "disconnected").
    QStringList report();

    QProcess process;
    QString device;

private:
    QStringList m_said;
};

} // namespace logotest
