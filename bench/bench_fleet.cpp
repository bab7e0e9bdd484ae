// Runs `vetral-cli fleet` of 8 channels (read, write, read back, report) on
// 1 and on 4 simulated stations, each on its own pseudo-terminal paced like a
// 1200-baud line, and prints the ratio of the two wall times: the batch is
// limited by the line when it stays near 1 (it must stay under 1.15). Then
// the peak resident memory of vetral-cli for 1 and for 8 stations, which
// must not grow with the number of ports beyond a few threads' worth.
//
//   bench_fleet [--no-line-time] [--runs N]

#include "benchargs.h"
#include "benchfiles.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace {

constexpr int kChannels = 8;
constexpr double kRatioLimit = 1.15;

struct Measure
{
    double wallMs = -1; // -1: the run failed
    long peakKb = 0;
};

// One vetral-cli fleet over `count` fresh stations, in a home of its own.
Measure fleet(int count, bool lineTime)
{
    QTemporaryDir home;
    const QString file = home.filePath("k8.ini");
    if (!writeBenchFile(file, benchChannelFile(kChannels)))
        return {};
    std::vector<std::unique_ptr<BenchStation>> stations;
    QStringList arguments{VETRAL_CLI_PATH,         "fleet", file, "--id-from", "0001", "--report-dir",
                          home.filePath("reports")};
    for (int i = 0; i < count; ++i) {
        stations.push_back(std::make_unique<BenchStation>(lineTime));
        arguments += QStringList{"--port", stations.back()->line.devicePath()};
    }

    QList<QByteArray> texts;
    for (const QString &a : arguments)
        texts.append(a.toUtf8());
    for (char **e = environ; *e; ++e) {
        const QByteArray entry(*e);
        if (!entry.startsWith("HOME=") && !entry.startsWith("XDG_CONFIG_HOME=") && !entry.startsWith("XDG_DATA_HOME="))
            texts.append(entry);
    }
    texts += {"HOME=" + home.path().toUtf8(), "XDG_CONFIG_HOME=" + home.filePath("config").toUtf8(),
              "XDG_DATA_HOME=" + home.filePath("data").toUtf8()};
    std::vector<char *> argv, envp;
    for (qsizetype i = 0; i < texts.size(); ++i)
        (i < arguments.size() ? argv : envp).push_back(texts[i].data());
    argv.push_back(nullptr);
    envp.push_back(nullptr);

    // The child's own peak memory comes with wait4; its output goes to
    // /dev/null so that the terminal's redraw costs nothing.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return {};
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    Measure measure{double(timer.nsecsElapsed()) / 1e6, usage.ru_maxrss};
    for (const auto &station : stations) {
        station->line.stop();
        if (station->station.completedWrites() != 1)
            return {};
    }
    return measure;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const BenchArgs args = BenchArgs::parse(app.arguments());

    // A fresh simulated station holds no channels: its first read is the
    // request and 28 bytes. Then the write, each byte and its answer, the
    // writer's 200 ms pause, and the read back.
    const double charMs = 1000.0 * StationLine::BitsPerCharacter / StationLine::BaudRate;
    const int written = 26 + 18 * kChannels;
    const double lineMs = charMs * ((1 + 28) + 2 * written + (1 + 28 + 18 * kChannels)) + 200;
    std::printf("vetral-cli fleet with %d channels; one station's line limit %.0f ms%s\n", kChannels, lineMs,
                args.lineTime ? "" : " (line time not emulated)");
    bool within = true;
    for (int run = 1; run <= args.runs; ++run) {
        const Measure one = fleet(1, args.lineTime);
        const Measure four = fleet(4, args.lineTime);
        const Measure eight = fleet(8, args.lineTime);
        if (one.wallMs < 0 || four.wallMs < 0 || eight.wallMs < 0) {
            std::fprintf(stderr, "vetral-cli fleet failed\n");
            return 1;
        }
        const double ratio = four.wallMs / one.wallMs;
        within = within && ratio < kRatioLimit;
        std::printf("run %d: 1 station %.0f ms, 4 stations %.0f ms, ratio %.3f (limit %.2f); 8 stations %.0f ms\n", run,
                    one.wallMs, four.wallMs, ratio, kRatioLimit, eight.wallMs);
        std::printf("run %d: peak RSS 1 station %ld KiB, 4 stations %ld KiB, 8 stations %ld KiB\n", run, one.peakKb,
                    four.peakKb, eight.peakKb);
    }
    return within ? 0 : 1;
}
