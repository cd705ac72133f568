#include "desktop/filetypes.h"

#include "desktop/profile.h"
#include "desktop/prompt.h"
#include "desktop/settingsstore.h"

#include <QCoreApplication>

namespace logo {

namespace {

QString commandKey(const QString &className)
{
    return className + QStringLiteral("\\shell\\open\\command");
}

QString iconKey(const QString &className)
{
    return className + QStringLiteral("\\DefaultIcon");
}

// A new class: its description, the open command and the icon.
void createClass(FileTypeTree &tree, const QString &className, const QString &description, const QString &command,
                 const QString &icon)
{
    tree.create(className);
    tree.setValue(className, description);
    tree.create(commandKey(className));
    tree.setValue(commandKey(className), command);
    tree.create(iconKey(className));
    tree.setValue(iconKey(className), icon);
}

bool settingIsOne(const SettingsStore &settings, const QString &section, const QString &key, int def)
{
    return settings.readInt(section, key, def) == 1;
}

} // namespace

AssociateResult associateFileType(FileTypeTree &tree, const QString &program, const QString &extension,
                                  bool overwrite, const QString &className, bool registerCommand,
                                  const QString &description)
{
    const QString command = tree.commandValue(program);
    if (!tree.exists(extension)) {
        if (!overwrite)
            return AssociateResult::Done;
        if (!tree.create(extension))
            return AssociateResult::CreateFailed;
        tree.setValue(extension, className);
        if (registerCommand)
            createClass(tree, className, description, command, tree.iconValue(program, className));
        return AssociateResult::Done;
    }

    const std::optional<QString> read = tree.value(extension);
    if (!read)
        return AssociateResult::Unreadable;
    QString current = *read;
    if (overwrite && current != className) {
        tree.setValue(extension, className);
        current = className;
    }
    if (!registerCommand)
        return AssociateResult::Done;

    if (tree.exists(commandKey(current))) {
        const std::optional<QString> registered = tree.value(commandKey(current));
        if (!registered || registered->toLower() != command.toLower())
            tree.setValue(commandKey(current), command);
        const QString icon = tree.iconValue(program, current);
        if (!tree.exists(iconKey(current)))
            tree.create(iconKey(current));
        tree.setValue(iconKey(current), icon);
    } else {
        createClass(tree, current, description, command, tree.iconValue(program, current));
    }
    return AssociateResult::Done;
}

bool isAssociatedWith(const FileTypeTree &tree, const QString &extension, const QString &className)
{
    if (!tree.exists(extension))
        return true;
    const std::optional<QString> current = tree.value(extension);
    return !current || *current == className;
}

void associateExtraFileTypes(FileTypeTree &tree, const ProgramProfile &profile, const QString &program,
                             Prompt &prompt)
{
    const QString className = profile.fileTypes.value(0).className;
    for (const QString &extension : profile.extraFileTypes)
        if (associateFileType(tree, program, extension, true, className, false, QString()) ==
            AssociateResult::CreateFailed)
            prompt.beep();
}

void registerFileTypesAtStartup(FileTypeTree &tree, const ProgramProfile &profile, Prompt &prompt,
                                SettingsStore &settings, const QString &program)
{
    if (!tree.mayRegister(program))
        return;
    for (const FileTypeRegistration &r : profile.fileTypes)
        if (associateFileType(tree, program, r.extension, true, r.className, r.registerCommand, r.description) ==
            AssociateResult::CreateFailed)
            prompt.beep();
    tree.commit();
    if (profile.extraFileTypes.isEmpty())
        return;

    const QString section = profile.settingsSection;
    const QString onStartup = QStringLiteral("FileTypeOnStartup");
    const QString warn = QStringLiteral("FileTypeWarn");
    if (settingIsOne(settings, section, onStartup, 0)) {
        associateExtraFileTypes(tree, profile, program, prompt);
        tree.commit();
    }
    if (!settingIsOne(settings, section, warn, 1))
        return;
    const QString className = profile.fileTypes.value(0).className;
    bool allAssociated = true;
    for (const QString &extension : profile.extraFileTypesChecked)
        allAssociated = allAssociated && isAssociatedWith(tree, extension, className);
    if (allAssociated)
        return;

    const QString question = QStringLiteral("Some Nokia logo filetypes are not associated with ") +
                             profile.productName + QStringLiteral(".\r\n\r\n") +
                             QStringLiteral("Would you like to associate them on program-startup?");
    switch (prompt.message(profile.productName, question, Icon::Question, Buttons::YesNoCancel)) {
    case Answer::Yes:
        settings.write(section, onStartup, QStringLiteral("1"));
        settings.write(section, warn, QStringLiteral("0"));
        associateExtraFileTypes(tree, profile, program, prompt);
        tree.commit();
        break;
    case Answer::No:
        settings.write(section, warn, QStringLiteral("1"));
        break;
    default:
        break;
    }
}

void registerFileTypesAtStartup(const ProgramProfile &profile, Prompt &prompt, SettingsStore &settings)
{
    const std::unique_ptr<FileTypeTree> tree = desktopFileTypes();
    registerFileTypesAtStartup(*tree, profile, prompt, settings, QCoreApplication::applicationFilePath());
}

} // namespace logo
