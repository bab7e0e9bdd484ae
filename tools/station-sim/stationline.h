#pragma once

#include <QByteArray>
#include <QString>
#include <memory>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

struct StationLineOptions
{
    int answerDelayMs = 0;
    // Received bytes after this many get no answer and are not handed to the
    // responder; -1 answers for ever.
    int silentAfter = -1;
    // Pace both directions at 1200 baud.
    bool lineTime = false;
    // A slow station: at least this long between two bytes it sends.
    int answerGapMs = 0;
    // The station's end goes away when it has received this many bytes (1 or
    // more; that last byte is not answered), as with a cut cable or a pulled
    // adapter: both sides the line holds are closed, so the program's port
    // sees the other end hang up. -1 never.
    int hangUpAfter = -1;
    // The same when it has sent this many bytes (1 or more) and the program
    // has taken them off the line, for a station that goes away in the
    // middle of its reply.
    int hangUpAfterSent = -1;
    // The program reaches the line through a symbolic link in a folder of the
    // line's own, which goes away at the hang-up before the pseudo-terminal
    // is let go. The pseudo-terminal's own name may be handed to another
    // process's line the moment it is free; the link's name never is, so a
    // port opened by it after the hang-up is surely gone.
    bool throughLink = false;

    // A USB serial adapter between the station and the program: the
    // station's bytes reach the program in bursts, every adapterLatencyMs
    // (its latency timer: 16 ms by default on FTDI adapters; 0 hands each
    // byte on at once), each burst up to adapterJitterMs late.
    int adapterLatencyMs = 0;
    int adapterJitterMs = 0;
    // The station's n-th byte (from 1, stray bytes counted) is lost on the
    // way; -1 none.
    int loseByte = -1;
    // A station powering up: it sends this many stray bytes, one every
    // strayGapMs from the line's start, and takes in nothing (answers
    // nothing) until the time of the next one has passed.
    int strayBytes = 0;
    int strayGapMs = 20;
    // Of the adapter's jitter and the stray bytes' values.
    std::uint32_t seed = 1;

    // The station plays the station's side of a recorded trace instead of
    // answering through its responder (see TraceReplay); the options above
    // that shape its answers do not apply.
    std::shared_ptr<const class TraceReplay> replay = nullptr;
};

// A station's end of a serial line: the master side of a pseudo-terminal
// whose slave device the program opens as its port. A thread reads every byte
// the program sends, hands it to the responder and sends the responder's
// answer back, optionally late, and optionally paced like a real 1200-baud
// line (10 bits per character, each way).
//
// The line keeps the slave side open itself, in raw mode, so that the
// program may open and close the device as often as it likes.
class StationLine
{
public:
    // Runs on the line's thread; returns the bytes to answer with.
    using Responder = std::function<QByteArray(std::uint8_t byte)>;

    using Options = StationLineOptions;

    static constexpr int BaudRate = 1200;
    static constexpr int BitsPerCharacter = 10;

    // Throws std::runtime_error when no pseudo-terminal can be made.
    explicit StationLine(Responder responder, Options options = Options());
    ~StationLine();
    StationLine(const StationLine &) = delete;
    StationLine &operator=(const StationLine &) = delete;

    QString devicePath() const { return m_devicePath; }

    void start();
    // Stops the thread; bytes still scheduled are dropped. After stop() the
    // responder's state may be read without locking.
    void stop();

    // Bytes that go out as if the station sent them of its own accord.
    void sendUnprompted(const QByteArray &bytes);

    // Stops the thread and closes the line's end now (see hangUpAfter). When
    // the program does not hold the device open, the device is gone.
    void hangUp();

    // Every byte received from the program so far, in order.
    QByteArray received() const;
    bool waitForReceived(qsizetype count, int timeoutMs) const;

private:
    void run();
    void wake();
    void makeLink(const char *target);
    void closeLineEnds();
    void waitUntilTaken() const;

    Responder m_responder;
    Options m_options;
    int m_master = -1;
    int m_slave = -1;
    int m_wakeRead = -1;
    int m_wakeWrite = -1;
    QString m_devicePath;
    std::string m_linkFolder;
    std::string m_link;
    std::thread m_thread;

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_receivedChanged;
    QByteArray m_received;
    QByteArray m_unprompted;
    bool m_stopping = false;
};
