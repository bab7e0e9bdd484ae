#include "consoleplatform.h"

#include "commandline.h"

#include <QFile>
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

// Arguments are bytes here. One whose bytes are not valid in the system's
// encoding would become another text (each bad byte a replacement
// character), so that two such file names would name one and the same other
// file: it is refused.
QStringList arguments(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        const QByteArray bytes(argv[i]);
        const QString text = QFile::decodeName(bytes);
        if (QFile::encodeName(text) != bytes)
            throw UsageError(QStringLiteral("Аргумент \"%1\" содержит байты, недопустимые в кодировке системы "
                                            "(UTF-8): такое имя программа не может передать в точности и не "
                                            "подменяет его другим. Переименуйте файл.")
                                 .arg(text));
        arguments.append(text);
    }
    return arguments;
}

int leave(int code)
{
    return code;
}

} // namespace ConsolePlatform
