#include "consoleprogress.h"

#include "console.h"
#include "link/linktexts.h"

#include <algorithm>

namespace {
constexpr int kBarWidth = 40;
}

ConsoleProgress::ConsoleProgress(bool terminal) : m_terminal(terminal) {}

void ConsoleProgress::setStatus(const QString &text)
{
    if (text == m_status)
        return;
    m_status = text;
    if (m_terminal && m_barOpen)
        draw();
}

void ConsoleProgress::setProgress(int value)
{
    if (value == m_value)
        return;
    m_value = value;
    if (m_terminal) {
        draw();
        return;
    }
    Console::err(QStringLiteral("%1 %2%").arg(m_status).arg(value));
}

void ConsoleProgress::setSearchCaption(const QString &text)
{
    // The search's result is the command's own last line.
    if (text != LinkTexts::searching())
        return;
    finish();
    Console::err(text);
}

void ConsoleProgress::draw()
{
    const int filled = std::clamp(m_value, 0, 100) * kBarWidth / 100;
    Console::errRaw(QStringLiteral("\r%1 [%2%3] %4%")
                        .arg(m_status, -3)
                        .arg(QString(filled, u'#'), QString(kBarWidth - filled, u'.'))
                        .arg(m_value, 3));
    m_barOpen = true;
}

void ConsoleProgress::finish()
{
    if (m_barOpen)
        Console::errRaw(QStringLiteral("\n"));
    m_barOpen = false;
}

void ConsoleProgress::restart()
{
    finish();
    m_status.clear();
    m_value = -1;
}
