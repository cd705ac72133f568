#pragma once
// The simulated phone (the phonesim program) on a pseudo-terminal, for the
// life of the object: the real serial path end to end.
#include <QByteArray>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

namespace logotest {

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

} // namespace logotest
