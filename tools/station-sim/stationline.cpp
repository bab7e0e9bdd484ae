#include "stationline.h"

#include "lineschedule.h"
#include "tracereplay.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <stdexcept>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

[[noreturn]] void fail(const char *what)
{
    throw std::runtime_error(std::string(what) + ": " + std::strerror(errno));
}

void writeAll(int fd, const char *data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return; // the program side is gone; the byte is lost like on a cut line
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
}

} // namespace

StationLine::StationLine(Responder responder, Options options) : m_responder(std::move(responder)), m_options(options)
{
    char name[256] = {};
    if (::openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0)
        fail("openpty");
    termios raw{};
    ::tcgetattr(m_slave, &raw);
    ::cfmakeraw(&raw);
    ::cfsetispeed(&raw, B1200);
    ::cfsetospeed(&raw, B1200);
    ::tcsetattr(m_slave, TCSANOW, &raw);
    m_devicePath = QString::fromLocal8Bit(name);
    if (m_options.throughLink)
        makeLink(name);

    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0)
        fail("pipe2");
    m_wakeRead = pipeFds[0];
    m_wakeWrite = pipeFds[1];
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
    ::fcntl(m_slave, F_SETFD, FD_CLOEXEC);
}

StationLine::~StationLine()
{
    stop();
    closeLineEnds();
    for (int fd : {m_wakeRead, m_wakeWrite})
        if (fd >= 0)
            ::close(fd);
    if (!m_linkFolder.empty())
        ::rmdir(m_linkFolder.c_str());
}

void StationLine::makeLink(const char *target)
{
    std::string folder = QFile::encodeName(QDir::tempPath()).toStdString() + "/station-line-XXXXXX";
    if (!::mkdtemp(folder.data())) {
        const int error = errno;
        ::close(m_master);
        ::close(m_slave);
        errno = error;
        fail("mkdtemp");
    }
    m_linkFolder = folder;
    m_link = folder + "/line";
    if (::symlink(target, m_link.c_str()) != 0) {
        const int error = errno;
        ::close(m_master);
        ::close(m_slave);
        ::rmdir(m_linkFolder.c_str());
        errno = error;
        fail("symlink");
    }
    m_devicePath = QFile::decodeName(QByteArray::fromStdString(m_link));
}

void StationLine::start()
{
    if (m_thread.joinable())
        return;
    {
        std::lock_guard lock(m_mutex);
        m_stopping = false;
    }
    m_thread = std::thread([this] { run(); });
}

void StationLine::stop()
{
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    wake();
    m_thread.join();
}

void StationLine::hangUp()
{
    stop();
    closeLineEnds();
}

