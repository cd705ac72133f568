#pragma once
// The simulated phone's behaviour, apart from any device: bytes from the
// computer go in, the phone's answers come out with the delay after which they
// are due. tools/phonesim.cpp puts it on a pseudo-terminal.
//
// Command mode: a command ends with CR (a LF is ignored). "AT+CMGS=n" and
// "AT+CMGW=n" answer the prompt CR LF "> " and switch to PDU mode, where hex
// text is collected up to Ctrl-Z (ESC abandons it); the PDU is then checked:
// its first octet is the length of the message-centre field, and the octets
// after that field must number n, else "+CMS ERROR: 304".
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <map>
#include <vector>

namespace phonesim {

// One memory of the phonebook ("SM" the SIM card, "ME" the phone). Names are
// octets as the phone sends them: code page 437.
struct PhonebookMemory {
    struct Entry {
        QByteArray number;
        int type = 129;
        QByteArray name;
    };
    bool present = true;            // false: choosing it is answered "ERROR"
    int first = 1;                  // the range "AT+CPBR=?" reports
    int last = 250;
    std::map<int, Entry> entries;   // by location

    // Adds n entries "Name <k>" in the first free locations, widening the
    // range when needed.
    void fill(int n);
};

// A small phonebook with what makes names difficult: letters of code page
// 437, commas, empty locations between entries.
PhonebookMemory defaultSimPhonebook();
PhonebookMemory defaultPhonePhonebook();

// Reads "MEM;LOCATION;NUMBER;TYPE;NAME" lines (MEM "SM" or "ME"; the name is
// the rest of the line, its octets as they are) into the two memories, which
// are emptied first. False with a reason for a line it can't take.
bool readPhonebookFile(const QByteArray &text, PhonebookMemory &sim, PhonebookMemory &phone, QString &why);

struct Options {
    bool echo = true;               // echo what the computer writes (ATE1)
    int delayMs = 0;                // answers (not the echo) come this much later
    bool silent = false;            // never answers, never echoes
    QStringList errorOn;            // commands answered "ERROR" ("AT+CMGS" also matches "AT+CMGS=154"; "PDU" the PDU line)
    int cms = 0;                    // when not 0, the PDU line is answered "+CMS ERROR: <cms>"
    bool noPrompt = false;          // "AT+CMGS=" / "AT+CMGW=" get no answer at all
    bool noise = false;             // non-text octets in front of every answer
    QString smsc = QStringLiteral("+491710760000");  // "AT+CSCA?" number
    int smscType = -1;              // -1: 145 for "+..." or an empty number, else 129
    QString identity = QStringLiteral("Nokia Mobile Phones");   // "ATI" answer
    PhonebookMemory sim = defaultSimPhonebook();       // AT+CPBS="SM"
    PhonebookMemory phone = defaultPhonePhonebook();   // AT+CPBS="ME"
    QString logPath;                // every PDU line received, one per line
    QString transcriptPath;         // every command and PDU line received
};

struct Output {
    int delayMs = 0;
    QByteArray bytes;
};

class PhoneCore {
public:
    explicit PhoneCore(Options options = Options());

    // The computer wrote these bytes; returns what the phone writes back, in
    // order. Empty when nothing is due.
    std::vector<Output> receive(const QByteArray &bytes);
    // The computer closed the line: a half-written command or PDU is dropped.
    void hangUp();

    bool inPduMode() const { return m_pduMode; }
    const QStringList &pdus() const { return m_pdus; }           // PDU lines received
    const QStringList &commands() const { return m_commands; }   // command lines received
    int sentCount() const { return m_sent; }        // accepted by AT+CMGS
    int storedCount() const { return m_stored; }    // accepted by AT+CMGW
    const Options &options() const { return m_options; }

    // Octets of the TPDU in a PDU line (after the message-centre field), or -1
    // when the line is not whole hex octets or its centre field overruns it.
    static int tpduLength(const QString &line);

private:
    void command(const QString &line, std::vector<Output> &out);
    bool phonebookCommand(const QString &cmd, std::vector<Output> &out);
    PhonebookMemory &memory();
    void pdu(const QString &line, std::vector<Output> &out);
    void answer(std::vector<Output> &out, const QByteArray &text);
    bool errorOn(const QString &cmd) const;
    void record(const QString &path, const QString &line);

    Options m_options;
    bool m_echo;
    QByteArray m_line;
    bool m_pduMode = false;
    bool m_storing = false;     // PDU mode entered by AT+CMGW
    int m_announced = 0;
    int m_sent = 0;
    int m_stored = 0;
    int m_reference = 0;
    int m_index = 0;
    QString m_smsc;
    QString m_memory = QStringLiteral("SM");   // chosen by AT+CPBS
    QStringList m_pdus;
    QStringList m_commands;
};

} // namespace phonesim
