#include "graphic/logodocument.h"

#include "graphic/pathutil.h"
#include "graphic/picturesupport.h"

namespace logo {

LogoDocument::LogoDocument(const ProgramProfile &profile, QObject *parent)
    : QObject(parent), m_profile(profile)
{
    m_title = m_profile.productName;
    const PictureSupport *support = installedPictureSupport();
    if (support && support->makeHistory)
        m_history.reset(support->makeHistory());
    if (!m_history)
        m_history = std::make_unique<SavedStateOnly>();
    // Undo and redo (from the menu or anywhere else) put the title's mark as
    // the history has it; the document's own changes set the title themselves.
    m_history->onMoved([this] { showTitle(m_history->isClean()); });
}

LogoDocument::~LogoDocument()
{
    // The history empties itself as it goes: that is no undo, and must not
    // change the title (nor put back the run marks a closing window has just
    // taken away).
    m_history->onMoved(nullptr);
}

void LogoDocument::setNetworkCode(const QString &mcc, const QString &mnc)
{
    m_mcc = mcc;
    m_mnc = mnc;
    emit networkCodeChanged();
}

// ---------------------------------------------------------------- title

void LogoDocument::setTitle(bool clean)
{
    if (clean)
        m_history->setClean();
    showTitle(clean);
}

void LogoDocument::showTitle(bool clean)
{
    // A program that doesn't follow unsaved changes shows no mark; its window
    // still asks about them when it closes.
    const bool mark = !clean && m_profile.marksModified;
    m_title = m_profile.productName + QStringLiteral(" [") + shortenPath(m_currentFile, m_profile.titlePathLength) +
              (mark ? QStringLiteral("*]") : QStringLiteral("]"));
    m_state = clean ? State::Clean : State::Modified;
    emit titleChanged(m_title);
}

void LogoDocument::markUnsaved()
{
    if (m_state == State::Modified)
        return;
    m_history->resetClean();
    showTitle(false);
}

// ---------------------------------------------------------------- replacing the picture

void LogoDocument::newDocument()
{
    const Snapshot before = snapshot();
    m_currentFile = QStringLiteral("Untitled");
    m_nameFromRead = false;
    setTitle(true);
    setNetworkCode(QString(), QString());
    // A new picture has the full size, whatever the last file had.
    m_grid.setSize(LogoGrid::MaxWidth, LogoGrid::MaxHeight);
    m_grid.clear();
    emit pictureChanged(true);
    recordReplacement(before, QStringLiteral("New"), true);
}

void LogoDocument::replaceByLoad(const QString &text, const std::function<void()> &change)
{
    const Snapshot before = snapshot();
    change();
    recordReplacement(before, text, true);
}

} // namespace logo
