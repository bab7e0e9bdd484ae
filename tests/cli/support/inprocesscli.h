#pragma once

// vetral-cli's commands run in the test's own process, as its main() runs
// them, with standard output and error taken into files, the home of a
// CliHome, and ports that open lines in memory (CliLine). What only a
// process shows (its streams closed or lost, signals, the exit itself)
// stays with CliHome::run.

#include "clihome.h"
#include "commandports.h"
#include "console.h"
#include "programrun.h"
#include "common/qttranslations.h"
#include "core/support/memoryline.h"

#include <QCoreApplication>
#include <QScopeGuard>
#include <QTemporaryFile>
#include <cstdio>
#include <unistd.h>

namespace InProcessCli {

namespace detail {

// Standard output or error into a file until the end of the scope.
class Capture
{
public:
    explicit Capture(std::FILE *stream) : m_stream(stream), m_fd(::fileno(stream))
    {
        m_file.open();
        std::fflush(m_stream);
        m_saved = ::dup(m_fd);
        ::dup2(m_file.handle(), m_fd);
    }
    ~Capture() { restore(); }
    QString text()
    {
        restore();
        m_file.seek(0);
        return QString::fromUtf8(m_file.readAll());
    }

private:
    void restore()
    {
        if (m_saved < 0)
            return;
        std::fflush(m_stream);
        ::dup2(m_saved, m_fd);
        ::close(m_saved);
        m_saved = -1;
    }
    std::FILE *m_stream;
    int m_fd;
    int m_saved = -1;
    QTemporaryFile m_file;
};

// A variable of the environment set until `restore` is called.
class Variable
{
public:
    Variable(const char *name, const QString &value)
        : m_name(name), m_was(qEnvironmentVariableIsSet(name)), m_value(qgetenv(name))
    {
        qputenv(name, QFile::encodeName(value));
    }
    void restore() const
    {
        if (m_was)
            qputenv(m_name, m_value);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    bool m_was;
    QByteArray m_value;
};

} // namespace detail

inline CliRun run(const CliHome &home, const QStringList &arguments)
{
    static const bool prepared = [] {
        QtTranslations::installRussian(*QCoreApplication::instance());
        CommandPorts::use(memoryLinkFactory());
        return true;
    }();
    (void)prepared;

    const detail::Variable variables[] = {{"HOME", home.path("home")},
                                          {"XDG_CONFIG_HOME", home.path("config")},
                                          {"XDG_DATA_HOME", home.path("data")}};
    const QString name = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName("vetral");
    const auto restore = qScopeGuard([&] {
        for (const detail::Variable &variable : variables)
            variable.restore();
        QCoreApplication::setApplicationName(name);
    });

    detail::Capture out(stdout), err(stderr);
    CliRun result;
    result.exitCode = Console::finish(ProgramRun::run([&arguments] { return arguments; }));
    result.out = out.text();
    result.err = err.text();
    return result;
}

} // namespace InProcessCli
