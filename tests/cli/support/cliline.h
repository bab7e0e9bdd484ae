#pragma once

// A simulated station's line for vetral-cli: a pseudo-terminal, which the
// program run as a process opens, or a line in memory, which the commands
// run in the test's own process open (InProcessCli) and whose time it
// counts, so that a silent station costs no real time. A line in memory is
// named by an empty file in `folder`, as a device is by its node: the
// port search offers only ports whose device exists.

#include "core/support/memoryline.h"
#include "stationline.h"

#include <QFile>
#include <memory>

class CliLine
{
public:
    enum class Kind { PseudoTerminal, Memory };

    CliLine(Kind kind, const QString &folder, StationLine::Responder responder, StationLineOptions options = {})
    {
        if (kind == Kind::PseudoTerminal) {
            m_pty = std::make_unique<StationLine>(std::move(responder), options);
            m_pty->start();
            return;
        }
        m_memory = std::make_unique<MemoryLine>(std::move(responder), options);
        m_name = folder + "/tty" + m_memory->devicePath();
        linkAs(m_name);
    }
    ~CliLine() { stop(); }
    CliLine(const CliLine &) = delete;
    CliLine &operator=(const CliLine &) = delete;

    bool inMemory() const { return m_memory != nullptr; }
    QString devicePath() const { return m_pty ? m_pty->devicePath() : m_name; }
    QByteArray received() const { return m_pty ? m_pty->received() : m_memory->received(); }
    bool waitForReceived(qsizetype count, int ms) const
    {
        return m_pty ? m_pty->waitForReceived(count, ms) : m_memory->waitForReceived(count, ms);
    }
    void stop()
    {
        if (m_pty)
            m_pty->stop();
    }

    // `name` leads to this line from now on, as a symbolic link moved onto it.
    void linkAs(const QString &name) const
    {
        if (m_pty) {
            QFile::remove(name);
            QFile::link(m_pty->devicePath(), name);
            return;
        }
        QFile node(name);
        if (!node.exists())
            node.open(QIODevice::WriteOnly);
        MemoryLine::link(name, m_memory.get());
    }

private:
    std::unique_ptr<StationLine> m_pty;
    std::unique_ptr<MemoryLine> m_memory;
    QString m_name;
};
