#include "commandline.h"

#include "command.h"
#include "console.h"

#include <QCoreApplication>

CommandLine::CommandLine(const Command &command) : m_command(command)
{
    m_parser.setApplicationDescription(command.description + u'\n' + command.exitText());
    m_parser.addHelpOption();
    for (const Command::Option &option : command.options) {
        m_parser.addOption(option.option);
        if (option.required)
            m_required.append(option.option.names().constLast());
        if (option.repeatable)
            m_repeatable.append(option.option.names().constLast());
    }
    for (const Command::Argument &argument : command.arguments) {
        (argument.optional ? m_optionalArguments : m_arguments).append(argument.name);
        m_parser.addPositionalArgument(argument.name, argument.description,
                                       argument.optional ? QStringLiteral("[%1]").arg(argument.name) : QString());
    }
}

bool CommandLine::parse(const QStringList &arguments)
{
    const QString more = QStringLiteral(" (см. vetral-cli %1 --help)").arg(m_command.name);
    if (!m_parser.parse(QStringList{QCoreApplication::applicationFilePath()} + arguments))
        throw UsageError(m_parser.errorText() + more);
    // The arguments that the options given leave.
    for (const Command::Argument &argument : m_command.arguments) {
        if (!argument.absentWith.isEmpty() && m_parser.isSet(argument.absentWith))
            m_arguments.removeOne(argument.name);
    }
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
    QString usage = QStringLiteral("Использование: vetral-cli %1 [параметры]").arg(m_command.name);
    for (const QString &name : m_arguments)
        usage += u' ' + name;
    for (const QString &name : m_optionalArguments)
        usage += QStringLiteral(" [%1]").arg(name);
    lines[0] = usage;
    return lines.join(u'\n');
}
