#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

// An INI ("profile") document with the Windows profile semantics the station
// files rely on: sections in square brackets, key=value lines, section and key
// names compared without regard to case, the value is the text after the first
// "=" without surrounding blanks, the first occurrence of a section or key wins,
// and lines that are neither carry nothing. Lines are kept as they are, so a
// document written back keeps everything it was not asked to change.
class Profile
{
public:
    enum class IntSyntax { Decimal, DecimalOrHex };

    Profile() = default;
    explicit Profile(const QStringList &lines);
    // Splits at CR LF, LF or CR.
    static Profile fromText(const QString &text);

    const QStringList &lines() const { return m_lines; }
    // Lines joined with CR LF, each line ended by CR LF.
    QString toText() const;

    std::optional<QString> value(const QString &section, const QString &key) const;
    QString string(const QString &section, const QString &key, const QString &defaultValue) const;
    // A value that is not a whole number of the given syntax (or does not fit
    // 32 bits) reads as the default. DecimalOrHex also takes "0x", "0X" and "$".
    int integer(const QString &section, const QString &key, int defaultValue,
                IntSyntax syntax = IntSyntax::Decimal) const;
    // True when the section exists and holds at least one key.
    bool hasKeys(const QString &section) const;

    // Replaces the key's value in place, or adds the key behind the last line
    // of the section, or adds the section with the key at the end.
    void setValue(const QString &section, const QString &key, const QString &value);

    static std::optional<int> parseInteger(const QString &text, IntSyntax syntax);

private:
    struct SectionIndex
    {
        int headerLine = -1;
        int lastLine = -1;                 // last line that belongs to the section
        int lastContentLine = -1;          // last non-blank line (the header at least)
        QHash<QString, int> keys;          // folded key name -> line of its first occurrence
    };

    void reindex();
    static std::optional<QString> sectionName(const QString &line);
    static bool splitKey(const QString &line, QString *key, QString *value);
    static QString fold(const QString &name) { return name.toCaseFolded(); }

    QStringList m_lines;
    QHash<QString, SectionIndex> m_sections; // folded section name -> first occurrence
};
