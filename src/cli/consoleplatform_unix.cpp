#include "consoleplatform.h"

#include <unistd.h>

namespace ConsolePlatform {

std::optional<bool> writeToConsole(std::FILE *, const QString &)
{
    return std::nullopt; // terminals take UTF-8
}

bool isTerminal(std::FILE *stream)
{
    return isatty(fileno(stream)) != 0;
}

} // namespace ConsolePlatform
