#pragma once
// Reading the phonebook over the AT link: "AT", then for the SIM card and for
// the phone's memory (as "PBookReadSM" and "PBookReadME" say) the memory is
// chosen, its range asked for, and every entry read with one command for the
// whole range. Only a completed read replaces the program's table and rewrites
// the cache file; a failed or stopped read leaves both as they were. Messages
// go through the document's Prompt, the reading dialog follows the signals.
#include "phone/atengine.h"
#include "phone/phonebook.h"

#include <QObject>
#include <optional>

namespace logo {

class LogoDocument;

class PhonebookJob : public QObject {
    Q_OBJECT
public:
    // The reading dialog's status lines.
    enum StatusLine { LineInitializing = 0, LineSim = 1, LinePhone = 2 };

    // What the command-line tool sets instead of the settings.
    struct Overrides : LinkOverrides {
        std::optional<QString> cacheFile;   // the cache to write; "" for none
    };

    PhonebookJob(LogoDocument &doc, AtEngine &engine, Phonebook &phonebook, QObject *parent = nullptr);

    void setOverrides(const Overrides &o) { m_overrides = o; }
    Phonebook &phonebook() { return m_phonebook; }
    LogoDocument &document() { return m_doc; }

    // The cache file beside the program (or in the user's data folder when the
    // program's folder can't be written): where it is found, empty when there
    // is none, and where it is written.
    QString cacheFileFound() const;
    QString cacheFileToWrite() const;

    // loadCachedPhonebook: the cache into the table; false when there is none (or
    // it can't be read: then a beep).
    bool loadCachedPhonebook();
    // readPhonebook: starts the read. Ends with jobEnded, also when it can't
    // start (no port configured, the port does not open).
    void readPhonebook();
    // Cancel in the reading dialog: the job stops at its next tick or advance.
    void setBreak() { if (m_active) m_engine.requestBreak(); }
    bool jobRunning() const { return m_active; }
    JobOutcome lastOutcome() const { return m_lastOutcome; }
    // The last completed read could not write its cache file.
    bool cacheWriteFailed() const { return m_cacheWriteFailed; }
    // The memories a read would take now.
    bool readsSim() const;
    bool readsPhone() const;

    // The read's steps, queued on engine.
    static void queueSteps(AtEngine &engine, int port, bool sim, bool phone);
    // "Phonebook read.", and what was left out when the table was full.
    static QString readMessage(bool overflowed);

signals:
    void statusLine(int line);      // which status line the dialog shows
    void jobEnded(bool success);    // hide the reading dialog

private:
    void onStepAnswered(int step, const QByteArray &reply);
    void onFinished(JobOutcome outcome, const QString &message);

    LogoDocument &m_doc;
    AtEngine &m_engine;
    Phonebook &m_phonebook;
    Overrides m_overrides;
    bool m_active = false;
    JobOutcome m_lastOutcome = JobOutcome::OpenFailed;
    // The read under way: entries so far, the range of the memory being read.
    QList<PhonebookEntry> m_read;
    PhonebookRange m_range;
    bool m_overflowed = false;
    bool m_cacheWriteFailed = false;
    QString m_failure;      // a reply the job could not use: the step's text
};

} // namespace logo
