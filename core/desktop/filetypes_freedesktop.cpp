#include "desktop/filetypes_freedesktop.h"

#include "desktop/inifile.h"
#include "desktop/xdgfiles.h"
#include "desktop/profile.h"
#include "desktop/safewrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QXmlStreamReader>

static void initDesktopData()
{
    Q_INIT_RESOURCE(desktopdata);
}

namespace logo {

#ifndef Q_OS_WIN
std::unique_ptr<FileTypeTree> desktopFileTypes()
{
    return std::make_unique<FreedesktopFileTypes>();
}
#endif

using namespace xdgfiles;

namespace {

const QString kPackageName = QStringLiteral("vornhal-logos.xml");
const QString kEntryGroup = QStringLiteral("Desktop Entry");
const QString kDefaultGroup = QStringLiteral("Default Applications");
const QString kAddedGroup = QStringLiteral("Added Associations");

QByteArray resource(const QString &name)
{
    initDesktopData();
    QFile f(QStringLiteral(":/desktop/") + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

// ---------------------------------------------------------------- folders

QString FreedesktopFileTypes::dataHome()
{
    return envHome("XDG_DATA_HOME", QStringLiteral("/.local/share"));
}

QStringList FreedesktopFileTypes::dataDirs()
{
    return QStringList{dataHome()} + envDirs("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"));
}

QString FreedesktopFileTypes::configHome()
{
    return envHome("XDG_CONFIG_HOME", QStringLiteral("/.config"));
}

QStringList FreedesktopFileTypes::configDirs()
{
    return QStringList{configHome()} + envDirs("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg"));
}

// ---------------------------------------------------------------- set-up

QList<FreedesktopFileTypes::ClassEntry> FreedesktopFileTypes::programClasses()
{
    QList<ClassEntry> classes;
    for (const ProgramProfile *p : {&ProgramProfile::quillet(), &ProgramProfile::brisvane()})
        classes.append({p->fileTypes.value(0).className, p->desktopEntry});
    return classes;
}

FreedesktopFileTypes::FreedesktopFileTypes(const QList<ClassEntry> &classes, const QString &installFolder)
    : m_classes(classes),
      m_installFolder(installFolder.isEmpty() ? QString() : QFileInfo(installFolder).canonicalFilePath())
{
    removeStaleEntries();
    // Our package: each glob "*.ext" of a type.
    QXmlStreamReader xml(resource(kPackageName));
    QString type;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("mime-type"))
            type = xml.attributes().value(QLatin1String("type")).toString();
        else if (xml.name() == QLatin1String("glob"))
            m_types.insert(xml.attributes().value(QLatin1String("pattern")).toString().mid(1).toLower(), type);
    }
    // Which of them the MIME database knows: "weight:type:glob" lines.
    const QSet<QString> ours(m_types.cbegin(), m_types.cend());
    for (const QString &dir : dataDirs())
        for (const QString &line : readLines(dir + QStringLiteral("/mime/globs2"))) {
            const QString known = line.section(QLatin1Char(':'), 1, 1);
            if (ours.contains(known))
                m_knownTypes.insert(known);
        }
}

QString FreedesktopFileTypes::mimeTypeOf(const QString &extension) const
{
    return m_types.value(extension.toLower());
}

FreedesktopFileTypes::Part FreedesktopFileTypes::partOf(const QString &key, QString *name) const
{
    if (key.startsWith(QLatin1Char('.'))) {
        *name = mimeTypeOf(key);
        return name->isEmpty() ? Part::Unknown : Part::Extension;
    }
    *name = key.section(QLatin1Char('\\'), 0, 0);
    if (entryFile(*name).isEmpty())
        return Part::Unknown;
    const QString rest = key.section(QLatin1Char('\\'), 1).toLower();
    if (rest.isEmpty())
        return Part::Class;
    if (rest == QLatin1String("shell\\open\\command"))
        return Part::Command;
    if (rest == QLatin1String("defaulticon"))
        return Part::Icon;
    return Part::Unknown;
}

// ---------------------------------------------------------------- desktop entries

QString FreedesktopFileTypes::entryFile(const QString &className) const
{
    for (const ClassEntry &c : m_classes)
        if (c.className == className)
            return c.entry + QStringLiteral(".desktop");
    return {};
}

