#include "commandline.h"

#include "console.h"
#include "helpwords.h"

#include <QCoreApplication>

CommandLine::CommandLine(const QString &command, const QString &description) : m_command(command)
{
    m_parser.setApplicationDescription(description);
    m_parser.addHelpOption();
}

void CommandLine::addArgument(const QString &name, const QString &description)
{
    m_arguments.append(name);
    m_parser.addPositionalArgument(name, description);
}

void CommandLine::addOption(const QCommandLineOption &option, bool required, bool repeatable)
{
    m_parser.addOption(option);
    if (required)
        m_required.append(option.names().constLast());
    if (repeatable)
        m_repeatable.append(option.names().constLast());
}

void CommandLine::addOptionalArgument(const QString &name, const QString &description)
{
    m_optionalArguments.append(name);
    m_parser.addPositionalArgument(name, description, QStringLiteral("[%1]").arg(name));
}

bool CommandLine::parse(const QStringList &arguments)
{
    const QString more = QStringLiteral(" (см. vetral-cli %1 --help)").arg(m_command);
    if (!m_parser.parse(QStringList{QCoreApplication::applicationFilePath()} + arguments))
        throw UsageError(m_parser.errorText() + more);
    if (m_parser.isSet(QStringLiteral("help"))) {
        Console::out(helpText());
        return false;
    }
    for (const QString &name : m_parser.optionNames()) {
        if (!m_repeatable.contains(name) && m_parser.values(name).size() > 1)
            throw UsageError(QStringLiteral("Параметр --%1 указан более одного раза").arg(name) + more);
    }
    const QStringList positional = m_parser.positionalArguments();
    if (positional.size() < m_arguments.size())
        throw UsageError(QStringLiteral("Не указан аргумент %1").arg(m_arguments.at(positional.size())) + more);
    const qsizetype most = m_arguments.size() + m_optionalArguments.size();
    if (positional.size() > most)
        throw UsageError(QStringLiteral("Лишний аргумент \"%1\"").arg(positional.at(most)) + more);
    for (const QString &name : m_required) {
        if (!m_parser.isSet(name))
            throw UsageError(QStringLiteral("Не указан параметр --%1").arg(name) + more);
        if (m_parser.value(name).isEmpty())
            throw UsageError(QStringLiteral("Пустое значение параметра --%1").arg(name) + more);
    }
    return true;
}

QString CommandLine::helpText() const
{
    // Qt's usage line names the executable by its path and not the command.
    QStringList lines = m_parser.helpText().trimmed().split(u'\n');
    QString usage = QStringLiteral("Использование: vetral-cli %1 [параметры]").arg(m_command);
    for (const QString &name : m_arguments)
        usage += u' ' + name;
    for (const QString &name : m_optionalArguments)
        usage += QStringLiteral(" [%1]").arg(name);
    lines[0] = usage;
    return lines.join(u'\n');
}

void CommandLine::addChannelFileArgument()
{
    addArgument(QStringLiteral("FILE"), QStringLiteral("Файл каналов (.ini)."));
}

void CommandLine::addPortOption()
{
    addOption(QCommandLineOption(QStringLiteral("port"), HelpWords::portValue(), QStringLiteral("PORT")), true);
}
