#pragma once

// A PDF read back as a reader of the paper sees it: its page count
// (poppler's pdfinfo) and the text of its pages (pdftotext, UTF-8, in
// reading order). scripts/install-deps installs poppler-utils.

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace PdfText {

inline QString run(const QString &tool, const QStringList &arguments)
{
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        qFatal("%s (poppler-utils) is not installed: scripts/install-deps installs it", qPrintable(tool));
    QProcess process;
    process.start(program, arguments);
    // A guard against a hung tool, not a performance figure.
    if (!process.waitForFinished(120000) || process.exitCode() != 0)
        qFatal("%s failed: %s", qPrintable(tool), process.readAllStandardError().constData());
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline int pages(const QString &pdf)
{
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)$"), QRegularExpression::MultilineOption)
            .match(run(QStringLiteral("pdfinfo"), {pdf}));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// Pages first..last, from 1; all of them by default. The layout is kept, so
// that a table row reads as one line.
inline QString text(const QString &pdf, int first = 0, int last = 0)
{
    QStringList arguments{QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8")};
    if (first > 0)
        arguments << QStringLiteral("-f") << QString::number(first) << QStringLiteral("-l")
                  << QString::number(last > 0 ? last : first);
    return run(QStringLiteral("pdftotext"), arguments << pdf << QStringLiteral("-"));
}

// The text split into words, sorted: two texts with the same words in any
// layout compare equal.
inline QStringList words(const QString &text)
{
    QStringList list = text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    list.sort();
    return list;
}

// The bytes in a file of the folder, for the tools.
inline QString saved(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

} // namespace PdfText