void StationLine::closeLineEnds()
{
    // The name goes first: while the line's ends are open no other line can
    // be given the pseudo-terminal the link points at.
    if (!m_link.empty())
        ::unlink(m_link.c_str());
    for (int *fd : {&m_master, &m_slave}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

void StationLine::waitUntilTaken() const
{
    // A hang-up flushes what the program has not read yet; a station that
    // sent bytes before it went away should have them arrive. The bytes
    // reach the program's side of the line a moment after they were
    // written, so an empty queue counts only once it has been seen filled,
    // or after a while.
    bool seenQueued = false;
    for (int ms = 0; ms < 2000; ++ms) {
        int queued = 0;
        if (::ioctl(m_slave, FIONREAD, &queued) != 0)
            return;
        seenQueued = seenQueued || queued > 0;
        if (queued == 0 && (seenQueued || ms >= 20))
            return;
        ::usleep(1000);
    }
}

void StationLine::wake()
{
    const char c = 0;
    [[maybe_unused]] const ssize_t n = ::write(m_wakeWrite, &c, 1);
}

void StationLine::sendUnprompted(const QByteArray &bytes)
{
    {
        std::lock_guard lock(m_mutex);
        m_unprompted.append(bytes);
    }
    wake();
}

QByteArray StationLine::received() const
{
    std::lock_guard lock(m_mutex);
    return m_received;
}

bool StationLine::waitForReceived(qsizetype count, int timeoutMs) const
{
    std::unique_lock lock(m_mutex);
    return m_receivedChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                      [&] { return m_received.size() >= count; });
}

void StationLine::run()
{
    struct Inbound
    {
        Clock::time_point arrival;
        std::uint8_t byte;
    };
    std::deque<Inbound> inbound;                             // read, still on the line
    std::multimap<Clock::time_point, std::uint8_t> outbound; // answers waiting for their time
    qsizetype handled = 0;
    qsizetype sent = 0;

    // The schedule counts from the line's start, in microseconds.
    LineSchedule schedule(m_options);
    const Clock::time_point start = Clock::now();
    const auto sinceStart = [start](Clock::time_point t) {
        return std::chrono::duration_cast<std::chrono::microseconds>(t - start).count();
    };
    const auto scheduled = [&](const QList<LineSchedule::Delivery> &deliveries) {
        for (const LineSchedule::Delivery &d : deliveries)
            outbound.emplace(start + std::chrono::microseconds(d.at), d.byte);
    };
    if (m_options.replay) {
        for (const TraceReplay::Timed &t : m_options.replay->opening())
            outbound.emplace(start + std::chrono::microseconds(t.us), t.byte);
    } else {
        scheduled(schedule.strayBytes());
    }

    for (;;) {
        const Clock::time_point now = Clock::now();
        while (!inbound.empty() && inbound.front().arrival <= now) {
            const Inbound in = inbound.front();
            inbound.pop_front();
            {
                std::lock_guard lock(m_mutex);
                m_received.append(static_cast<char>(in.byte));
            }
            m_receivedChanged.notify_all();
            ++handled;
            if (m_options.hangUpAfter >= 0 && handled >= m_options.hangUpAfter) {
                closeLineEnds();
                return;
            }
            if (m_options.replay) {
                for (const TraceReplay::Timed &t : m_options.replay->after(handled))
                    outbound.emplace(in.arrival + std::chrono::microseconds(t.us), t.byte);
                continue;
            }
            if (m_options.silentAfter >= 0 && handled > m_options.silentAfter)
                continue;
            if (!schedule.ready(sinceStart(in.arrival)))
                continue;
            const QByteArray answer = m_responder(in.byte);
            scheduled(schedule.send(sinceStart(in.arrival) + m_options.answerDelayMs * 1000LL, answer));
        }
        while (!outbound.empty() && outbound.begin()->first <= now) {
            const char c = static_cast<char>(outbound.begin()->second);
            outbound.erase(outbound.begin());
            writeAll(m_master, &c, 1);
            if (m_options.hangUpAfterSent >= 0 && ++sent >= m_options.hangUpAfterSent) {
                waitUntilTaken();
                closeLineEnds();
                return;
            }
        }

        Clock::time_point next = Clock::time_point::max();
        if (!inbound.empty())
            next = inbound.front().arrival;
        if (!outbound.empty())
            next = std::min(next, outbound.begin()->first);
        timespec timeout{};
        timespec *timeoutPtr = nullptr;
        if (next != Clock::time_point::max()) {
            const auto wait = std::max(Clock::duration::zero(), next - Clock::now());
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
            timeout.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
            timeout.tv_nsec = static_cast<long>(ns % 1'000'000'000);
            timeoutPtr = &timeout;
        }
        pollfd fds[2] = {{m_master, POLLIN, 0}, {m_wakeRead, POLLIN, 0}};
        if (::ppoll(fds, 2, timeoutPtr, nullptr) < 0 && errno != EINTR)
            return;

        if (fds[1].revents & POLLIN) {
            char drain[64];
            while (::read(m_wakeRead, drain, sizeof drain) > 0) {
            }
            QByteArray unprompted;
            {
                std::lock_guard lock(m_mutex);
                if (m_stopping)
                    return;
                unprompted.swap(m_unprompted);
            }
            scheduled(schedule.send(sinceStart(Clock::now()), unprompted));
        }
        if ((fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) && !(fds[0].revents & POLLIN)) {
            // Nobody holds the slave side (it cannot happen while the line
            // keeps it open, but never spin on it).
            ::usleep(1000);
        }
        if (fds[0].revents & POLLIN) {
            char buffer[256];
            const ssize_t n = ::read(m_master, buffer, sizeof buffer);
            const auto at = sinceStart(Clock::now());
            for (ssize_t i = 0; i < n; ++i)
                inbound.push_back(
                    {start + std::chrono::microseconds(schedule.arrival(at)), static_cast<std::uint8_t>(buffer[i])});
        }
    }
}
