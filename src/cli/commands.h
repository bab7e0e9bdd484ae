#pragma once

#include "check/datacheck.h"
#include "table/channelplan.h"
#include "transfer/stationsequence.h"

#include <QCoreApplication>
#include <QObject>
#include <QStringList>
#include <memory>
#include <optional>

struct PortArgument;

class CommandLine;

// What the commands of vetral-cli do (command.h says what they take). Each
// takes its parsed arguments and returns the exit status (ExitCode). Usage
// errors are thrown as UsageError, platform failures as PlatformError;
// main() reports both with status 2.
namespace Commands {

int check(const CommandLine &line);
int dump(const CommandLine &line);
int write(const CommandLine &line);
int read(const CommandLine &line);
int report(const CommandLine &line);
int search(const CommandLine &line);
int ports(const CommandLine &line);
int fleet(const CommandLine &line);
int diff(const CommandLine &line);
int csvExport(const CommandLine &line);
int csvImport(const CommandLine &line);
int printSheet(const CommandLine &line);
int trace(const CommandLine &line);
int support(const CommandLine &line);

// QGuiApplication for the commands that draw pages (print, report), else
// QCoreApplication.
std::unique_ptr<QCoreApplication> application(int &argc, char **argv);

// "Чтение файла" as the window runs it: the file's settings, station type,
// module and table replace the plan's. A file the window cannot take (no
// channel section 1) throws PlatformError, as one that cannot be opened.
void loadFile(const QString &path, ChannelPlan &plan);

// A channel file as the window holds it after "Чтение файла" and
// "Контроль": the plan, and what the check made of it.
struct CheckedFile
{
    ChannelPlan plan;
    DataCheckResult check;
};

// "Чтение файла" and then "Контроль", as the window runs them, for the
// commands that take a channel file. The temporary settings file is the
// program's own.
//
// Throws PlatformError when the file cannot be opened, when the load refuses
// it (no channel section 1), and for the check's platform failures (a cell
// that must be a number and is not, MyTemp.ini not writable).
CheckedFile loadAndCheck(const QString &path);
// loadAndCheck() for the commands that go on with checked data: nothing,
// with the check's message printed, when the check refused.
std::optional<CheckedFile> loadPassingCheck(const QString &path);

// Runs the program's event loop until `job` (a TransferJob or a
// BatchRunner) has finished; the job reports to this thread meanwhile.
template <class Job>
void runToEnd(Job &job, void (Job::*finished)())
{
    QObject::connect(&job, finished, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    job.start();
    QCoreApplication::exec();
}

// The archive of reads, for the commands that keep a copy of every read.
// Throws PlatformError, before any port is opened, when the folder cannot
// be named exactly.
QString archiveFolder();
// The traces of transfers, beside the archive; throws as archiveFolder().
QString traceFolder();

// The station sequence of `plan` on PORT as a job, with its progress on
// standard error; stopped by SIGINT, SIGTERM and SIGHUP.
SequenceOutcome runOnStation(StationPlan plan, const PortArgument &port);
// A read that went through: the station's data are there to use, whether
// or not their copy could be kept in the archive.
bool readThrough(const SequenceOutcome &outcome);
// Where the read's copy went, or why it could not be kept, on standard error.
void tellArchiveCopy(const SequenceOutcome &outcome);
// Prints the outcome as the command's line (a port's failure on standard
// error, everything else on standard output) and gives its exit status.
int printEnd(const SequenceOutcome &outcome);

} // namespace Commands
