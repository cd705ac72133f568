#pragma once
// Every message box and file dialog of the programs goes through a Prompt, so
// that the windows show real dialogs and the tests answer them from a script.
#include <QString>
#include <QStringList>
#include <deque>
#include <vector>

namespace logo {

enum class Icon { None, Information, Exclamation, Critical, Question };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
// The values of the classic message-box answers.
enum class Answer { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

struct FileRequest {
    QString title;
    // Filter in the classic "Description|*.a;*.b|Description|*.c" form.
    QString filter;
    int filterIndex = 1;        // 1-based
    QString initialDir;
    QString fileName;           // proposed name
    QString defaultExt;         // without dot, e.g. "ngg"
};

struct ShownPrompt {
    enum class Kind { Message, OpenFile, SaveFile, Beep } kind;
    QString title;
    QString text;               // message text, or the dialog's filter
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
    FileRequest request;
};

class Prompt {
public:
    virtual ~Prompt() = default;
    // A modal message box; returns the button chosen.
    virtual Answer message(const QString &title, const QString &text, Icon icon, Buttons buttons) = 0;
    // Returns the chosen path, or an empty text when the user cancelled.
    virtual QString openFileName(const FileRequest &request) = 0;
    // chosenFilter, when given, receives the filter (1-based) selected when
    // the dialog closed: the type the user chose to write.
    virtual QString saveFileName(const FileRequest &request, int *chosenFilter = nullptr) = 0;
    virtual void beep() = 0;
    // False when nobody watches the run (a screenshot run): nothing may wait
    // for an answer, and the run leaves the desktop's settings and the files
    // of a running window alone.
    virtual bool attended() const { return true; }

    void inform(const QString &title, const QString &text) { message(title, text, Icon::Information, Buttons::Ok); }
    void critical(const QString &title, const QString &text) { message(title, text, Icon::Critical, Buttons::Ok); }
    void exclaim(const QString &title, const QString &text) { message(title, text, Icon::Exclamation, Buttons::Ok); }
};

// Answers from queues and records everything shown. Used by the tests, and by
// the command-line tool (with answers given up front).
class ScriptedPrompt : public Prompt {
public:
    Answer message(const QString &title, const QString &text, Icon icon, Buttons buttons) override;
    QString openFileName(const FileRequest &request) override;
    QString saveFileName(const FileRequest &request, int *chosenFilter = nullptr) override;
    void beep() override;

    // Answers given to message boxes, in order. When the queue is empty a box
    // with an OK button answers Ok, any other box defaultAnswer.
    std::deque<Answer> answers;
    Answer defaultAnswer = Answer::Cancel;
    // Paths returned by open and save dialogs, in order; empty queue = cancel.
    std::deque<QString> files;
    // Filters chosen in save dialogs, in order; when empty a dialog keeps the
    // filter its request selects.
    std::deque<int> filters;

    std::vector<ShownPrompt> shown;
    // Texts of the message boxes shown, in order.
    QStringList messages() const;
    QString lastMessage() const;
    int count(ShownPrompt::Kind kind) const;
    void clear() { shown.clear(); }
};

// Joins lines with CR LF, the line break of message texts.
QString joinLines(const QStringList &lines);

// A message about a port that did not open, followed on a line of its own by
// the device the port number stands for and the system's reason, e.g.
// "(/dev/ttyUSB0: Permission denied)". Where the port number is the device's
// own name (Windows) or either part is unknown, the text stays as it is.
QString withDeviceReason(const QString &text, const QString &device, const QString &reason);

} // namespace logo
