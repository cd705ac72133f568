#pragma once
// Reading the phonebook over the AT link: "AT", then for the SIM card and for
// the phone's memory (as "PBookReadSM" and "PBookReadME" say) the memory is
// chosen, its range asked for, and every entry read with one command for the
// whole range. Only a completed read replaces the program's table and rewrites
// the cache file; a failed or stopped read leaves both as they were. The
// reading dialog (or the tool) follows the status lines and shows the text
// the job ends with.
#include "phone/deliveryjob.h"
#include "phone/phonebook.h"

#include <QList>
#include <optional>

namespace logo {

class SettingsStore;
struct ProgramProfile;

// What the command-line tool sets instead of the settings.
struct PhonebookOverrides : LinkOverrides {
    std::optional<QString> cacheFile;   // the cache to write; "" for none
};

// What a read takes from the settings.
struct PhonebookSettings {
    LinkSettings link;
    bool readSim = true;        // "PBookReadSM"
    bool readPhone = true;      // "PBookReadME"
    QString cacheFile;          // the cache the read writes; empty for none
};
// cacheFile: where the cache goes unless the overrides say.
PhonebookSettings readPhonebookSettings(const SettingsStore &settings, const QString &cacheFile,
                                        const PhonebookOverrides &overrides = {});

// The cache file beside the program (or in the user's data folder when the
// program's folder can't be written): where it is found, empty when there is
// none, and where it is written.
QString phonebookCacheFound(const QString &appFolder, const ProgramProfile &profile);
QString phonebookCacheToWrite(const QString &appFolder, const ProgramProfile &profile);
// The cache into the table; false when there is none (or it can't be read:
// then a beep).
bool loadPhonebookCache(Phonebook &phonebook, const QString &path, Prompt &prompt);

class PhonebookJob : public AtJob {
    Q_OBJECT
public:
    // The reading dialog's status lines.
    enum StatusLine { LineInitializing = 0, LineSim = 1, LinePhone = 2 };

    PhonebookJob(Phonebook &phonebook, const PhonebookSettings &settings, AtEngine &engine, Prompt &prompt,
                 QObject *parent = nullptr);

    // Ends with finished, also when it can't start (no port configured, the
    // port does not open): "Phonebook read." or the failure.
    void start() override;
    const PhonebookSettings &settings() const { return m_settings; }
    Phonebook &phonebook() { return m_phonebook; }
    // The last completed read could not write its cache file.
    bool cacheWriteFailed() const { return m_cacheWriteFailed; }

    // The read's steps, queued on engine.
    static void queueSteps(AtEngine &engine, int port, bool sim, bool phone);
    // "Phonebook read.", and what was left out when the table was full.
    static QString readMessage(bool overflowed);

signals:
    void statusLine(int line);      // which status line the dialog shows

private:
    void onStepAnswered(int step, const QByteArray &reply);
    void engineFinished(JobOutcome outcome, const QString &message) override;
    void engineProgress(int marker) override;

    Phonebook &m_phonebook;
    PhonebookSettings m_settings;
    // The read under way: entries so far, the range of the memory being read.
    QList<PhonebookEntry> m_read;
    PhonebookRange m_range;
    bool m_overflowed = false;
    bool m_cacheWriteFailed = false;
    QString m_failure;      // a reply the job could not use: the step's text
};

} // namespace logo
