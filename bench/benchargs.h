#pragma once

#include <QStringList>
#include <algorithm>

// The options every benchmark takes: --runs N and --no-line-time.
struct BenchArgs
{
    bool lineTime = true;
    int runs = 1;

    static BenchArgs parse(const QStringList &args)
    {
        BenchArgs parsed;
        parsed.lineTime = !args.contains(QStringLiteral("--no-line-time"));
        if (const qsizetype i = args.indexOf(QStringLiteral("--runs")); i >= 0 && i + 1 < args.size())
            parsed.runs = std::max(1, args.at(i + 1).toInt());
        return parsed;
    }
};
