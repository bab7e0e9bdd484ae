#include "batch/batchjournal.h"

#include <QDir>
#include <QStringList>

namespace BatchJournal {

namespace {

QString field(const QString &text)
{
    if (!text.contains(u';') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString line(const QStringList &fields)
{
    QStringList out;
    for (const QString &f : fields)
        out.append(field(f));
    return out.join(u';') + QStringLiteral("\r\n");
}

} // namespace

QByteArray csv(const QList<Row> &rows)
{
    QString text = line({QStringLiteral("Порт"), QStringLiteral("Серийный номер"), QStringLiteral("Id"),
                         QStringLiteral("Результат"), QStringLiteral("Дата и время"), QStringLiteral("Копия в архиве"),
                         QStringLiteral("Протокол")});
    for (const Row &row : rows)
        text += line({row.port, row.serial, row.id, row.result,
                      row.ended.isValid() ? row.ended.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")) : QString(),
                      QDir::toNativeSeparators(row.archiveCopy), QDir::toNativeSeparators(row.report)});
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

} // namespace BatchJournal
