#include "batch/batchjournal.h"
#include "exchange/csvtext.h"

#include <QDir>
#include <QStringList>

namespace BatchJournal {

QByteArray csv(const QList<Row> &rows)
{
    QString text = CsvText::line({QStringLiteral("Порт"), QStringLiteral("Серийный номер"), QStringLiteral("Id"),
                                  QStringLiteral("Результат"), QStringLiteral("Дата и время"),
                                  QStringLiteral("Копия в архиве"), QStringLiteral("Протокол")});
    for (const Row &row : rows)
        text +=
            CsvText::line({row.port, row.serial, row.id, row.result,
                           row.ended.isValid() ? row.ended.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")) : QString(),
                           QDir::toNativeSeparators(row.archiveCopy), QDir::toNativeSeparators(row.report)});
    return CsvText::utf8WithMark(text);
}

} // namespace BatchJournal
