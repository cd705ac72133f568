#pragma once
// `logotool serve` runs the gateway from a module of its own (logoserve), so
// that no other command of the tool loads Qt HTTP Server, Qt SQL and Qt
// Network. The tool reads the options and the settings; the module listens
// and serves.
#include <QString>
#include <cstdio>

namespace logo {
class SettingsStore;
}

namespace logotool {

struct ServeRequest {
    QString listen;          // HOST:PORT; empty for 127.0.0.1:8080
    QString token;           // the access code, empty for none
    QString database;        // empty for gateway.sqlite in the data folder
    int port = 0;            // > 0: instead of "COMPort"
    QString device;          // instead of the device the port maps to
    bool quickLink = false;
    QString smsc;            // digits instead of "SMSC"
};

using SayFunction = void (*)(FILE *, const QString &);

struct ServeModule {
    int abi;
    unsigned qtVersion;
    // The address and access code checked before anything else: 0, or the
    // exit code with the error's text.
    int (*checkAddress)(const ServeRequest &request, QString *error);
    // Serves until the process ends; the exit code of a failure to start.
    int (*serve)(const ServeRequest &request, logo::SettingsStore &settings, SayFunction say);
};
constexpr int ServeModuleAbi = 1;
using ServeModuleEntry = const ServeModule *(*)();
inline constexpr char ServeModuleEntryName[] = "logotoolServeModule";

} // namespace logotool
