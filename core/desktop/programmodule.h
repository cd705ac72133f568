#pragma once
// The programs' own modules: parts loaded only when first needed (metafile
// drawing, the hand-over of a second start), so that a start does not load
// the libraries they bring.
#include <QString>
#include <functional>

namespace logo {

// True when the module file may be loaded: on Unix it and its folder (and,
// for a link, where it leads) belong to the user or the system and no one
// else may write them.
bool isTrustedModuleFile(const QString &path);

// The entry point of the first module that is found and trusted and that
// accept takes (a module built for another table or another Qt is refused):
// the file named by the environment variable envVar when it is set, else
// fileName beside the program or in the programs' private library folder.
// The module stays loaded for the life of the process; null when none is
// usable.
using ModuleEntry = void (*)();
ModuleEntry loadProgramModule(const char *envVar, const QString &fileName, const char *entryName,
                              const std::function<bool(ModuleEntry)> &accept);

// The table a module's entry point returns, when the module is found and its
// table is of this program's version (its abi) and of the same Qt, and
// complete() takes it (all its functions there).
template <typename Table>
const Table *loadModuleTable(const char *envVar, const QString &fileName, const char *entryName, int abi,
                             bool (*complete)(const Table &))
{
    using Entry = const Table *(*)();
    const ModuleEntry found = loadProgramModule(envVar, fileName, entryName, [&](ModuleEntry entry) {
        const Table *table = reinterpret_cast<Entry>(entry)();
        return table && table->abi == abi && (table->qtVersion >> 8) == (QT_VERSION >> 8) && complete(*table);
    });
    return found ? reinterpret_cast<Entry>(found)() : nullptr;
}

} // namespace logo
