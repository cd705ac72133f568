#pragma once
// The Prompt of the running programs: real message boxes and file dialogs.
#include "desktop/prompt.h"

class QWidget;

namespace logo {

class QtPrompt : public Prompt {
public:
    explicit QtPrompt(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }

    Answer message(const QString &title, const QString &text, Icon icon, Buttons buttons) override;
    QString openFileName(const FileRequest &request) override;
    QString saveFileName(const FileRequest &request, int *chosenFilter = nullptr) override;
    void beep() override;

    // "Desc|*.a;*.b|Desc2|*.c" -> Qt name filters.
    static QStringList toQtFilters(const QString &classicFilter);

private:
    QWidget *m_parent;
};

} // namespace logo
