#pragma once
// frmEdit: Brisvane's main window. The shared window code runs the document,
// the File and Help menus, the toolbar, the delivery commands, start-up and
// shut-down; this adds what is Brisvane's own: the phone cover with the logo
// in its display, the operator list and the labels beside it, the Extras menu
// with the covers and the default logos.
#include "brisvanemodel/brisvanedocument.h"
#include "brisvanemodel/brisvanefilecommands.h"
#include "brisvanemodel/phonecovers.h"
#include "widgets/mainwindowbase.h"

class QComboBox;
class QLabel;

namespace brisvane {

class CoverView;

class MainWindow : public logo::MainWindowBase {
    Q_OBJECT
public:
    // folders: the program's folder (operator file, DEFAULT, XPRESS.BMP,
    // branding file, phonebook cache) and the user's data folder behind it.
    MainWindow(logo::Prompt &prompt, logo::SettingsStore &settings, std::unique_ptr<logo::AppFolders> folders,
               const QString &commandLine, QWidget *parent = nullptr);
    ~MainWindow() override;

    BrisvaneDocument &doc() { return static_cast<BrisvaneDocument &>(document()); }
    BrisvaneFileCommands &brisvaneFiles() { return static_cast<BrisvaneFileCommands &>(fileCommands()); }

    // Extras > Xpress yourself: shows cover index (10: the user's own, or
    // cover 0 without it) and checks its entry.
    void chooseCover(int index);
    int coverIndex() const { return m_coverIndex; }
    // The client area's top-left corner is the cover's.
    CoverView *coverView() const { return m_cover; }

protected:
    void addProgramMenus(QMenu *file) override;
    void buildCentralArea() override;
    void startProgram() override;
    void unloadProgram() override;
    void applyPreviewAspect(std::optional<QSizeF> pixelShape) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildOperatorPanel(QWidget *parent);
    void fillOperatorList();
    void showSelection();
    void onOperatorActivated(int row);

    PhoneCovers m_covers;
    int m_coverIndex = PhoneCovers::FirstStartCover;
    // XpressGUI as saved at exit: the shown cover, or the user's own one
    // while its picture can't be read (it may be mended by the next start).
    int m_chosenCover = PhoneCovers::FirstStartCover;

    CoverView *m_cover = nullptr;
    QComboBox *m_operatorList = nullptr;
    // lblCountry, lblMCCMNC, lblOp1, lblOp2, lblOpURL and lblDef.
    struct {
        QLabel *country, *mccMnc, *op1, *op2, *url, *def;
    } m_labels{};
    QAction *m_coverActions[PhoneCovers::Count] = {};
    // Widths the card's texts are cut to (pixels): a whole line, the network
    // code, and the country beside the code and the mark.
    int m_lineWidth = 0, m_codeWidth = 0, m_countryWidth = 0;
};

} // namespace brisvane
