#pragma once

#include <QString>
#include <mutex>

struct AppState;

// The reports of a batch: one per station, "<serial number>.docx" in one
// folder, " (2)", " (3)" ... added when the name is taken. The stations'
// threads save at the same time, so the name is chosen and the file made
// under one lock: two stations that share a serial number get two files.
// (The file is also created exclusively, so a file that another program
// made in the meantime is never replaced.)
class BatchReports
{
public:
    BatchReports(QString folder, QString protocolSerial);

    // Creates the folder; throws PlatformError when it cannot be made.
    void prepare() const;
    // Writes the report of the checked state for the station with this
    // serial number and returns its path. Throws PlatformError.
    QString save(const AppState &state, const QString &stationSerial);

private:
    QString m_folder;
    QString m_protocolSerial;
    std::mutex m_naming;
};
