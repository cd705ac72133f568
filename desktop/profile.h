#pragma once
// The few things in which Brisvane and Quillet differ, in one place. Shared code
// asks the profile instead of testing which program it runs in.
#include <QString>
#include <QStringList>

namespace logo {

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
    QByteArray irKindOctets;      // kind octets of the infrared phone message

    bool isQuillet() const { return program == Program::Quillet; }
    bool isBrisvane() const { return program == Program::Brisvane; }
    bool isPseudoName(const QString &name) const { return pseudoNames.contains(name); }

    static const ProgramProfile &quillet();
    static const ProgramProfile &brisvane();
};

} // namespace logo
