#include "widgets/qtprompt.h"

#include <QApplication>
#include <QCursor>
#include <QFileDialog>
#include <QGridLayout>
#include <QSpacerItem>
#include <QMessageBox>

namespace logo {

namespace {

// Shows the normal pointer for the life of the object, under whatever wait
// pointers are in force, and puts them back at its end: a message box or a
// file dialog in the middle of a long command waits for the user, not for the
// program.
class NormalCursor {
public:
    NormalCursor()
    {
        while (const QCursor *c = QGuiApplication::overrideCursor()) {
            m_paused.prepend(*c);
            QGuiApplication::restoreOverrideCursor();
        }
    }
    ~NormalCursor()
    {
        for (const QCursor &c : m_paused)
            QGuiApplication::setOverrideCursor(c);
    }
    NormalCursor(const NormalCursor &) = delete;
    NormalCursor &operator=(const NormalCursor &) = delete;

private:
    QList<QCursor> m_paused;   // bottom of the stack first
};

} // namespace

Answer QtPrompt::message(const QString &title, const QString &text, Icon icon, Buttons buttons)
{
    NormalCursor normal;
    QMessageBox box(m_parent);
    box.setWindowTitle(title);
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box.setText(shown);
    switch (icon) {
    case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    }
    switch (buttons) {
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    // A short text makes a narrow box whose title the window frame cuts off;
    // keep it wide enough to show the program's name.
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
        grid->addItem(new QSpacerItem(280, 0, QSizePolicy::Minimum, QSizePolicy::Expanding), grid->rowCount(), 0, 1,
                      grid->columnCount());
    // A box shown while a job holds the wait pointer gets the normal one.
    const bool waiting = QGuiApplication::overrideCursor() != nullptr;
    if (waiting)
        QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    const int chosen = box.exec();
    if (waiting)
        QGuiApplication::restoreOverrideCursor();
    switch (chosen) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Ok: return Answer::Ok;
    default: return Answer::Cancel;
    }
}

QStringList QtPrompt::toQtFilters(const QString &classicFilter)
{
    QStringList out;
    const QStringList parts = classicFilter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt takes the patterns from the trailing parentheses, separated by
        // spaces: replace a shown pattern list by the real one.
        QString desc = parts[i].trimmed();
        if (desc.endsWith(QLatin1Char(')')) && desc.contains(QLatin1Char('(')))
            desc = desc.left(desc.lastIndexOf(QLatin1Char('('))).trimmed();
        out << desc + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return out;
}

static void setUpDialog(QFileDialog &dlg, const FileRequest &r)
{
    dlg.setWindowTitle(r.title);
    const QStringList filters = QtPrompt::toQtFilters(r.filter);
    dlg.setNameFilters(filters);
    if (r.filterIndex >= 1 && r.filterIndex <= filters.size())
        dlg.selectNameFilter(filters.at(r.filterIndex - 1));
    if (!r.initialDir.isEmpty())
        dlg.setDirectory(r.initialDir);
    if (!r.fileName.isEmpty())
        dlg.selectFile(r.fileName);
    if (!r.defaultExt.isEmpty())
        dlg.setDefaultSuffix(r.defaultExt);
}

// The extension a filter's first pattern gives ("*.ngg" gives "ngg"); empty
// for a pattern without one.
static QString filterSuffix(const QString &qtFilter)
{
    const qsizetype open = qtFilter.lastIndexOf(QLatin1Char('('));
    const qsizetype close = qtFilter.lastIndexOf(QLatin1Char(')'));
    const QString list = open < 0 || close < open ? qtFilter : qtFilter.mid(open + 1, close - open - 1);
    const QString first = list.trimmed().section(QLatin1Char(' '), 0, 0);
    const qsizetype dot = first.lastIndexOf(QLatin1Char('.'));
    return dot < 0 || first.mid(dot + 1).contains(QLatin1Char('*')) ? QString() : first.mid(dot + 1);
}

// Shows the dialog for the request; the chosen path, or empty text on Cancel.
// A save dialog adds the extension of the filter selected at the time (not the
// request's first choice) to a name typed without one, and tells which filter
// that was.
static QString runFileDialog(QWidget *parent, const FileRequest &request, QFileDialog::AcceptMode mode,
                             int *chosenFilter = nullptr)
{
    NormalCursor normal;
    QFileDialog dlg(parent);
    setUpDialog(dlg, request);
    dlg.setAcceptMode(mode);
    if (mode == QFileDialog::AcceptOpen) {
        dlg.setFileMode(QFileDialog::ExistingFile);
    } else {
        dlg.setFileMode(QFileDialog::AnyFile);
        dlg.setOption(QFileDialog::DontConfirmOverwrite, false);
        const QString first = filterSuffix(dlg.selectedNameFilter());
        if (!first.isEmpty())
            dlg.setDefaultSuffix(first);
        QObject::connect(&dlg, &QFileDialog::filterSelected, &dlg, [&dlg](const QString &filter) {
            const QString suffix = filterSuffix(filter);
            if (!suffix.isEmpty())
                dlg.setDefaultSuffix(suffix);
        });
    }
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    if (chosenFilter) {
        const qsizetype index = dlg.nameFilters().indexOf(dlg.selectedNameFilter());
        *chosenFilter = index < 0 ? request.filterIndex : int(index) + 1;
    }
    return dlg.selectedFiles().front();
}

QString QtPrompt::openFileName(const FileRequest &request)
{
    return runFileDialog(m_parent, request, QFileDialog::AcceptOpen);
}

QString QtPrompt::saveFileName(const FileRequest &request, int *chosenFilter)
{
    return runFileDialog(m_parent, request, QFileDialog::AcceptSave, chosenFilter);
}

void QtPrompt::beep()
{
    QApplication::beep();
}

} // namespace logo
