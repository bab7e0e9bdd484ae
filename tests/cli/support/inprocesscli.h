#pragma once

// vetral-cli's commands run in the test's own process, as its main() runs
// them, with standard output and error taken into files, the home of a
// CliHome, and ports that open lines in memory (CliLine). What only a
// process shows (its streams closed or lost, signals, the exit itself)
// stays with CliHome::run, which gives the child its home in its own
// environment whatever this process's says.

#include "clihome.h"
#include "commandports.h"
#include "console.h"
#include "programrun.h"
#include "common/qttranslations.h"
#include "core/support/memoryline.h"

#include <QCoreApplication>
#include <QTemporaryFile>
#include <cstdio>
#include <unistd.h>

namespace InProcessCli {

// Standard output or error into a file until text() is taken.
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

inline CliRun run(const CliHome &home, const QStringList &arguments)
{
    static const bool prepared = [] {
        // As vetral-cli's main() sets itself up.
        QCoreApplication::setApplicationName("vetral");
        QtTranslations::installRussian(*QCoreApplication::instance());
        CommandPorts::use(memoryLinkFactory());
        return true;
    }();
    (void)prepared;
    qputenv("HOME", QFile::encodeName(home.path("home")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path("config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.path("data")));

    Capture out(stdout), err(stderr);
    CliRun result;
    result.exitCode = Console::finish(ProgramRun::run([&arguments] { return arguments; }));
    result.out = out.text();
    result.err = err.text();
    return result;
}

} // namespace InProcessCli
