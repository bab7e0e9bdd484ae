#include "files/profile.h"

Profile::Profile(const QStringList &lines) : m_lines(lines)
{
    reindex();
}

Profile Profile::fromText(const QString &text)
{
    QString normalised = text;
    normalised.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normalised.replace(u'\r', u'\n');
    QStringList lines = normalised.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return Profile(lines);
}

QString Profile::toText() const
{
    QString text;
    qsizetype size = 0;
    for (const QString &line : m_lines)
        size += line.size() + 2;
    text.reserve(size);
    for (const QString &line : m_lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    return text;
}

std::optional<QString> Profile::sectionName(const QString &line)
{
    const QString t = line.trimmed();
    if (!t.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = t.indexOf(u']');
    if (close < 0)
        return std::nullopt;
    return t.mid(1, close - 1).trimmed();
}

bool Profile::splitKey(const QString &line, QString *key, QString *value)
{
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0)
        return false;
    *key = line.left(eq).trimmed();
    *value = line.mid(eq + 1).trimmed();
    return !key->isEmpty();
}

void Profile::reindex()
{
    m_sections.clear();
    SectionIndex *current = nullptr;
    QString key;
    QString value;
    for (int i = 0; i < m_lines.size(); ++i) {
        const QString &line = m_lines.at(i);
        if (const auto name = sectionName(line)) {
            const QString folded = fold(*name);
            if (m_sections.contains(folded)) {
                current = nullptr; // a repeated section: the first occurrence is the one read
                continue;
            }
            current = &m_sections[folded];
            current->headerLine = i;
            current->lastLine = i;
            current->lastContentLine = i;
            continue;
        }
        if (!current)
            continue;
        current->lastLine = i;
        if (!line.trimmed().isEmpty())
            current->lastContentLine = i;
        if (splitKey(line, &key, &value)) {
            const QString folded = fold(key);
            if (!current->keys.contains(folded))
                current->keys.insert(folded, i);
        }
    }
}

std::optional<QString> Profile::value(const QString &section, const QString &key) const
{
    const auto s = m_sections.constFind(fold(section));
    if (s == m_sections.constEnd())
        return std::nullopt;
    const auto k = s->keys.constFind(fold(key));
    if (k == s->keys.constEnd())
        return std::nullopt;
    QString name;
    QString v;
    splitKey(m_lines.at(*k), &name, &v);
    return v;
}

QString Profile::string(const QString &section, const QString &key, const QString &defaultValue) const
{
    return value(section, key).value_or(defaultValue);
}

std::optional<int> Profile::parseInteger(const QString &text, IntSyntax syntax)
{
    bool ok = false;
    int result = 0;
    if (syntax == IntSyntax::DecimalOrHex) {
        if (text.startsWith(u'$')) {
            result = text.mid(1).toInt(&ok, 16);
            return ok && !text.mid(1).startsWith(u'-') && !text.mid(1).startsWith(u'+') ? std::optional<int>(result) : std::nullopt;
        }
        if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
            const QString digits = text.mid(2);
            result = digits.toInt(&ok, 16);
            return ok && !digits.startsWith(u'-') && !digits.startsWith(u'+') ? std::optional<int>(result) : std::nullopt;
        }
    }
    if (text.isEmpty())
        return std::nullopt;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool sign = i == 0 && (c == u'-' || c == u'+') && text.size() > 1;
        if (!sign && (c < u'0' || c > u'9'))
            return std::nullopt;
    }
    result = text.toInt(&ok, 10);
    return ok ? std::optional<int>(result) : std::nullopt;
}

int Profile::integer(const QString &section, const QString &key, int defaultValue, IntSyntax syntax) const
{
    const auto v = value(section, key);
    if (!v)
        return defaultValue;
    return parseInteger(*v, syntax).value_or(defaultValue);
}

bool Profile::hasKeys(const QString &section) const
{
    const auto s = m_sections.constFind(fold(section));
    return s != m_sections.constEnd() && !s->keys.isEmpty();
}

void Profile::setValue(const QString &section, const QString &key, const QString &value)
{
    const QString line = key + u'=' + value;
    const auto s = m_sections.constFind(fold(section));
    if (s == m_sections.constEnd()) {
        m_lines.append(u'[' + section + u']');
        m_lines.append(line);
    } else if (const auto k = s->keys.constFind(fold(key)); k != s->keys.constEnd()) {
        m_lines[*k] = line;
        return; // no line moved: the index stays valid
    } else {
        m_lines.insert(s->lastContentLine + 1, line);
    }
    reindex();
}
