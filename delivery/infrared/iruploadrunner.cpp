#include "infrared/iruploadrunner.h"

#include "infrared/rawserialport.h"

#include <QThread>

namespace logo {

IrUploadRunner::IrUploadRunner(QObject *parent) : QObject(parent) {}

IrUploadRunner::~IrUploadRunner()
{
    if (m_thread) {
        m_thread->wait();
        delete m_thread;
    }
}

bool IrUploadRunner::start(const IrUploadRequest &request)
{
    if (m_thread)
        return false;
    m_result.clear();
    m_thread = QThread::create([this, request] {
        RawSerialPort line;
        ThreadClock clock;
        IrUploadEngine engine(line, clock, request.options);
        // Emitted on the worker thread: queued to the receivers' threads.
        engine.setProgress([this](int percent) { emit progress(percent); });
        m_result = engine.upload(request.message, request.port, request.device);
    });
    connect(m_thread, &QThread::finished, this, &IrUploadRunner::threadEnded);
    m_thread->start();
    return true;
}

void IrUploadRunner::threadEnded()
{
    // Queued after every progress signal of the upload.
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    emit finished(m_result);
}

} // namespace logo
