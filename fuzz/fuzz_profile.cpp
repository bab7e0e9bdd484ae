// The profile (INI) reader and writer on any bytes, as the options file
// V404Options.ini and MyTemp.ini are read: Windows-1251 text.
//
// Beside "no sanitizer report", the index-based reader is compared with the
// reading rules done the plain way, line by line, and every edit must leave
// the document reading as a fresh parse of its own text reads it.

#include "files/profile.h"
#include "files/windows1251.h"
#include "fuzzcheck.h"

#include <QHash>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

namespace {

// Big inputs are welcome, but the plain reading is quadratic: compare a sample.
constexpr int kMaxSections = 32;
constexpr int kMaxKeysPerSection = 32;

struct PlainSection
{
    QString name;                   // as first written
    QStringList keys;               // first occurrences, as written
    QHash<QString, QString> values; // folded key -> value
};

// The rules: a trimmed line "[name]..." opens a section, "key=value" lines
// belong to the section above, names compare without regard to case, the
// first section and the first key of a name win, blanks around key and value
// do not count.
std::vector<PlainSection> plainRead(const QString &text)
{
    QString normal = text;
    normal.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normal.replace(u'\r', u'\n');
    std::vector<PlainSection> sections;
    QHash<QString, int> seen;
    PlainSection *current = nullptr;
    const QStringList lines = normal.split(u'\n');
    for (const QString &line : lines) {
        const QString t = line.trimmed();
        if (t.startsWith(u'[') && t.indexOf(u']') > 0) {
            const QString name = t.mid(1, t.indexOf(u']') - 1).trimmed();
            const QString folded = name.toCaseFolded();
            if (seen.contains(folded)) {
                current = nullptr;
            } else {
                seen.insert(folded, int(sections.size()));
                sections.push_back({name, {}, {}});
                current = &sections.back();
            }
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (!current || eq < 0)
            continue;
        const QString key = line.left(eq).trimmed();
        if (key.isEmpty() || current->values.contains(key.toCaseFolded()))
            continue;
        current->keys.append(key);
        current->values.insert(key.toCaseFolded(), line.mid(eq + 1).trimmed());
    }
    return sections;
}

bool allOf(const QString &s, bool (*pred)(char16_t))
{
    for (QChar c : s)
        if (!pred(c.unicode()))
            return false;
    return !s.isEmpty();
}

bool isDecimalDigit(char16_t u)
{
    return u >= u'0' && u <= u'9';
}

bool isHexDigit(char16_t u)
{
    return isDecimalDigit(u) || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
}

// The whole-number rules, the plain way.
std::optional<int> plainInteger(const QString &text, Profile::IntSyntax syntax)
{
    if (syntax == Profile::IntSyntax::DecimalOrHex) {
        const bool dollar = text.startsWith(u'$');
        if (dollar || text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
            const QString digits = text.mid(dollar ? 1 : 2);
            if (digits.size() > 8 || !allOf(digits, isHexDigit))
                return std::nullopt;
            return static_cast<int>(digits.toUInt(nullptr, 16));
        }
    }
    QString digits = text;
    bool negative = false;
    if (digits.startsWith(u'-') || digits.startsWith(u'+')) {
        negative = digits.startsWith(u'-');
        digits.remove(0, 1);
    }
    if (!allOf(digits, isDecimalDigit))
        return std::nullopt;
    while (digits.size() > 1 && digits.startsWith(u'0'))
        digits.remove(0, 1);
    if (digits.size() > 10)
        return std::nullopt;
    const qint64 magnitude = digits.toLongLong();
    const qint64 value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

// The profile reads every sampled key the way the plain rules read `text`.
void compareWithPlain(const Profile &profile, const QString &text)
{
    const std::vector<PlainSection> plain = plainRead(text);
    int sectionCount = 0;
    for (const PlainSection &section : plain) {
        if (++sectionCount > kMaxSections)
            break;
        FUZZ_CHECK_EQUAL(profile.hasKeys(section.name), !section.keys.isEmpty());
        const QStringList keys = section.keys.mid(0, kMaxKeysPerSection);
        const auto together = profile.values(section.name, keys);
        FUZZ_CHECK_EQUAL(together.size(), std::size_t(keys.size()));
        for (qsizetype i = 0; i < keys.size(); ++i) {
            const QString expected = section.values.value(keys.at(i).toCaseFolded());
            FUZZ_CHECK_EQUAL(profile.value(section.name, keys.at(i)), std::optional<QString>(expected));
            FUZZ_CHECK_EQUAL(together[std::size_t(i)], std::optional<QString>(expected));
            for (auto syntax : {Profile::IntSyntax::Decimal, Profile::IntSyntax::DecimalOrHex})
                FUZZ_CHECK_EQUAL(Profile::parseInteger(expected, syntax), plainInteger(expected, syntax));
        }
    }
}

// A value for an edit: the input's own characters, without line breaks.
QString editValue(const QString &text)
{
    QString value = text.left(24);
    value.replace(u'\r', u' ');
    value.replace(u'\n', u' ');
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString text = Windows1251::decode(bytes);
    Profile profile = Profile::fromText(text);

    // Lines and text describe the same document.
    const QStringList lines = profile.lines();
    FUZZ_CHECK_EQUAL(Profile(lines).toText(), profile.toText());
    FUZZ_CHECK_EQUAL(Profile::fromText(profile.toText()).lines(), lines);

    compareWithPlain(profile, text);

    // Edits: replace the first key, add a key to the first section, add a new
    // section. After each, the document reads like a fresh parse of its text,
    // and the edited key reads back.
    const std::vector<PlainSection> plain = plainRead(text);
    struct Edit
    {
        QString section, key, value;
    };
    std::vector<Edit> edits;
    const QString value = editValue(text);
    if (!plain.empty()) {
        // A key that starts like a section header is no key setValue() takes.
        if (!plain.front().keys.isEmpty() && !plain.front().keys.front().startsWith(u'['))
            edits.push_back({plain.front().name, plain.front().keys.front(), value});
        edits.push_back({plain.front().name, QStringLiteral("Тип"), QStringLiteral("3")});
    }
    edits.push_back({QStringLiteral("1"), QStringLiteral("Номер"), value});
    for (const Edit &edit : edits) {
        profile.setValue(edit.section, edit.key, edit.value);
        const QString after = profile.toText();
        compareWithPlain(profile, after);
        const QString expected = edit.value.trimmed();
        FUZZ_CHECK_EQUAL(profile.value(edit.section, edit.key), std::optional<QString>(expected));
    }
    return 0;
}
