// Loads channel files of 2 MB and 20 MB and prints both times and their
// ratio: the load must grow with the file's size, not with its square
// (a ratio near 10, not near 100; a little above 10 where the small file
// fits in the processor's cache and the large one does not). Each file is
// one channel section padded with blank lines (the worst case for line-end
// handling), lone CRs, or key lines, which the loader has to look through.
// Each time is the best of N loads (at least 5).
//
//   bench_load [--runs N]

#include "benchargs.h"
#include "files/channelfile.h"
#include "state/appstate.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

QByteArray paddedFile(qsizetype size, const QByteArray &filler)
{
    QByteArray bytes("[1]\r\nRx=145000\r\n");
    bytes.reserve(size + filler.size());
    while (bytes.size() < size)
        bytes += filler;
    return bytes;
}

// The best of `runs` loads of the file, in milliseconds.
double loadMs(const QString &path, int runs)
{
    double best = -1;
    for (int run = 0; run < runs; ++run) {
        AppState state;
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

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = std::max(5, BenchArgs::parse(app.arguments()).runs);
    constexpr qsizetype kSmall = 2 * 1024 * 1024;
    constexpr qsizetype kLarge = 20 * 1024 * 1024;
    const struct
    {
        const char *name;
        QByteArray filler;
    } kinds[] = {{"blank lines", "\r\n"}, {"lone CRs", "\r"}, {"key lines", "Ключ=значение\r\n"}};

    QTemporaryDir dir;
    for (const auto &kind : kinds) {
        double ms[2] = {};
        const qsizetype sizes[2] = {kSmall, kLarge};
        for (int i = 0; i < 2; ++i) {
            const QString path = dir.filePath(QStringLiteral("load%1.ini").arg(i));
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
                || file.write(paddedFile(sizes[i], kind.filler)) < sizes[i])
                return 1;
            file.close();
            ms[i] = loadMs(path, runs);
            if (ms[i] < 0)
                return 1;
        }
        const double ratio = ms[1] / std::max(ms[0], 0.001);
        std::printf("%-12s 2 MB: %8.1f ms   20 MB: %8.1f ms   ratio %.1f\n", kind.name, ms[0], ms[1], ratio);
    }
    return 0;
}
