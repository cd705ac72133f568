#include "brisvanemodel/brisvanedocument.h"

#include "graphic/pathutil.h"

#include <QDir>
#include <QFileInfo>

namespace brisvane {

namespace {

const QString &kUntitled = BrisvaneDocument::UntitledName;
const QString &kDefault = BrisvaneDocument::DefaultName;
const QString kClearLogo = QStringLiteral("Clear Logo");

// "SEND AND SAVE / TO CLEAR LOGO", black on the display green.
const char *const kClearRows[logo::LogoGrid::MaxHeight] = {
    ".XXX.XXXXX.X..XX.XXXX.....X.......XXX..XXX..XX..XX.XXXXX...X.....X.XXXXX",
    "XX...XX....XX.XX.XX.XX...X.X.....XX...XX.XX.XX..XX.XX......XX...XX.XX...",
    ".XX..XXXX..XXXXX.XX.XX....X.......XX..XX.XX..XXXX..XXXX....XXX.XXX.XXXX.",
    "..XX.XX....XXXXX.XX.XX...X.X.X.....XX.XXXXX..XXXX..XX......XXXXXXX.XX...",
    "..XX.XX....XX.XX.XX.XX...X..X......XX.XX.XX...XX...XX......XX.X.XX.XX...",
    "XXX..XXXXX.XX..X.XXXX.....XX.X...XXX..XX.XX...XX...XXXXX...XX...XX.XXXXX",
    "........................................................................",
    "........................................................................",
    ".XXXXXX..XXX.....XXXX.XX....XXXXX..XXX..XXXX....XX.....XXX...XXXX..XXX..",
    "...XX...XX.XX...XX....XX....XX....XX.XX.XX.XX...XX....XX.XX.XX....XX.XX.",
    "...XX...XX.XX...XX....XX....XXXX..XX.XX.XX.XX...XX....XX.XX.XX.XX.XX.XX.",
    "...XX...XX.XX...XX....XX....XX....XXXXX.XXXX....XX....XX.XX.XX.XX.XX.XX.",
    "...XX...XX.XX...XX....XX....XX....XX.XX.XX.XX...XX....XX.XX.XX.XX.XX.XX.",
    "...XX....XXX.....XXXX.XXXXX.XXXXX.XX.XX.XX.XX...XXXXX..XXX...XXX...XXX..",
};

bool isOperatorSlot(int item)
{
    return item >= 0 && item < OperatorTable::Capacity;
}

// The folder, resolved, for comparing paths: links followed where they exist.
QString resolvedFolder(const QString &folder)
{
    const QFileInfo info(folder);
    const QString canonical = info.canonicalFilePath();
    return QDir::cleanPath(canonical.isEmpty() ? info.absoluteFilePath() : canonical);
}

} // namespace

logo::LogoGrid clearPicture()
{
    logo::LogoGrid g;
    for (int r = 0; r < logo::LogoGrid::MaxHeight; ++r)
        for (int c = 0; c < logo::LogoGrid::MaxWidth; ++c)
            g.setPixel(c, r, kClearRows[r][c] == 'X');
    return g;
}

BrisvaneDocument::BrisvaneDocument(logo::Prompt &prompt, const logo::AppFolders &folders, QObject *parent)
    : LogoDocument(logo::ProgramProfile::brisvane(), parent), m_prompt(prompt), m_folders(folders)
{
    m_list = m_table.listEntries();
}

// ---------------------------------------------------------------- the list

UpdateReport BrisvaneDocument::reloadOperatorList()
{
    m_table = OperatorTable();
    UpdateReport report;
    const QString path = m_folders.find(UpdateFileName);
    if (!path.isEmpty())
        report = m_table.appendUpdateFile(path);
    if (report.failed())
        m_prompt.beep();
    m_list = m_table.listEntries();
    emit operatorListChanged();
    select(PlaceholderItem, false);
    return report;
}

void BrisvaneDocument::onOperatorChosen(int item)
{
    select(item, true);
}

void BrisvaneDocument::select(int item, bool byUser)
{
    // A picture replaced by the clear picture, or emptied on leaving it or a
    // default logo, is a step that Undo takes back.
    const Snapshot before = snapshot();
    m_panel = OperatorPanel();
    m_selected = item;
    if (item == ClearItem) {
        setNetworkCode(ClearMcc, ClearMnc);
        showClearEntry();
        loadClearPicture();
    } else if (isOperatorSlot(item) && item < m_table.count()) {
        resetAfterClearPicture();
        const OperatorRecord &r = m_table.at(item);
        setNetworkCode(r.mcc, r.mnc);
        showOperator(item);
        // A default logo belongs to its operator: picking one that has none
        // leaves an empty, untitled logo.
        if (byUser && !m_panel.defaultMark && m_currentFile == kDefault) {
            clearLogo();
            renameTo(kUntitled);
        }
    } else {
        m_selected = PlaceholderItem;
        resetAfterClearPicture();
        setNetworkCode(QString(), QString());
    }
    recordRelabel(before, QStringLiteral("Select Operator"));
    emit selectionChanged();
}

void BrisvaneDocument::showClearEntry()
{
    m_selected = ClearItem;
    m_panel = OperatorPanel();
    m_panel.country = m_panel.mccMnc = QStringLiteral("CLEAR");
    m_panel.op1 = QStringLiteral("Clear Operator-Logo");
}

void BrisvaneDocument::afterRestore()
{
    // The list follows the network code that came back; the clear entry's
    // code shows that entry without loading its picture again.
    if (m_mcc == ClearMcc && m_mnc == ClearMnc) {
        showClearEntry();
        emit selectionChanged();
        return;
    }
    selectOperatorFromCode();
}

void BrisvaneDocument::showOperator(int slot)
{
    const OperatorRecord &r = m_table.at(slot);
    m_panel.country = r.country.toUpper();
    m_panel.mccMnc = formatMccText(m_mcc) + QLatin1Char('-') + formatMncText(m_mnc);
    m_panel.url = r.web;
    m_panel.op2 = r.country;
    m_panel.op1 = r.name;
    m_panel.saveDefaultCaption = QStringLiteral("Save as default for ") + r.name;
    m_panel.saveDefaultEnabled = true;
    m_panel.defaultMark = m_panel.loadDefaultEnabled = !defaultLogoPath().isEmpty();
    m_panel.loadDefaultCaption =
        m_panel.defaultMark ? QStringLiteral("Load default for ") + r.name : OperatorPanel().loadDefaultCaption;
}

void BrisvaneDocument::selectPlaceholderOperator()
{
    select(PlaceholderItem, false);
}

void BrisvaneDocument::selectOperatorFromCode()
{
    if (m_mcc.isEmpty() || m_mnc.isEmpty()) {
        selectPlaceholderOperator();
        return;
    }
    const int slot = m_table.findByCode(m_mcc, m_mnc);
    if (slot >= 0 && !m_table.at(slot).country.isEmpty()) {
        select(slot, false);
        return;
    }
    if (m_selected == ClearItem && m_mcc == ClearMcc && m_mnc == ClearMnc)
        return;
    // A code no entry carries: the list must not go on naming another
    // network than the one the logo is bound to, so it shows the placeholder
    // with the logo's own code.
    m_selected = PlaceholderItem;
    m_panel = OperatorPanel();
    m_panel.mccMnc = formatMccText(m_mcc) + QLatin1Char('-') + formatMncText(m_mnc);
    emit selectionChanged();
}

void BrisvaneDocument::resetLogo()
{
    setNetworkCode(QString(), QString());
    selectPlaceholderOperator();
    clearLogo();
}

void BrisvaneDocument::loadClearPicture()
{
    m_grid = clearPicture();
    emit pictureChanged(true);
    renameTo(kClearLogo);
}

void BrisvaneDocument::resetAfterClearPicture()
{
    if (m_mcc != ClearMcc || m_mnc != ClearMnc)
        return;
    clearLogo();
    renameTo(kUntitled);
}

void BrisvaneDocument::clearLogo()
{
    m_grid.setSize(logo::LogoGrid::MaxWidth, logo::LogoGrid::MaxHeight);
    m_grid.clearPlane();
    emit pictureChanged(true);
}

void BrisvaneDocument::renameTo(const QString &name)
{
    m_currentFile = name;
    showTitle(history().isClean());
}

bool BrisvaneDocument::hasOperatorSelected() const
{
    return isOperatorSlot(m_selected);
}

void BrisvaneDocument::refreshPanel()
{
    showOperator(m_selected);
    emit selectionChanged();
}

// ---------------------------------------------------------------- default logos

QString BrisvaneDocument::defaultLogoName(const QString &mcc, const QString &mnc)
{
    return formatMccText(mcc) + QLatin1Char('_') + formatMncText(mnc) + QStringLiteral(".NOL");
}

QString BrisvaneDocument::defaultLogoPath() const
{
    if (m_mcc.isEmpty() || m_mnc.isEmpty())
        return {};
    return m_folders.find(DefaultFolderName + QLatin1Char('/') + defaultLogoName(m_mcc, m_mnc));
}

QString BrisvaneDocument::defaultLogoTarget() const
{
    const QString folder = m_folders.writable(DefaultFolderName);
    QDir().mkpath(folder);
    return folder + QLatin1Char('/') + defaultLogoName(m_mcc, m_mnc);
}

bool BrisvaneDocument::isDefaultFolderPath(const QString &path) const
{
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QString folder = resolvedFolder(QFileInfo(p).absolutePath()) + QLatin1Char('/');
    for (const QString &base : {m_folders.programFolder(), m_folders.userFolder()}) {
        if (base.isEmpty())
            continue;
        const QString defaults = resolvedFolder(base + DefaultFolderName) + QLatin1Char('/');
        if (folder.startsWith(defaults, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

} // namespace brisvane
