#include "batch/batchreports.h"

#include "common/platformerror.h"
#include "files/fileaccess.h"
#include "files/ioerror.h"
#include "report/docxwriter.h"
#include "report/reportdocument.h"
#include "table/channelplan.h"

#include <QDir>
#include <QStorageInfo>
#include <algorithm>

BatchReports::BatchReports(QString folder, QString protocolSerial)
    : m_folder(std::move(folder)), m_protocolSerial(std::move(protocolSerial))
{
}

void BatchReports::prepare(qsizetype stations) const
{
    if (!QDir().mkpath(m_folder))
        throw PlatformError(
            QStringLiteral("Не удалось создать папку протоколов \"%1\"").arg(QDir::toNativeSeparators(m_folder)));
    const auto refused = [this](const QString &reason) {
        return PlatformError(QStringLiteral("В папку протоколов \"%1\" нельзя записать файл: %2")
                                 .arg(QDir::toNativeSeparators(m_folder), reason));
    };
    // Found out now rather than after every station has been programmed.
    if (const int blocker = FileAccess::writeBlocker(QDir(m_folder).filePath(QStringLiteral("000000 (99).docx"))))
        throw refused(IoError::writeReason(blocker));
    const QStorageInfo disk(m_folder);
    const qint64 needed = ReportBytes * std::max<qsizetype>(stations, 1);
    if (disk.isValid() && disk.bytesAvailable() < needed)
        throw refused(QStringLiteral("нет места на диске (свободно %1 КБ, протоколам нужно %2 КБ)")
                          .arg(disk.bytesAvailable() / 1024)
                          .arg(needed / 1024));
}

QString BatchReports::save(const ChannelPlan &plan, int channelCount, const QString &stationSerial)
{
    const ReportDocument doc = ReportDocument::build(m_protocolSerial, plan.settingsLines, plan.table, channelCount);
    return DocxWriter::writeNumbered(doc, m_folder, stationSerial);
}