QString FreedesktopFileTypes::installedEntry(const QString &className) const
{
    const QString file = entryFile(className);
    for (const QString &dir : dataDirs()) {
        const QString path = dir + QStringLiteral("/applications/") + file;
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

QString FreedesktopFileTypes::entryValue(const QString &className, const QString &key) const
{
    const QString path = installedEntry(className);
    if (path.isEmpty())
        return {};
    return iniValue(path, kEntryGroup, key).value_or(QString());
}

bool FreedesktopFileTypes::isInstalledProgram(const QString &program) const
{
    const QFileInfo info(program);
    return !m_installFolder.isEmpty() && info.isAbsolute() && info.isFile() &&
           QFileInfo(info.absolutePath()).canonicalFilePath() == m_installFolder;
}

void FreedesktopFileTypes::removeStaleEntries()
{
    // Ours: an entry of our name in the user's folder that starts a program
    // of that name. Stale: that program is not the installed one (a build
    // folder's, or one that is gone), so the entry only hides the installed.
    for (const ClassEntry &c : std::as_const(m_classes)) {
        const QString path = dataHome() + QStringLiteral("/applications/") + c.entry + QStringLiteral(".desktop");
        if (!QFileInfo(path).isFile())
            continue;
        const QString program = programOfExec(iniValue(path, kEntryGroup, QStringLiteral("Exec")).value_or(QString()));
        if (QFileInfo(program).fileName() == c.entry && !isInstalledProgram(program) && QFile::remove(path))
            m_entriesChanged = true;
    }
}

bool FreedesktopFileTypes::writeEntry(const QString &className, const QString &key, const QString &value)
{
    // The user's copy of the entry: the installed entry, else our own, with the change.
    const QString installed = installedEntry(className);
    const QString file = entryFile(className);
    IniFile entry = installed.isEmpty()
                        ? IniFile(QString::fromUtf8(resource(file)).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
                                  IniRules::desktopEntry())
                        : readIni(installed);
    if (entry.isEmpty())
        return false;
    entry.setValue(kEntryGroup, key, value);
    if (key == QLatin1String("Exec"))
        entry.setValue(kEntryGroup, QStringLiteral("TryExec"), QString());
    // Only an entry that starts the installed program.
    if (!isInstalledProgram(programOfExec(entry.value(kEntryGroup, QStringLiteral("Exec")).value_or(QString()))))
        return false;
    return writeFile(dataHome() + QStringLiteral("/applications/") + file, entry.toBytes(), &m_entriesChanged);
}

QString FreedesktopFileTypes::execValue(const QString &program)
{
    QString quoted;
    for (const QChar c : program) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    quoted.replace(QLatin1Char('%'), QStringLiteral("%%"));
    return escapeValue(QLatin1Char('"') + quoted + QLatin1Char('"')) + QStringLiteral(" %f");
}

QString FreedesktopFileTypes::programOfExec(const QString &exec)
{
    const QString text = unescapeValue(exec).trimmed();
    QString program;
    if (text.startsWith(QLatin1Char('"'))) {
        for (qsizetype i = 1; i < text.size() && text[i] != QLatin1Char('"'); ++i) {
            if (text[i] == QLatin1Char('\\') && i + 1 < text.size())
                ++i;
            program += text[i];
        }
    } else {
        program = text.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
    }
    program.replace(QStringLiteral("%%"), QStringLiteral("%"));
    if (program.isEmpty())
        return {};
    if (!program.contains(QLatin1Char('/'))) {
        const QString found = QStandardPaths::findExecutable(program);
        if (found.isEmpty())
            return program;
        program = found;
    }
    const QString canonical = QFileInfo(program).canonicalFilePath();
    return canonical.isEmpty() ? program : canonical;
}

// ---------------------------------------------------------------- defaults

QString FreedesktopFileTypes::defaultApplication(const QString &mimeType) const
{
    // mimeapps.list in the configuration folders, then in the data folders'
    // applications, the desktop's own list before the common one.
    QStringList lists;
    const QStringList desktops = qEnvironmentVariable("XDG_CURRENT_DESKTOP").toLower().split(QLatin1Char(':'),
                                                                                            Qt::SkipEmptyParts);
    QStringList folders = configDirs();
    for (const QString &d : dataDirs())
        folders << d + QStringLiteral("/applications");
    for (const QString &folder : folders) {
        for (const QString &desktop : desktops)
            lists << folder + QLatin1Char('/') + desktop + QStringLiteral("-mimeapps.list");
        lists << folder + QStringLiteral("/mimeapps.list");
    }
    for (const QString &list : lists) {
        const QStringList ids = listValue(iniValue(list, kDefaultGroup, mimeType));
        if (!ids.isEmpty())
            return ids.front();
    }
    // No choice made: the applications that say they open the type, as the
    // desktop database lists them, else as their entries say.
    for (const QString &d : dataDirs()) {
        const QStringList ids = listValue(
            iniValue(d + QStringLiteral("/applications/mimeinfo.cache"), QStringLiteral("MIME Cache"), mimeType));
        if (!ids.isEmpty())
            return ids.front();
    }
    for (const QString &d : dataDirs()) {
        const QDir apps(d + QStringLiteral("/applications"));
        for (const QString &file : apps.entryList({QStringLiteral("*.desktop")}, QDir::Files, QDir::Name))
            if (listValue(iniValue(apps.filePath(file), kEntryGroup, QStringLiteral("MimeType")))
                    .contains(mimeType))
                return file;
    }
    return {};
}

bool FreedesktopFileTypes::setDefaultApplication(const QString &mimeType, const QString &entry)
{
    const QString path = configHome() + QStringLiteral("/mimeapps.list");
    IniFile list = readIni(path);
    list.setValue(kDefaultGroup, mimeType, entry + QLatin1Char(';'));
    QStringList added = listValue(list.value(kAddedGroup, mimeType));
    added.removeAll(entry);
    added.prepend(entry);
    list.setValue(kAddedGroup, mimeType, added.join(QLatin1Char(';')) + QLatin1Char(';'));
    return writeFile(path, list.toBytes());
}

// ---------------------------------------------------------------- MIME package and icon

bool FreedesktopFileTypes::installPackage()
{
    // Also an unchanged package: the database did not know the type.
    const QByteArray package = resource(kPackageName);
    if (package.isEmpty() || !writeFile(dataHome() + QStringLiteral("/mime/packages/") + kPackageName, package))
        return false;
    m_mimeChanged = true;
    for (const QString &type : m_types)
        m_knownTypes.insert(type);
    return true;
}

void FreedesktopFileTypes::installIconIfMissing(const QString &icon)
{
    if (icon.isEmpty() || icon.contains(QLatin1Char('/')))
        return;
    for (const QString &d : dataDirs()) {
        const QDir theme(d + QStringLiteral("/icons/hicolor"));
        for (const QString &size : theme.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            for (const char *ext : {".svg", ".png"})
                if (QFileInfo::exists(theme.filePath(size + QStringLiteral("/apps/") + icon + QLatin1String(ext))))
                    return;
    }
    const QByteArray svg = resource(icon + QStringLiteral(".svg"));
    if (!svg.isEmpty())
        writeFile(dataHome() + QStringLiteral("/icons/hicolor/scalable/apps/") + icon + QStringLiteral(".svg"), svg);
}

// ---------------------------------------------------------------- the tree

bool FreedesktopFileTypes::exists(const QString &key) const
{
    QString name;
    switch (partOf(key, &name)) {
    case Part::Extension: return m_knownTypes.contains(name);
    case Part::Class: return !installedEntry(name).isEmpty();
    case Part::Command: return !entryValue(name, QStringLiteral("Exec")).isEmpty();
    case Part::Icon: return !entryValue(name, QStringLiteral("Icon")).isEmpty();
    case Part::Unknown: break;
    }
    return false;
}

std::optional<QString> FreedesktopFileTypes::value(const QString &key) const
{
    if (!exists(key))
        return std::nullopt;
    QString name;
    switch (partOf(key, &name)) {
    case Part::Extension: {
        const QString entry = defaultApplication(name);
        for (const ClassEntry &c : m_classes)
            if (entry == c.entry + QStringLiteral(".desktop"))
                return c.className;
        return entry;
    }
    case Part::Command: return programOfExec(entryValue(name, QStringLiteral("Exec")));
    case Part::Icon: return entryValue(name, QStringLiteral("Icon"));
    case Part::Class:
    case Part::Unknown: break;
    }
    return std::nullopt;
}

bool FreedesktopFileTypes::create(const QString &key)
{
    QString name;
    switch (partOf(key, &name)) {
    case Part::Extension: return installPackage();
    case Part::Class:
    case Part::Command:
    case Part::Icon: return exists(name) || writeEntry(name, QStringLiteral("Type"), QStringLiteral("Application"));
    case Part::Unknown: break;
    }
    return false;
}

bool FreedesktopFileTypes::setValue(const QString &key, const QString &value)
{
    QString name;
    switch (partOf(key, &name)) {
    case Part::Extension: {
        const QString entry = entryFile(value);
        return !entry.isEmpty() && (exists(key) || installPackage()) && setDefaultApplication(name, entry);
    }
    case Part::Class: return true;
    case Part::Command:
        if (exists(key) && programOfExec(entryValue(name, QStringLiteral("Exec"))) == value)
            return true;
        return writeEntry(name, QStringLiteral("Exec"), execValue(value));
    case Part::Icon:
        installIconIfMissing(value);
        return entryValue(name, QStringLiteral("Icon")) == value || writeEntry(name, QStringLiteral("Icon"), value);
    case Part::Unknown: break;
    }
    return false;
}

QString FreedesktopFileTypes::commandValue(const QString &program) const
{
    const QString canonical = QFileInfo(program).canonicalFilePath();
    return canonical.isEmpty() ? program : canonical;
}

QString FreedesktopFileTypes::iconValue(const QString &, const QString &className) const
{
    for (const ClassEntry &c : m_classes)
        if (c.className == className)
            return c.entry;
    return {};
}

void FreedesktopFileTypes::commit()
{
    auto run = [](const QString &tool, const QString &folder) {
        const QString path = QStandardPaths::findExecutable(tool);
        if (path.isEmpty())
            return;
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.setStandardOutputFile(QProcess::nullDevice());
        p.start(path, {folder});
        if (!p.waitForFinished(30000))
            p.kill();
        p.waitForFinished(1000);
    };
    if (m_mimeChanged)
        run(QStringLiteral("update-mime-database"), dataHome() + QStringLiteral("/mime"));
    if (m_entriesChanged)
        run(QStringLiteral("update-desktop-database"), dataHome() + QStringLiteral("/applications"));
    m_mimeChanged = m_entriesChanged = false;
}

} // namespace logo
