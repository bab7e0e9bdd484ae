// A write of 40 channels and a read of them through a USB adapter that hands
// the station's bytes on every 1, 4 and 16 ms, on a line paced like a
// 1200-baud one: by the program (the core's writer and reader on its serial
// link, with the line's own waits) and by a minimal client of the protocol,
// side by side in one run. The client pays the same latency; the program
// must add nothing to it (within 1 %).
//
// The minimal client does what the protocol requires and nothing else: it
// opens the device raw at 1200 baud 8N1, waits until the line has been quiet
// as long as the program does before the start byte and the request, then
// writes each byte and waits for its answer, pausing 200 ms between the
// settings and the records; it reads by sending the request and taking
// 28 + 18 × 40 bytes, each within the reader's gap. It polls the device
// itself, with no library in between.
//
//   bench_latency [--runs N]

#include "benchargs.h"
#include "benchtransfer.h"
#include "image/stationreply.h"
#include "link/stationwriter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <optional>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int kChannels = 40;

double msSince(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

// The protocol, by hand, on the device's descriptor.
class MinimalClient
{
public:
    explicit MinimalClient(const QString &device)
    {
        m_fd = ::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (m_fd < 0)
            return;
        termios raw{};
        ::tcgetattr(m_fd, &raw);
        ::cfmakeraw(&raw);
        ::cfsetispeed(&raw, B1200);
        ::cfsetospeed(&raw, B1200);
        raw.c_cflag |= CLOCAL | CREAD;
        ::tcsetattr(m_fd, TCSANOW, &raw);
        ::tcflush(m_fd, TCIOFLUSH);
    }
    ~MinimalClient()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    MinimalClient(const MinimalClient &) = delete;
    MinimalClient &operator=(const MinimalClient &) = delete;

    bool write(const QByteArray &wire)
    {
        if (m_fd < 0 || !quietLine())
            return false;
        for (qsizetype i = 0; i < wire.size(); ++i) {
            if (!send(static_cast<std::uint8_t>(wire.at(i))) || !take(m_timings.ackWaitMs))
                return false;
            if (i == RadioImage::WritePrefixSize)
                ::usleep(useconds_t(m_timings.settingsPauseMs) * 1000);
        }
        return true;
    }

    bool read(int bytes)
    {
        if (m_fd < 0 || !quietLine() || !send(StationReply::RequestByte))
            return false;
        for (int i = 0; i < bytes; ++i)
            if (!take(i < RadioImage::ReadPrefixSize ? m_timings.headerGapMs : m_timings.recordGapMs))
                return false;
        return true;
    }

private:
    bool send(std::uint8_t byte) { return ::write(m_fd, &byte, 1) == 1; }
    bool take(int timeoutMs)
    {
        pollfd in{m_fd, POLLIN, 0};
        std::uint8_t byte = 0;
        return ::poll(&in, 1, timeoutMs) == 1 && ::read(m_fd, &byte, 1) == 1;
    }
    bool quietLine()
    {
        QElapsedTimer total;
        total.start();
        QElapsedTimer quiet;
        quiet.start();
        for (;;) {
            const qint64 left = m_timings.quietLineMs - quiet.elapsed();
            if (left <= 0)
                return true;
            if (total.elapsed() >= m_timings.quietLineBoundMs)
                return false;
            if (take(int(left)))
                quiet.restart();
        }
    }

    LinkTimings m_timings; // the line's own
    int m_fd = -1;
};

struct Times
{
    double write = -1;
    double read = -1;
};

// A fresh station behind an adapter of `latencyMs`; its write and read times.
Times byProgram(int latencyMs)
{
    StationLineOptions line;
    line.lineTime = true;
    line.adapterLatencyMs = latencyMs;
    BenchStation sim(line);
    Times times;
    QElapsedTimer timer;
    timer.start();
    const bool written = transferOn(sim.line.devicePath(), checkedData(kChannels)).kind == SequenceOutcome::Kind::Done;
    if (written && sim.station.completedWrites() == 1)
        times.write = msSince(timer);
    timer.restart();
    const SequenceOutcome read = transferOn(sim.line.devicePath(), std::nullopt);
    if (read.kind == SequenceOutcome::Kind::Done && read.held.channelCount() == kChannels)
        times.read = msSince(timer);
    sim.line.stop();
    return times;
}

Times byClient(int latencyMs)
{
    StationLineOptions line;
    line.lineTime = true;
    line.adapterLatencyMs = latencyMs;
    BenchStation sim(line);
    const QByteArray wire = QByteArray(1, char(StationWriter::StartByte)) + checkedData(kChannels).writeOrder();
    Times times;
    QElapsedTimer timer;
    timer.start();
    {
        MinimalClient client(sim.line.devicePath());
        if (client.write(wire) && sim.station.completedWrites() == 1)
            times.write = msSince(timer);
    }
    timer.restart();
    {
        MinimalClient client(sim.line.devicePath());
        if (client.read(RadioImage::ReadPrefixSize + kChannels * RadioImage::RecordSize))
            times.read = msSince(timer);
    }
    sim.line.stop();
    return times;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = BenchArgs::parse(app.arguments()).runs;
    std::printf("%d channels through a USB adapter on a 1200-baud line; the fastest of %d run(s) each\n\n", kChannels,
                runs);
    std::printf("| latency | write: program | write: client | ratio | read: program | read: client | ratio |\n");
    std::printf("|---|---|---|---|---|---|---|\n");
    bool within = true;
    for (const int latencyMs : {1, 4, 16}) {
        Times program{1e300, 1e300};
        Times client{1e300, 1e300};
        int completed = 0;
        for (int run = 0; run < runs; ++run) {
            // Taking turns, so that a busy moment of the machine is not always one side's.
            const Times p = byProgram(latencyMs);
            const Times c = byClient(latencyMs);
            if (p.write < 0 || p.read < 0 || c.write < 0 || c.read < 0) {
                // A machine busy enough to hold up a 200 ms answer: the run does not count.
                std::fprintf(stderr, "a transfer at %d ms did not complete (program %.0f/%.0f, client %.0f/%.0f ms)\n",
                             latencyMs, p.write, p.read, c.write, c.read);
                continue;
            }
            ++completed;
            // The fastest of each, as the load of the machine only ever adds time.
            program = {std::min(program.write, p.write), std::min(program.read, p.read)};
            client = {std::min(client.write, c.write), std::min(client.read, c.read)};
        }
        if (completed == 0)
            return 1;
        const double writeRatio = program.write / client.write;
        const double readRatio = program.read / client.read;
        within = within && writeRatio <= 1.01 && readRatio <= 1.01;
        std::printf("| %d ms | %.2f s | %.2f s | %.4f | %.2f s | %.2f s | %.4f |\n", latencyMs, program.write / 1000,
                    client.write / 1000, writeRatio, program.read / 1000, client.read / 1000, readRatio);
        std::fflush(stdout);
    }
    std::printf("\n%s\n", within ? "within 1 % of the client at every latency" : "MORE than 1 % over the client");
    return within ? 0 : 1;
}
