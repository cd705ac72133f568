#include "desktop/prompt.h"

namespace logo {

Answer ScriptedPrompt::message(const QString &title, const QString &text, Icon icon, Buttons buttons)
{
    shown.push_back({ShownPrompt::Kind::Message, title, text, icon, buttons, {}});
    if (!answers.empty()) {
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    return buttons == Buttons::Ok ? Answer::Ok : defaultAnswer;
}

QString ScriptedPrompt::openFileName(const FileRequest &request)
{
    shown.push_back({ShownPrompt::Kind::OpenFile, request.title, request.filter, Icon::None, Buttons::Ok, request});
    if (files.empty())
        return {};
    QString f = files.front();
    files.pop_front();
    return f;
}

QString ScriptedPrompt::saveFileName(const FileRequest &request, int *chosenFilter)
{
    shown.push_back({ShownPrompt::Kind::SaveFile, request.title, request.filter, Icon::None, Buttons::Ok, request});
    int filter = request.filterIndex;
    if (!filters.empty()) {
        filter = filters.front();
        filters.pop_front();
    }
    if (chosenFilter)
        *chosenFilter = filter;
    if (files.empty())
        return {};
    QString f = files.front();
    files.pop_front();
    return f;
}

void ScriptedPrompt::beep()
{
    shown.push_back({ShownPrompt::Kind::Beep, {}, {}, Icon::None, Buttons::Ok, {}});
}

QStringList ScriptedPrompt::messages() const
{
    QStringList out;
    for (const auto &s : shown)
        if (s.kind == ShownPrompt::Kind::Message)
            out << s.text;
    return out;
}

QString ScriptedPrompt::lastMessage() const
{
    const QStringList m = messages();
    return m.isEmpty() ? QString() : m.back();
}

int ScriptedPrompt::count(ShownPrompt::Kind kind) const
{
    int n = 0;
    for (const auto &s : shown)
        n += s.kind == kind ? 1 : 0;
    return n;
}

QString joinLines(const QStringList &lines)
{
    return lines.join(QStringLiteral("\r\n"));
}

QString withDeviceReason(const QString &text, const QString &device, const QString &reason)
{
#ifdef Q_OS_WIN
    Q_UNUSED(device);
    Q_UNUSED(reason);
    return text;
#else
    if (device.isEmpty() || reason.isEmpty())
        return text;
    return joinLines({text, QStringLiteral("(%1: %2)").arg(device, reason)});
#endif
}

} // namespace logo
