#pragma once
// Brisvane's document: the operator logo, the operator it is bound to (picked
// from the operator list), the built-in clear picture and the operators'
// default logos. No widgets: the window shows the list and the panel that
// this keeps, and forwards the user's choices; the default logos are read and
// written by Brisvane's file commands (brisvanefilecommands.h).
#include "brisvanemodel/operatortable.h"
#include "desktop/appfolders.h"
#include "desktop/prompt.h"
#include "graphic/logodocument.h"

namespace brisvane {

// What the labels and the default-logo commands beside the list show.
struct OperatorPanel {
    QString country;      // lblCountry: upper case
    QString mccMnc;       // lblMCCMNC: "262-07"
    QString op1;          // lblOp1: the operator's name
    QString op2;          // lblOp2: the country as written
    QString url;          // lblOpURL
    bool defaultMark = false;   // lblDef: "°", a default logo is there to load
    bool loadDefaultEnabled = false;
    bool saveDefaultEnabled = false;
    QString loadDefaultCaption = QStringLiteral("Load default logo...");
    QString saveDefaultCaption = QStringLiteral("Save as default logo...");

    static inline const QString DefaultMarkText = QStringLiteral("\u00B0");
    static inline const QString DefaultMarkToolTip = QStringLiteral("Default logo for operator available");
};

// The picture of the " Clear Operator-Logo" entry, and its network code.
logo::LogoGrid clearPicture();
inline const QString ClearMcc = QStringLiteral("100");
inline const QString ClearMnc = QStringLiteral("0");

class BrisvaneDocument : public logo::LogoDocument {
    Q_OBJECT
public:
    static inline const QString DefaultFolderName = QStringLiteral("DEFAULT");
    static inline const QString UpdateFileName = QStringLiteral("OPUPDATE.CSV");

    // folders: where the update file and the DEFAULT folder are looked for
    // (the program's folder, then the user's); it must outlive the document.
    // prompt: the beep of an update file that stops early.
    BrisvaneDocument(logo::Prompt &prompt, const logo::AppFolders &folders, QObject *parent = nullptr);

    const logo::AppFolders &folders() const { return m_folders; }
    const OperatorTable &operators() const { return m_table; }
    const QList<OperatorListEntry> &operatorList() const { return m_list; }
    int selectedItem() const { return m_selected; }
    const OperatorPanel &panel() const { return m_panel; }

    // Brisvane's title has no modified mark.
    void setTitle() { LogoDocument::setTitle(true); }

    // Rebuilds the table (built-in operators, then the update file, with a
    // beep when that stops early) and the list, and selects the placeholder.
    UpdateReport reloadOperatorList();
    // The user picked the entry with this item data.
    void onOperatorChosen(int item);
    // Selects the operator of the picture's network code (the first in table
    // order); no code selects the placeholder.
    void selectOperatorFromCode();
    void selectPlaceholderOperator();
    // No operator, an empty logo.
    void resetLogo();

    // The selected operator's default logo: the existing file (empty when
    // there is none) and where saving one writes (the DEFAULT folder is
    // created then).
    QString defaultLogoPath() const;
    QString defaultLogoTarget() const;
    // File names in DEFAULT: "262_07.NOL".
    static QString defaultLogoName(const QString &mcc, const QString &mnc);
    // True for a path inside one of the DEFAULT folders.
    bool isDefaultFolderPath(const QString &path) const;
    // True while an operator of the table is selected.
    bool hasOperatorSelected() const;
    // A new name alone saves nothing: the picture stays saved or unsaved.
    void renameTo(const QString &name);
    // The selected operator's panel again (its default logo may have come).
    void refreshPanel();

    // The names of a default logo and of a new one.
    static inline const QString DefaultName = QStringLiteral("Default");
    static inline const QString UntitledName = QStringLiteral("Untitled");

signals:
    // The list was rebuilt.
    void operatorListChanged();
    // The selected entry or the panel beside it changed.
    void selectionChanged();

protected:
    void afterRestore() override;

private:
    void select(int item, bool byUser);
    void showOperator(int slot);
    // The panel of the " Clear Operator-Logo" entry, selected.
    void showClearEntry();
    void loadClearPicture();
    void resetAfterClearPicture();
    void clearLogo();

    logo::Prompt &m_prompt;
    const logo::AppFolders &m_folders;
    OperatorTable m_table;
    QList<OperatorListEntry> m_list;
    int m_selected = PlaceholderItem;
    OperatorPanel m_panel;
};

} // namespace brisvane
