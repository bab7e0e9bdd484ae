#include "batch/batchreports.h"

#include "common/platformerror.h"
#include "report/docxwriter.h"
#include "report/reportdocument.h"
#include "report/reportfiles.h"

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
}

QString BatchReports::save(const AppState &state, const QString &stationSerial)
{
    const ReportDocument doc = ReportDocument::build(state, m_protocolSerial);
    const std::lock_guard lock(m_naming);
    const QString path = ReportFiles::uniquePath(m_folder, stationSerial);
    DocxWriter::write(doc, path);
    return path;
}
