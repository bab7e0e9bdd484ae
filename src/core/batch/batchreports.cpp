#include "batch/batchreports.h"

#include "common/platformerror.h"
#include "files/fileaccess.h"
#include "files/ioerror.h"
#include "report/docxwriter.h"
#include "report/reportdocument.h"
#include "table/channelplan.h"

#include <QDir>

BatchReports::BatchReports(QString folder, QString protocolSerial)
    : m_folder(std::move(folder)), m_protocolSerial(std::move(protocolSerial))
{
}

void BatchReports::prepare() const
{
    if (!QDir().mkpath(m_folder))
        throw PlatformError(
            QStringLiteral("Не удалось создать папку протоколов \"%1\"").arg(QDir::toNativeSeparators(m_folder)));
    // Found out now rather than after every station has been programmed.
    if (const int blocker = FileAccess::writeBlocker(QDir(m_folder).filePath(QStringLiteral("000000 (99).docx"))))
        throw PlatformError(QStringLiteral("В папку протоколов \"%1\" нельзя записать файл: %2")
                                .arg(QDir::toNativeSeparators(m_folder), IoError::message(blocker)));
}

QString BatchReports::save(const ChannelPlan &plan, int channelCount, const QString &stationSerial)
{
    const ReportDocument doc = ReportDocument::build(m_protocolSerial, plan.settingsLines, plan.table, channelCount);
    return DocxWriter::writeNumbered(doc, m_folder, stationSerial);
}
