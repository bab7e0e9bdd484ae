#pragma once

#include "link/portlisting.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// One zip a technician sends to support: a short summary on top
// (ПРОЧТИТЕ.txt: program, Qt and system, the last transfer and how it
// ended, the ports), the port list as `vetral-cli ports` prints it, the
// options files, the newest traces and the names of the newest archive
// copies. Small enough for any mail (under 1 MB).
namespace SupportBundle {

struct Sources
{
    QStringList settingsFiles; // copied when they exist
    QString traceFolder;
    QString archiveFolder;
    QList<ListedPort> ports;
    QDateTime made;

    // The files, folders and ports of this user and system.
    static Sources ofThisUser();
};

struct File
{
    QString name;
    QByteArray data;
};

constexpr int Traces = 10;
constexpr int ArchiveNames = 20;
constexpr qsizetype MaxBytes = 900 * 1024; // of what goes in, before packing

// The files of the bundle, the summary first.
QList<File> collect(const Sources &sources);
// Writes them as a zip at `path`, which must not exist; returns the path.
// Throws PlatformError naming the file and the reason.
QString write(const QString &path, const QList<File> &files);

} // namespace SupportBundle
