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
// `profile`, started at once: conversions in profiles of their own run side
// by side, as each spends most of its time starting the office.
class Conversion
{
public:
    Conversion(const QString &profile, const QStringList &arguments, const QString &input, const QString &outdir)
    {
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.start(program(), QStringList{QStringLiteral("-env:UserInstallation=file://") + profile,
                                               QStringLiteral("--headless")}
                                       + arguments + QStringList{QStringLiteral("--outdir"), outdir, input});
    }
    Conversion(const Conversion &) = delete;
    Conversion &operator=(const Conversion &) = delete;
    ~Conversion()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }

    // Waits for its end; false when it failed, with what it said in `output`.
    bool finish(QString &output)
    {
        // A guard against a hung office, not a performance figure.
        const bool finished = m_process.waitForFinished(300000);
        output = QString::fromLocal8Bit(m_process.readAll());
        return finished && m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
    }

private:
    QProcess m_process;
};

} // namespace LibreOffice
