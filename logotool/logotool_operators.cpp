// logotool operators: Brisvane's operator list, as its window fills it.
#include "logotool.h"

#include "brisvanemodel/brisvanedocument.h"
#include "brisvanemodel/operatortable.h"
#include "desktop/appfolders.h"
#include "graphic/pathutil.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace logotool {

namespace {
const char *kOperatorsUsage =
    "usage: logotool operators [--update FILE]\n"
    "  One operator a line, in the order of the list: country - name;MCC;MNC;web address.\n"
    "  The update file OPUPDATE.CSV beside the program is read as Brisvane reads it;\n"
    "  --update reads FILE instead.";
} // namespace

int operatorsCommand(const QStringList &argv)
{
    const Args a(argv);
    if (a.has(QStringLiteral("--help"))) {
        out(QString::fromLatin1(kOperatorsUsage));
        return 0;
    }
    const bool update = a.has(QStringLiteral("--update"));
    const QString file = a.value(QStringLiteral("--update"));
    if (!a.positional.isEmpty() || !a.unknown({QStringLiteral("--update")}).isEmpty() || (update && file.isEmpty()))
        return err(QString::fromLatin1(kOperatorsUsage), 2);

    QString path = file;
    if (!update)
        path = logo::AppFolders(QCoreApplication::applicationDirPath()).find(brisvane::BrisvaneDocument::UpdateFileName);
    else if (!QFileInfo(file).isFile())
        return err(QStringLiteral("%1: no such file").arg(file));

    brisvane::OperatorTable table;
    const brisvane::UpdateReport report = path.isEmpty() ? brisvane::UpdateReport() : table.appendUpdateFile(path);
    for (const brisvane::OperatorListEntry &e : table.listEntries()) {
        if (e.item >= table.count())
            continue;   // the special entries
        const brisvane::OperatorRecord &r = table.at(e.item);
        out(QStringLiteral("%1;%2;%3;%4").arg(e.text, brisvane::formatMccText(r.mcc), brisvane::formatMncText(r.mnc), r.web));
    }
    if (report.failed())
        return err(report.message(logo::fileTitle(path).isEmpty() ? path : logo::fileTitle(path)));
    return 0;
}

} // namespace logotool
