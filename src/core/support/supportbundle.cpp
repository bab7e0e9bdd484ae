#include "support/supportbundle.h"

#include "common/paths.h"
#include "common/platformerror.h"
#include "files/pendingfile.h"
#include "files/readarchive.h"
#include "files/zippackage.h"
#include "trace/trace.h"
#include "trace/tracestore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

namespace SupportBundle {

namespace {

QByteArray fileBytes(const QString &path, qint64 most)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.read(most);
}

// The newest names of a folder of time-named files, the newest first.
QStringList newestNames(const QString &folder, const QString &pattern, int count)
{
    QStringList names;
    const QFileInfoList files = QDir(folder).entryInfoList({pattern}, QDir::Files, QDir::Time); // newest first
    for (const QFileInfo &info : files) {
        if (names.size() >= count)
            break;
        names.append(info.fileName());
    }
    return names;
}

QString portsText(const QList<ListedPort> &ports)
{
    QStringList lines;
    for (const ListedPort &port : ports)
        lines.append(PortListing::line(port));
    for (const ListedPort &port : ports) {
        const QString note = port.adapter.latencyNote(port.device);
        if (!note.isEmpty())
            lines.append(QStringLiteral("%1: %2").arg(port.names.value(0, port.device), note));
    }
    return lines.join(u'\n');
}

QString lastTransfer(const QString &traceFolder)
{
    const auto last = TraceStore::last(traceFolder);
    if (!last)
        return QStringLiteral("Последняя передача: журналов обмена нет.");
    try {
        const Trace trace = TraceStore::load(*last);
        QString text = QStringLiteral("Последняя передача: %1 на %2, %3\n  итог: %4\n  байтов передано %5, принято %6\n"
                                      "  журнал: traces/%7")
                           .arg(trace.transfer, trace.port.isEmpty() ? QStringLiteral("-") : trace.port,
                                trace.started.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")), trace.outcome)
                           .arg(trace.sent().size())
                           .arg(trace.received().size())
                           .arg(QFileInfo(*last).fileName());
        if (!trace.adapter.isEmpty())
            text += QStringLiteral("\n  адаптер: ") + trace.adapter;
        if (!trace.latency.isEmpty())
            text += QStringLiteral("\n  ") + trace.latency;
        return text;
    } catch (const PlatformError &e) {
        return QStringLiteral("Последняя передача: ") + e.text();
    }
}

} // namespace

Sources Sources::ofThisUser()
{
    Sources sources;
    sources.settingsFiles = {Paths::optionsFile(), Paths::configFolder() + QStringLiteral("/vetral-window.ini"),
                             Paths::tempSettingsFile()};
    if (!Paths::dataFolderRefusal()) {
        sources.traceFolder = TraceStore::folder();
        sources.archiveFolder = ReadArchive::folder();
    }
    sources.ports = PortListing::list(Paths::optionsFile());
    sources.made = QDateTime::currentDateTime();
    return sources;
}

QList<File> collect(const Sources &sources)
{
    QList<File> files;
    qsizetype size = 0;
    const auto add = [&](const QString &name, const QByteArray &data) {
        if (size + data.size() > MaxBytes)
            return false;
        size += data.size();
        files.append({name, data});
        return true;
    };

    const QStringList traces = TraceStore::newest(sources.traceFolder, Traces);
    const QStringList copies = newestNames(sources.archiveFolder, QStringLiteral("*.ini"), ArchiveNames);
    const QString ports = portsText(sources.ports);
    const QString summary =
        QStringLiteral("Архив для службы поддержки программатора \"Ветрал\"\nСоздан: %1\n\n%2\n\n"
                       "Программа: %3\nQt: %4\nСистема: %5 (%6, ядро %7)\n\nПорты (как vetral-cli ports):\n%8\n\n"
                       "В архиве:\n  ПРОЧТИТЕ.txt - эта сводка\n  ports.txt - порты и адаптеры\n"
                       "  settings/ - файлы настроек\n  traces/ - последние журналы обмена (%9), "
                       "читаются командой vetral-cli trace ФАЙЛ\n"
                       "  archive.txt - имена последних копий архива чтений (%10)\n")
            .arg(sources.made.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")), lastTransfer(sources.traceFolder),
                 Trace::thisProgram(), QString::fromLatin1(qVersion()), QSysInfo::prettyProductName(),
                 QSysInfo::currentCpuArchitecture(), QSysInfo::kernelVersion(),
                 ports.isEmpty() ? QStringLiteral("  (система не знает ни одного последовательного порта)") : ports)
            .arg(traces.size())
            .arg(copies.size());
    add(QStringLiteral("ПРОЧТИТЕ.txt"), summary.toUtf8());
    add(QStringLiteral("ports.txt"), ports.toUtf8());
    for (const QString &path : sources.settingsFiles)
        if (QFileInfo(path).isFile())
            add(QStringLiteral("settings/") + QFileInfo(path).fileName(), fileBytes(path, 64 * 1024));
    add(QStringLiteral("archive.txt"), copies.join(u'\n').toUtf8());
    for (const QString &path : traces)
        add(QStringLiteral("traces/") + QFileInfo(path).fileName(), fileBytes(path, MaxBytes));
    return files;
}

QString write(const QString &path, const QList<File> &files)
{
    const QString shown = QDir::toNativeSeparators(path);
    try {
        ZipPackage zip;
        for (const File &file : files)
            zip.add(file.name, file.data);
        const QByteArray bytes = zip.close();
        const QFileInfo info(path);
        PendingFile pending(info.absoluteDir(), QStringLiteral(".поддержка-XXXXXX.part"));
        pending.write(bytes);
        if (!pending.publishAs(info.absoluteFilePath()))
            throw PlatformError(QStringLiteral("файл уже есть"));
    } catch (const PlatformError &e) {
        throw PlatformError(
            QStringLiteral("Не удалось записать архив для службы поддержки \"%1\": %2").arg(shown, e.text()));
    }
    return path;
}

} // namespace SupportBundle
