// The raw serial line on the Win32 communications calls.
#include "infrared/rawserialport.h"

#ifdef Q_OS_WIN

#include <windows.h>

namespace logo {

namespace {

HANDLE handleOf(void *h)
{
    return h ? static_cast<HANDLE>(h) : INVALID_HANDLE_VALUE;
}

QString systemError(const char *what)
{
    return QStringLiteral("%1: error %2").arg(QLatin1String(what)).arg(ulong(GetLastError()));
}

} // namespace

RawSerialPort::~RawSerialPort()
{
    close();
}

bool RawSerialPort::isOpen() const
{
    return m_handle != nullptr;
}

IrLine::OpenResult RawSerialPort::open(const QString &device)
{
    close();
    m_lastError.clear();
    QString name = device.trimmed();
    if (name.isEmpty()) {
        m_lastError = QStringLiteral("no device");
        return OpenResult::CantOpen;
    }
    // COM10 and above are reached only through the device namespace.
    if (!name.startsWith(QLatin1String("\\\\.\\")))
        name = QStringLiteral("\\\\.\\") + name;
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    // No sharing: a port another program holds is refused.
    const HANDLE h = CreateFileW(reinterpret_cast<LPCWSTR>(name.utf16()), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        m_lastError = systemError("CreateFile");
        return OpenResult::CantOpen;
    }
    m_handle = h;
    PurgeComm(h, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
    m_timeouts = IrTimeouts::Send;
    if (!setSpeed(9600) || !applyTimeouts()) {
        if (m_lastError.isEmpty())
            m_lastError = systemError("SetCommState");
        close();
        return OpenResult::CantSetParams;
    }
    return OpenResult::Opened;
}

bool RawSerialPort::setSpeed(qint32 bitsPerSecond)
{
    if (!m_handle || (bitsPerSecond != 9600 && bitsPerSecond != 115200))
        return false;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    GetCommState(handleOf(m_handle), &dcb);
    dcb.BaudRate = DWORD(bitsPerSecond);
    dcb.fBinary = TRUE;
    dcb.fParity = TRUE;   // checks nothing with no parity bit
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fTXContinueOnXoff = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    dcb.fAbortOnError = FALSE;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    return SetCommState(handleOf(m_handle), &dcb) == TRUE;
}

void RawSerialPort::close()
{
    if (!m_handle)
        return;
    CloseHandle(handleOf(m_handle));
    m_handle = nullptr;
}

bool RawSerialPort::applyTimeouts()
{
    if (!m_handle)
        return false;
    COMMTIMEOUTS t{};
    if (m_timeouts == IrTimeouts::Send) {
        t.ReadIntervalTimeout = MAXDWORD;     // a read returns at once with what is there
        t.WriteTotalTimeoutConstant = 1000;
    } else {
        t.ReadIntervalTimeout = 1000;
        t.ReadTotalTimeoutMultiplier = 1000;  // one octet: at most one second
    }
    return SetCommTimeouts(handleOf(m_handle), &t) == TRUE;
}

bool RawSerialPort::writeOctet(quint8 octet)
{
    DWORD written = 0;
    return m_handle && WriteFile(handleOf(m_handle), &octet, 1, &written, nullptr) && written == 1;
}

int RawSerialPort::readOctet(quint8 &octet)
{
    DWORD read = 0;
    if (!m_handle || !ReadFile(handleOf(m_handle), &octet, 1, &read, nullptr))
        return 0;
    return read == 1 ? 1 : 0;
}

void RawSerialPort::flush()
{
    if (m_handle)
        FlushFileBuffers(handleOf(m_handle));
}

} // namespace logo

#endif
