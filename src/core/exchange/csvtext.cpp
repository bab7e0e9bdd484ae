#include "exchange/csvtext.h"

namespace CsvText {

namespace {

bool endsLine(QChar c)
{
    return c == u'\r' || c == u'\n';
}

bool endsField(QChar c)
{
    return c == Separator || endsLine(c);
}

// Reads records one field at a time and counts the lines it passes.
class Reader
{
public:
    explicit Reader(QStringView text) : m_text(text) {}

    Parsed read(qsizetype maxRecords)
    {
        Parsed parsed;
        while (m_at < m_text.size()) {
            if (static_cast<qsizetype>(parsed.records.size()) == maxRecords) {
                parsed.fault = Fault{m_line, 1, QStringLiteral("в файле больше %1 строк").arg(maxRecords)};
                break;
            }
            Record record;
            record.line = m_line;
            if (!readRecord(record, parsed.fault))
                break;
            parsed.records.push_back(std::move(record));
        }
        while (!parsed.fault && !parsed.records.empty() && isEmptyLine(parsed.records.back()))
            parsed.records.pop_back();
        return parsed;
    }

private:
    static bool isEmptyLine(const Record &record)
    {
        return record.fields.size() == 1 && record.fields.constFirst().isEmpty();
    }

    bool readRecord(Record &record, std::optional<Fault> &fault)
    {
        for (;;) {
            const int place = static_cast<int>(record.fields.size()) + 1;
            const qsizetype fieldLine = m_line;
            QString value;
            if (m_at < m_text.size() && m_text[m_at] == u'"') {
                if (!readQuoted(value)) {
                    fault =
                        Fault{fieldLine, place, QStringLiteral("кавычка, открытая здесь, не закрыта до конца файла")};
                    return false;
                }
                if (m_at < m_text.size() && !endsField(m_text[m_at])) {
                    fault = Fault{m_line, place,
                                  QStringLiteral("после закрывающей кавычки стоит \"%1\", а не \";\" или конец строки")
                                      .arg(m_text[m_at])};
                    return false;
                }
            } else {
                const qsizetype start = m_at;
                while (m_at < m_text.size() && !endsField(m_text[m_at]))
                    ++m_at;
                value = m_text.sliced(start, m_at - start).toString();
            }
            record.fields.append(value);
            if (m_at < m_text.size() && m_text[m_at] == Separator) {
                ++m_at;
                continue;
            }
            skipLineEnd();
            return true;
        }
    }

    // From the opening quote to the character after the closing one.
    bool readQuoted(QString &value)
    {
        ++m_at;
        while (m_at < m_text.size()) {
            const QChar c = m_text[m_at];
            if (c == u'"') {
                if (m_at + 1 < m_text.size() && m_text[m_at + 1] == u'"') {
                    value += u'"';
                    m_at += 2;
                    continue;
                }
                ++m_at;
                return true;
            }
            if (endsLine(c)) {
                const qsizetype start = m_at;
                skipLineEnd();
                value += m_text.sliced(start, m_at - start);
                continue;
            }
            value += c;
            ++m_at;
        }
        return false;
    }

    void skipLineEnd()
    {
        if (m_at >= m_text.size())
            return;
        if (m_text[m_at] == u'\r' && m_at + 1 < m_text.size() && m_text[m_at + 1] == u'\n')
            ++m_at;
        ++m_at;
        ++m_line;
    }

    QStringView m_text;
    qsizetype m_at = 0;
    qsizetype m_line = 1;
};

} // namespace

QString field(const QString &text)
{
    if (!text.contains(Separator) && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString line(const QStringList &fields)
{
    QStringList out;
    out.reserve(fields.size());
    for (const QString &f : fields)
        out.append(field(f));
    return out.join(Separator) + QStringLiteral("\r\n");
}

QByteArray utf8WithMark(const QString &text)
{
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

Parsed parse(QStringView text, qsizetype maxRecords)
{
    return Reader(text).read(maxRecords);
}

} // namespace CsvText
