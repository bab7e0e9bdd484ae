#include "files/profile.h"
#include "common/numbers.h"

#include <QtGlobal>
#include <limits>

namespace {

// Calls visit(line, start, end) for each line of text[from, to); end is behind the '\n'.
// visit returns false to stop. The scan is a plain loop: most lines of a
// damaged file are empty or short, and a library search per line would cost
// more than the line itself.
template <typename Visit>
void forEachLine(const QString &text, qsizetype from, qsizetype to, Visit visit)
{
    const QChar *const data = text.constData();
    qsizetype start = from;
    while (start < to) {
        qsizetype newline = start;
        while (newline < to && data[newline] != u'\n')
            ++newline;
        const qsizetype end = newline < to ? newline + 1 : to;
        if (!visit(QStringView(data + start, newline - start), start, end))
            return;
        start = end;
    }
}

std::optional<int> parseHex(QStringView digits)
{
    if (digits.isEmpty() || digits.size() > 8)
        return std::nullopt;
    quint32 result = 0;
    for (const QChar c : digits) {
        const int d = Numbers::hexDigit(c);
        if (d < 0)
            return std::nullopt;
        result = result * 16 + static_cast<quint32>(d);
    }
    return static_cast<int>(result);
}

std::optional<int> parseDecimal(QStringView text)
{
    qsizetype i = 0;
    bool negative = false;
    if (!text.isEmpty() && (text.front() == u'-' || text.front() == u'+')) {
        negative = text.front() == u'-';
        i = 1;
    }
    if (i == text.size())
        return std::nullopt;
    qint64 result = 0;
    for (; i < text.size(); ++i) {
        const char16_t u = text.at(i).unicode();
        if (u < u'0' || u > u'9')
            return std::nullopt;
        result = result * 10 + (u - u'0');
        if (result > qint64(1) << 31)
            return std::nullopt;
    }
    if (negative)
        result = -result;
    if (result < std::numeric_limits<int>::min() || result > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(result);
}

} // namespace

void Profile::normalise(QString &text)
{
    // In place and in one pass: the text never grows (a CR LF becomes one
    // LF), and a whole-text copy per load would double the fresh memory a
    // large file needs while it is read.
    if (text.isEmpty())
        return;
    QChar *const begin = text.data();
    const QChar *const end = begin + text.size();
    const QChar *p = begin;
    while (p != end && *p != u'\r')
        ++p;
    QChar *out = begin + (p - begin);
    for (; p != end; ++p) {
        if (*p != u'\r') {
            *out++ = *p;
            continue;
        }
        *out++ = u'\n';
        if (p + 1 != end && p[1] == u'\n')
            ++p;
    }
    text.truncate(out - begin);
    if (text.back() != u'\n')
        text.append(u'\n');
}

Profile::Profile(const QStringList &lines)
{
    if (!lines.isEmpty()) {
        m_text = lines.join(u'\n') + u'\n';
        normalise(m_text);
    }
    index();
}

Profile Profile::fromText(QString text)
{
    Profile profile;
    normalise(text);
    profile.m_text = std::move(text);
    profile.index();
    return profile;
}

void Profile::index()
{
    m_sections.clear();
    m_sectionIndex.clear();
    Section *current = nullptr;
    QStringView key;
    QStringView value;
    forEachLine(m_text, 0, m_text.size(), [&](QStringView line, qsizetype start, qsizetype end) {
        if (line.isEmpty()) {
            if (current)
                current->end = end;
            return true;
        }
        // A line that starts with neither a blank nor "[" is neither blank
        // nor a header, which spares most lines both tests.
        const bool plain = line.front() != u'[' && !line.front().isSpace();
        if (const auto name = plain ? std::nullopt : sectionName(line)) {
            // Entered before the index looks at it, taken back when the name is not new.
            m_sections.push_back(Section{start, end, end, name->size(), int(name->data() - line.data()), false});
            if (m_sectionIndex.add(*name, [this](std::size_t i) { return nameOf(i); }) >= 0) {
                m_sections.pop_back();
                current = nullptr; // a repeated section: the first occurrence is the one read
            } else {
                current = &m_sections.back();
            }
            return true;
        }
        if (!current)
            return true;
        current->end = end;
        if (plain || !line.trimmed().isEmpty())
            current->contentEnd = end;
        if (!current->hasKeys && splitKey(line, &key, &value))
            current->hasKeys = true;
        return true;
    });
}

QStringList Profile::lines() const
{
    QStringList result;
    forEachLine(m_text, 0, m_text.size(), [&](QStringView line, qsizetype, qsizetype) {
        result.append(line.toString());
        return true;
    });
    return result;
}

QString Profile::toText() const
{
    QString text;
    text.reserve(m_text.size() + m_text.count(u'\n'));
    for (const QChar c : m_text) {
        if (c == u'\n')
            text.append(u'\r');
        text.append(c);
    }
    return text;
}

std::optional<QStringView> Profile::sectionName(QStringView line)
{
    const QStringView t = line.trimmed();
    if (!t.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = t.indexOf(u']');
    if (close < 0)
        return std::nullopt;
    return t.sliced(1, close - 1).trimmed();
}

bool Profile::splitKey(QStringView line, QStringView *key, QStringView *value)
{
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0)
        return false;
    *key = line.first(eq).trimmed();
    *value = line.sliced(eq + 1).trimmed();
    return !key->isEmpty();
}

QStringView Profile::nameOf(std::size_t section) const
{
    const Section &s = m_sections[section];
    return QStringView(m_text).sliced(s.header + s.nameFrom, s.nameSize);
}

const Profile::Section *Profile::findSection(QStringView name) const
{
    const qsizetype found = m_sectionIndex.find(name, [this](std::size_t i) { return nameOf(i); });
    return found < 0 ? nullptr : &m_sections[static_cast<std::size_t>(found)];
}

qsizetype Profile::bodyStart(const Section &section) const
{
    return m_text.indexOf(u'\n', section.header) + 1;
}

Profile::KeyLine Profile::findKey(const Section &section, QStringView key) const
{
    KeyLine found;
    if (!section.hasKeys)
        return found;
    const QStringView wanted = key.trimmed();
    QStringView k;
    QStringView v;
    forEachLine(m_text, bodyStart(section), section.end, [&](QStringView line, qsizetype start, qsizetype end) {
        if (!splitKey(line, &k, &v) || k.size() != wanted.size() || k.compare(wanted, Qt::CaseInsensitive) != 0)
            return true;
        found = KeyLine{start, end, k, v};
        return false;
    });
    return found;
}

std::optional<QString> Profile::value(const QString &section, const QString &key) const
{
    const Section *s = findSection(section);
    if (!s)
        return std::nullopt;
    const KeyLine line = findKey(*s, key);
    if (line.start < 0)
        return std::nullopt;
    return line.value.toString();
}

std::vector<std::optional<QString>> Profile::values(const QString &section, const QStringList &keys) const
{
    std::vector<std::optional<QString>> result(static_cast<std::size_t>(keys.size()));
    const Section *s = findSection(section);
    if (!s || !s->hasKeys)
        return result;
    std::vector<QStringView> wanted;
    wanted.reserve(result.size());
    for (const QString &key : keys)
        wanted.push_back(QStringView(key).trimmed());
    std::size_t missing = result.size();
    forEachLine(m_text, bodyStart(*s), s->end, [&](QStringView line, qsizetype, qsizetype) {
        // As splitKey(), but the value is only trimmed for a key asked for.
        const qsizetype eq = line.isEmpty() ? -1 : line.indexOf(u'=');
        if (eq < 0)
            return true;
        const QStringView k = line.first(eq).trimmed();
        if (k.isEmpty())
            return true;
        // Equal lengths first: most lines of a damaged file are then passed over
        // without a comparison.
        for (std::size_t i = 0; i < wanted.size(); ++i) {
            if (result[i] || wanted[i].size() != k.size() || k.compare(wanted[i], Qt::CaseInsensitive) != 0)
                continue;
            result[i] = line.sliced(eq + 1).trimmed().toString();
            --missing;
        }
        return missing > 0;
    });
    return result;
}

QString Profile::string(const QString &section, const QString &key, const QString &defaultValue) const
{
    return value(section, key).value_or(defaultValue);
}

std::optional<int> Profile::parseInteger(QStringView text, IntSyntax syntax)
{
    if (syntax == IntSyntax::DecimalOrHex) {
        if (text.startsWith(u'$'))
            return parseHex(text.sliced(1));
        if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
            return parseHex(text.sliced(2));
    }
    return parseDecimal(text);
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
    const Section *s = findSection(section);
    return s && s->hasKeys;
}

void Profile::shift(qsizetype pos, qsizetype delta)
{
    for (Section &s : m_sections) {
        if (s.header >= pos)
            s.header += delta;
        if (s.contentEnd >= pos)
            s.contentEnd += delta;
        if (s.end >= pos)
            s.end += delta;
    }
}

bool Profile::endsWithBlankLine() const
{
    // m_text is not empty and ends with '\n': look for the break before the last line.
    const qsizetype lastLineStart = m_text.size() < 2 ? 0 : m_text.lastIndexOf(u'\n', m_text.size() - 2) + 1;
    return QStringView(m_text).sliced(lastLineStart).trimmed().isEmpty();
}

void Profile::setValue(const QString &section, const QString &key, const QString &value)
{
    Q_ASSERT(!key.trimmed().isEmpty() && !key.contains(u'=') && !key.trimmed().startsWith(u'['));
    const Section *found = findSection(section);
    if (!found) {
        if (!m_text.isEmpty() && !endsWithBlankLine())
            m_text += u'\n';
        Section added;
        added.header = m_text.size();
        m_text += u'[' + section + QLatin1String("]\n") + key + u'=' + value + u'\n';
        added.contentEnd = added.end = m_text.size();
        added.nameFrom = 1;
        added.nameSize = section.size();
        added.hasKeys = true;
        m_sections.push_back(added);
        m_sectionIndex.add(section, [this](std::size_t i) { return nameOf(i); });
        return;
    }
    const std::size_t target = static_cast<std::size_t>(found - m_sections.data());
    const KeyLine existing = findKey(m_sections[target], key);
    if (existing.start >= 0) {
        const QString line = existing.key.toString() + u'=' + value + u'\n';
        const qsizetype oldLength = existing.end - existing.start;
        m_text.replace(existing.start, oldLength, line);
        shift(existing.end, line.size() - oldLength);
        return;
    }
    const QString line = key + u'=' + value + u'\n';
    const qsizetype pos = m_sections[target].contentEnd;
    m_text.insert(pos, line);
    shift(pos, line.size());
    m_sections[target].contentEnd = pos + line.size();
    m_sections[target].hasKeys = true;
}
