#pragma once

#include <QString>

struct ChannelPlan;

// The reports of a batch: one per station, "<serial number>.docx" in one
// folder, " (2)", " (3)" ... added when the name is taken. A name is taken
// only where none stands, in one step, so two stations that share a serial
// number, or two batches sharing the folder, get files of their own.
class BatchReports
{
public:
    BatchReports(QString folder, QString protocolSerial);

    // Creates the folder; throws PlatformError when it cannot be made, takes
    // no new file or has no room for the reports of `stations` stations:
    // found out before the first station is programmed, not after the last.
    void prepare(qsizetype stations = 1) const;

    // Room kept for each report, with a wide margin: one of 99 channels
    // takes some 8 KB.
    static constexpr qint64 ReportBytes = 64 * 1024;

    // Writes the report of the checked plan of `channelCount` channels for
    // the station with this serial number and returns its path. Throws
    // PlatformError.
    QString save(const ChannelPlan &plan, int channelCount, const QString &stationSerial);

    const QString &folder() const { return m_folder; }

private:
    QString m_folder;
    QString m_protocolSerial;
};
