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

// The arguments of one command: its positional arguments (all required), its
// options (some required) and --help.
class CommandLine
{
public:
    CommandLine(const QString &command, const QString &description);

    void addArgument(const QString &name, const QString &description);
    // A positional argument that may be left out, after the required ones.
    void addOptionalArgument(const QString &name, const QString &description);
    // An option that takes a value is given at most once, unless it is
    // `repeatable`: a second value would be silently dropped or preferred.
    void addOption(const QCommandLineOption &option, bool required = false, bool repeatable = false);
    // The channel file argument and the --port option, worded alike in every command.
    void addChannelFileArgument();
    void addPortOption();

    // `arguments` are those after the command's name. Returns false when
    // --help was asked: the help has then been printed. Throws UsageError.
    bool parse(const QStringList &arguments);

    QString argument(int index) const { return m_parser.positionalArguments().value(index); }
    QString value(const QString &option) const { return m_parser.value(option); }
    // Every value of an option given more than once, in order.
    QStringList values(const QString &option) const { return m_parser.values(option); }
    bool isSet(const QString &option) const { return m_parser.isSet(option); }

    QString helpText() const;

private:
    QString m_command;
    QStringList m_arguments;
    QStringList m_optionalArguments;
    QStringList m_required;
    QStringList m_repeatable;
    QCommandLineParser m_parser;
};
