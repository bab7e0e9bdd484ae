// Loads channel files of 1.6 MB and 16 MB (the largest the loader takes) and
// prints both times and their ratio. The target: loading is linear in the
// file's size, a 16 MB file of any shape well within a second and at most
// about ten times the 1.6 MB time. Each file is one channel section padded
// with blank lines (the worst case for line-end handling), lone CRs, key
// lines, which the loader has to look through, or sections of their own
// ("[j1]", "[j2]" ...: every one a section to index).
// Each time is the best of N loads (at least 5), measured two ways:
//
//   fresh   each load in a process of its own, as when a file is opened once:
//           both sizes pay alike for the memory they are the first to touch.
//           This is the like-for-like figure; its ratio is 10 within the
//           scatter of a shared machine (about 9.5 to 10.5), as is the ratio
//           of the loader's instruction counts (callgrind: 10.0).
//   repeat  loads one after another in one process. The allocator hands the
//           small file's buffers back for the next load, already in memory,
//           while the 16 MB file's 32 MB of text is too large to be kept and
//           is fresh memory the kernel zeroes page by page on every load; the
//           ratio is then above 10 (about 12 to 15) by that cost alone.
//
//   bench_load [--runs N]
//   bench_load --one FILE      (internal: one load, prints its milliseconds)

#include "benchargs.h"
#include "files/channelfile.h"
#include "table/channelplan.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <utility>
#include <cstdio>

namespace {

// One channel section, then as many fillers as fit in `size` bytes; "%1" in
// the filler is numbered 1, 2, 3 ...
QByteArray paddedFile(qsizetype size, const QByteArray &filler)
{
    QByteArray bytes("[1]\r\nRx=145000\r\n");
    bytes.reserve(size);
    const qsizetype number = filler.indexOf("%1");
    for (qsizetype n = 1;; ++n) {
        const QByteArray piece =
            number < 0 ? filler : filler.first(number) + QByteArray::number(n) + filler.sliced(number + 2);
        if (bytes.size() + piece.size() > size)
            return bytes;
        bytes += piece;
    }
}

// The best of `runs` loads of the file, in milliseconds.
double loadMs(const QString &path, int runs)
{
    double best = -1;
    for (int run = 0; run < runs; ++run) {
        ChannelPlan state;
        QElapsedTimer timer;
        timer.start();
        const ChannelFile::LoadResult result = ChannelFile::load(path, state);
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        if (result.channelCount != 1) {
            std::fprintf(stderr, "%s did not load as one channel\n", qPrintable(path));
            return -1;
        }
        if (best < 0 || ms < best)
            best = ms;
    }
    return best;
}

// The best of `runs` loads, each in a new process running this program with --one.
double freshLoadMs(const QString &path, int runs)
{
    double best = -1;
    for (int run = 0; run < runs; ++run) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--one"), path});
        if (!child.waitForFinished(600000) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
            return -1;
        bool ok = false;
        const double ms = QString::fromLatin1(child.readAllStandardOutput()).trimmed().toDouble(&ok);
        if (!ok)
            return -1;
        if (best < 0 || ms < best)
            best = ms;
    }
    return best;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (const qsizetype one = args.indexOf(QStringLiteral("--one")); one >= 0 && one + 1 < args.size()) {
        const double ms = loadMs(args.at(one + 1), 1);
        if (ms < 0)
            return 1;
        std::printf("%.3f\n", ms);
        return 0;
    }
    const int runs = std::max(5, BenchArgs::parse(args).runs);
    constexpr qsizetype kLarge = ChannelFile::MaxFileBytes;
    constexpr qsizetype kSmall = kLarge / 10;
    const struct
    {
        const char *name;
        QByteArray filler;
    } kinds[] = {
        {"blank lines", "\r\n"}, {"lone CRs", "\r"}, {"key lines", "Ключ=значение\r\n"}, {"sections", "[j%1]\r\n"}};

    QTemporaryDir dir;
    for (const auto &kind : kinds) {
        double fresh[2] = {};
        double repeat[2] = {};
        const qsizetype sizes[2] = {kSmall, kLarge};
        for (int i = 0; i < 2; ++i) {
            const QString path = dir.filePath(QStringLiteral("load%1.ini").arg(i));
            QFile file(path);
            const QByteArray bytes = paddedFile(sizes[i], kind.filler);
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) < bytes.size())
                return 1;
            file.close();
            fresh[i] = freshLoadMs(path, runs);
            repeat[i] = loadMs(path, runs);
            if (fresh[i] < 0 || repeat[i] < 0)
                return 1;
        }
        for (const auto &[how, ms] : {std::pair{"fresh", fresh}, std::pair{"repeat", repeat}}) {
            const double ratio = ms[1] / std::max(ms[0], 0.001);
            std::printf("%-12s %-7s 1.6 MB: %8.1f ms   16 MB: %8.1f ms   ratio %.1f\n", kind.name, how, ms[0], ms[1],
                        ratio);
        }
    }
    return 0;
}
