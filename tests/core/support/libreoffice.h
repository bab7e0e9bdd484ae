#pragma once

// LibreOffice run headless on a file, for the tests that show that a real
// office program takes what the station program writes. Each conversion
// runs in a profile of its own, so that a LibreOffice the user has open
// does not take the job over.

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

namespace LibreOffice {

// The program, or empty where LibreOffice is not installed.
inline QString program()
{
    return QStandardPaths::findExecutable(QStringLiteral("soffice"));
}

// Whether the part of LibreOffice that opens a kind of document is there:
// "sw" (Writer, documents) or "sc" (Calc, spreadsheets). Distributions
// package them apart, and soffice alone opens neither.
inline bool hasPart(const QString &part)
{
    const QString folder = QFileInfo(program()).canonicalPath();
    return QFileInfo::exists(folder + QStringLiteral("/lib") + part + QStringLiteral("lo.so"));
}

// `soffice --headless ARGUMENTS --outdir OUTDIR INPUT` with the profile in
// `profile`; false when it failed, with what it said in `output`.
inline bool convert(const QString &profile, const QStringList &arguments, const QString &input, const QString &outdir,
                    QString &output)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program(),
                  QStringList{QStringLiteral("-env:UserInstallation=file://") + profile, QStringLiteral("--headless")}
                      + arguments + QStringList{QStringLiteral("--outdir"), outdir, input});
    // A guard against a hung office, not a performance figure.
    const bool finished = process.waitForFinished(300000);
    output = QString::fromLocal8Bit(process.readAll());
    if (!finished)
        process.kill();
    return finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace LibreOffice
