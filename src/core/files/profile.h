#pragma once

#include "files/sectionindex.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>
#include <vector>

// An INI ("profile") document with the Windows profile semantics the station
// files rely on: sections in square brackets, key=value lines, section and key
// names compared without regard to case, the value is the text after the first
// "=" without surrounding blanks, the first occurrence of a section or key wins,
// and lines that are neither carry nothing. Lines are kept as they are, so a
// document written back keeps everything it was not asked to change.
//
// The document is held as one text with an index of its sections, not as a
// list of line objects: a damaged file of millions of short lines then costs
// little more than its own text, and reading a key scans only its section.
class Profile
{
public:
    enum class IntSyntax { Decimal, DecimalOrHex };

    Profile() = default;
    // A line holding a line break becomes several lines.
    explicit Profile(const QStringList &lines);
    // Splits at CR LF, LF or CR. A text passed by std::move is worked on in
    // place, without a copy of it.
    static Profile fromText(QString text);

    QStringList lines() const;
    // Lines joined with CR LF, each line ended by CR LF.
    QString toText() const;

    std::optional<QString> value(const QString &section, const QString &key) const;
    // Several keys of one section read in one pass over it, in the order asked.
    std::vector<std::optional<QString>> values(const QString &section, const QStringList &keys) const;
    QString string(const QString &section, const QString &key, const QString &defaultValue) const;
    // A value that is not a whole number of the given syntax reads as the
    // default. Decimal takes an optional sign and must fit 32 bits; DecimalOrHex
    // also takes "0x", "0X" and "$" followed by up to eight hexadecimal digits,
    // read as a 32-bit pattern ("$FFFFFFFF" is -1).
    int integer(const QString &section, const QString &key, int defaultValue,
                IntSyntax syntax = IntSyntax::Decimal) const;
    // True when the section exists and holds at least one key.
    bool hasKeys(const QString &section) const;
    // The name of every section (its first occurrence), in document order.
    template <typename Visit>
    void forEachSectionName(const Visit &visit) const
    {
        for (std::size_t i = 0; i < m_sections.size(); ++i)
            visit(nameOf(i));
    }

    // Replaces the key's value in place (the key keeps its spelling), or adds
    // the key behind the last non-blank line of the section, or adds the
    // section with the key at the end, behind a blank line. Names and the
    // value must not hold line breaks; the key must not be empty, hold "="
    // or begin with "[" (its line could then read as a section header).
    void setValue(const QString &section, const QString &key, const QString &value);

    static std::optional<int> parseInteger(QStringView text, IntSyntax syntax);

private:
    // Offsets into m_text; every line, the last included, ends with '\n'.
    struct Section
    {
        qsizetype header = 0;     // start of the header line
        qsizetype contentEnd = 0; // behind the last non-blank line (the header at least)
        qsizetype end = 0;        // behind the last line that belongs to the section
        qsizetype nameSize = 0;   // the name as the header gives it, trimmed,
        int nameFrom = 0;         // from this far behind the header's start
        bool hasKeys = false;
    };
    struct KeyLine
    {
        qsizetype start = -1; // start of the line, -1 when the key is missing
        qsizetype end = -1;   // behind its '\n'
        QStringView key;
        QStringView value;
    };

    void index();
    const Section *findSection(QStringView name) const;
    QStringView nameOf(std::size_t section) const;
    KeyLine findKey(const Section &section, QStringView key) const;
    qsizetype bodyStart(const Section &section) const;
    // Moves every section offset at or behind pos by delta.
    void shift(qsizetype pos, qsizetype delta);
    bool endsWithBlankLine() const;

    static std::optional<QStringView> sectionName(QStringView line);
    static bool splitKey(QStringView line, QStringView *key, QStringView *value);
    // CR LF, LF and CR to LF, and the last line ended too.
    static void normalise(QString &text);

    QString m_text;
    std::vector<Section> m_sections; // first occurrences, in document order
    SectionIndex m_sectionIndex;     // their names
};
