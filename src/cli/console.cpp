#include "console.h"
#include "consoleplatform.h"
#include "common/exitcodes.h"
#include "files/ioerror.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace Console {

namespace {

// The first failure of each stream, as its errno (0: none yet).
int g_outError = 0;
int g_errError = 0;

int &errorOf(std::FILE *stream)
{
    return stream == stdout ? g_outError : g_errError;
}

void put(std::FILE *stream, const QString &text)
{
    int &error = errorOf(stream);
    // A console window takes the text as characters, whatever its code page.
    if (const auto shown = ConsolePlatform::writeToConsole(stream, text)) {
        if (!*shown && error == 0)
            error = EIO;
        return;
    }
    const QByteArray bytes = text.toUtf8();
    errno = 0;
    const std::size_t written = std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    const bool flushed = std::fflush(stream) == 0;
    if ((written != static_cast<std::size_t>(bytes.size()) || !flushed) && error == 0)
        error = errno != 0 ? errno : EIO;
}

QString reason(int error)
{
    // A full disk is worded as every failed write words it.
    if (const auto disk = IoError::diskReason(error))
        return *disk;
    switch (error) {
    case EPIPE:
        return QStringLiteral("принимающая сторона закрыла канал");
    case EBADF:
        return QStringLiteral("поток закрыт");
    case EIO:
        return QStringLiteral("ошибка ввода-вывода");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

} // namespace

void out(const QString &line)
{
    put(stdout, line + u'\n');
}

void err(const QString &line)
{
    put(stderr, line + u'\n');
}

void errRaw(const QString &text)
{
    put(stderr, text);
}

int finish(int exitCode)
{
    // What is still buffered (nothing, as every line is flushed) and
    // whether the stream was ever in error.
    for (std::FILE *stream : {stdout, stderr}) {
        errno = 0;
        if ((std::fflush(stream) != 0 || std::ferror(stream)) && errorOf(stream) == 0)
            errorOf(stream) = errno != 0 ? errno : EIO;
    }
    if (g_outError != 0)
        err(QStringLiteral("Стандартный вывод не записан: %1.").arg(reason(g_outError)));
    if (g_errError != 0 || g_outError != 0)
        return ExitCode::Failure;
    return exitCode;
}

bool errIsTerminal()
{
    return ConsolePlatform::isTerminal(stderr);
}

} // namespace Console
