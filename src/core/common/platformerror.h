#pragma once

#include <QString>
#include <stdexcept>

// A failure of the platform underneath the program (a file, a serial port, a
// number text that does not convert). It carries the platform's own wording;
// the window shows it as it is in one message box and the handler stops.
class PlatformError : public std::runtime_error
{
public:
    explicit PlatformError(const QString &text) : std::runtime_error(text.toStdString()), m_text(text) {}

    const QString &text() const { return m_text; }

private:
    QString m_text;
};
