#pragma once
// The few things in which Brisvane and Quillet differ, in one place. Shared code
// asks the profile instead of testing which program it runs in.
#include <QList>
#include <QString>
#include <QStringList>

namespace logo {

// A file type a program registers at every start: the extension, the class it
// maps to, and whether the class gets this program's open command and icon.
struct FileTypeRegistration {
    QString extension;            // ".ngg"
    QString className;            // "NokiaGroupGraphic"
    bool registerCommand;
    QString description;          // of a class created with the command
};

struct ProgramProfile {
    enum class Program { Quillet, Brisvane };

    Program program;
    QString productName;          // "Quillet", window titles and message boxes
    QString settingsSection;      // own section of the settings store
    QString recentSection;        // recent-file list section
    QString brandingFileName;     // branding INI next to the program
    QString emptyPictureText;     // first line of the empty-picture question
    QString phonebookCacheName;   // phonebook cache next to the program
    QString tempPagePrefix;       // web-upload page prefix in the temporary folder
    QString appCode;              // application code of the web upload
    QString smartPort;            // destination port of the smart message (hex)
    QString smartOriginPort;      // originator port (hex)
    qint64 storeSenderBase;       // sender number of a stored message = counter + base
    QString foreignReadName;      // name after a foreign read; empty: the path with ".ngg"
    QStringList pseudoNames;      // names that are no file yet (never recent, Save asks)
    bool requiresOperator;        // saving/sending needs a chosen network code
    QString defaultWebHost;       // host behind the link label and help links
    QString helpMedia;            // media code of the help addresses
    int titlePathLength;          // the document's name in the title, shortened to this
    bool marksModified;           // the title and the save question follow unsaved changes
    QByteArray irKindOctets;      // kind octets of the infrared phone message
    QString desktopEntry;         // name of the desktop entry and the icon ("quillet")
    // Registered at every start, in this order; the first is the program's own.
    QList<FileTypeRegistration> fileTypes;
    // Further types the program offers to claim at start-up (Quillet), for the
    // class of the first registration; the checked ones decide whether to ask.
    QStringList extraFileTypes;
    QStringList extraFileTypesChecked;
    // The main window's differences in the shared menus.
    bool deliveryShortcuts;       // Send, Store, Internet and IR carry Ctrl+D, Ctrl+R, Ctrl+T, Ctrl+U
    QString internetCaption;      // the caption of mnuInternet
    QString aboutText;            // the About box's line on what the program does

    bool isQuillet() const { return program == Program::Quillet; }
    bool isBrisvane() const { return program == Program::Brisvane; }
    bool isPseudoName(const QString &name) const { return pseudoNames.contains(name); }

    static const ProgramProfile &quillet();
    static const ProgramProfile &brisvane();
};

// The version as the web addresses carry it: major and minor two digits each,
// the revision three ("0102003" for 1.2.3).
QString versionDigits();
// The version as people read it: "1.2.3".
QString versionText();

} // namespace logo
