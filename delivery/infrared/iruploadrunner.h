#pragma once
// Runs one infrared upload on a worker thread, so that the windows keep
// repainting while it takes its seconds. Progress and the result arrive as
// signals on the runner's own thread (connect them with a receiver object, so
// they are queued there).
#include "infrared/irupload.h"

#include <QObject>
#include <QString>

class QThread;

namespace logo {

struct IrUploadRequest {
    QByteArray message;                 // buildIrMessage
    int port = 0;                       // names the port in the texts (COMn:)
    QString device;                     // what the port number maps to
    IrUploadEngine::Options options;    // the delays, the connection address
};

class IrUploadRunner : public QObject {
    Q_OBJECT
public:
    explicit IrUploadRunner(QObject *parent = nullptr);
    // Waits for an upload still running.
    ~IrUploadRunner() override;

    // Starts the upload on the raw serial line and returns at once; false
    // while another one runs.
    bool start(const IrUploadRequest &request);
    bool isRunning() const { return m_thread != nullptr; }

signals:
    void progress(int percent);
    // "" when the phone acknowledged the disconnect, else what went wrong.
    // Emitted once the worker thread has ended.
    void finished(const QString &result);

private:
    void threadEnded();

    QThread *m_thread = nullptr;
    QString m_result;
};

} // namespace logo
