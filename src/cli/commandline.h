#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <stdexcept>

// Arguments the command cannot run with; the text names what is wrong.
class UsageError : public std::runtime_error
{
public:
    explicit UsageError(const QString &text) : std::runtime_error(text.toStdString()), m_text(text) {}
    const QString &text() const { return m_text; }

private:
    QString m_text;
};

struct Command;

// The arguments of one command as its Command declares them: its positional
// arguments (all required), its options (some required) and --help.
class CommandLine
{
public:
    explicit CommandLine(const Command &command);

    // `arguments` are those after the command's name. Returns false when
    // --help was asked: the help has then been printed. Throws UsageError.
    bool parse(const QStringList &arguments);

    // The argument at `index`; empty for an optional one left out.
    QString argument(int index) const { return m_parser.positionalArguments().value(index); }
    QString value(const QString &option) const { return m_parser.value(option); }
    // Every value of an option given more than once, in order.
    QStringList values(const QString &option) const { return m_parser.values(option); }
    bool isSet(const QString &option) const { return m_parser.isSet(option); }

    QString helpText() const;

private:
    const Command &m_command;
    QStringList m_arguments; // the names of those taken
    QStringList m_optionalArguments;
    QStringList m_required;
    QStringList m_repeatable;
    QCommandLineParser m_parser;
};
