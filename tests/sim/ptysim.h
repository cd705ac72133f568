#pragma once
// What the simulated phones on pseudo-terminals (phonesim, irsim) share: the
// raw terminal they serve, number options, and answers waiting for their time.
#include <QByteArray>
#include <QString>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <deque>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace ptysim {

using Clock = std::chrono::steady_clock;

// Writes all of the octets, waiting while the line is full.
inline bool writeAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                continue;
            }
            return false;
        }
        done += n;
    }
    return true;
}

// The phone's answers waiting for their time, in the order they were given.
class AnswerQueue {
public:
    // Due delayMs after now, but never before the answer given before it.
    void add(Clock::time_point now, int delayMs, const QByteArray &bytes)
    {
        Clock::time_point due = now + std::chrono::milliseconds(delayMs);
        if (!m_pending.empty())
            due = std::max(due, m_pending.back().due);
        m_pending.push_back({due, bytes});
    }
    // Writes every answer that is due.
    void writeDue(int fd, Clock::time_point now)
    {
        while (!m_pending.empty() && m_pending.front().due <= now) {
            writeAll(fd, m_pending.front().bytes);
            m_pending.pop_front();
        }
    }
    // How long to wait for the computer: until the next answer is due or the
    // end, at most 200 ms.
    int pollTimeout(Clock::time_point now, Clock::time_point end) const
    {
        using std::chrono::duration_cast;
        using std::chrono::milliseconds;
        Clock::time_point until = std::min(end, now + milliseconds(200));
        if (!m_pending.empty())
            until = std::min(until, m_pending.front().due);
        return std::max(0, int(duration_cast<milliseconds>(until - now).count()) + 1);
    }
    void clear() { m_pending.clear(); }

private:
    struct Pending {
        Clock::time_point due;
        QByteArray bytes;
    };
    std::deque<Pending> m_pending;
};

// The usage text on the standard error, after the reason (when there is one);
// the exit code of a wrong command line.
inline int usage(const char *tool, const char *why, const char *text)
{
    if (why)
        std::fprintf(stderr, "%s: %s\n", tool, why);
    std::fprintf(stderr, "%s", text);
    return 2;
}

// A whole number from 0.
inline bool toInt(const QString &text, int &value)
{
    bool ok = false;
    value = text.toInt(&ok);
    return ok && value >= 0;
}

// A pseudo-terminal whose slave side is raw (no echo, no line editing, no
// CR/LF mapping: the simulator does all the talking) at the given speed, its
// master side not blocking; prints "device PATH" as the first line. False
// after saying why.
inline bool openRawPty(const char *tool, speed_t speed, int &master, int &slave)
{
    char name[256] = {};
    if (::openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        std::fprintf(stderr, "%s: openpty failed\n", tool);
        return false;
    }
    termios t{};
    if (::tcgetattr(slave, &t) == 0) {
        ::cfmakeraw(&t);
        ::cfsetispeed(&t, speed);
        ::cfsetospeed(&t, speed);
        ::tcsetattr(slave, TCSANOW, &t);
    }
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    std::printf("device %s\n", name);
    std::fflush(stdout);
    return true;
}

} // namespace ptysim
