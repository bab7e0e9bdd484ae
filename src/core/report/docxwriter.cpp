#include "report/docxwriter.h"
#include "common/platformerror.h"
#include "files/fileaccess.h"
#include "files/pendingfile.h"
#include "report/docxparts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <memory>
#include <zip.h>

namespace DocxWriter {

namespace {

QString failure(const QString &path, const QString &reason)
{
    return QStringLiteral("Не удалось записать протокол в файл \"%1\": %2").arg(path, reason);
}

QString openErrorText(int code)
{
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const QString text = QString::fromLocal8Bit(zip_error_strerror(&error));
    zip_error_fini(&error);
    return text;
}

// Owns the archive until it is written; an unwritten archive is discarded.
class Archive
{
public:
    // Writes `file`; messages name the report `shownPath`.
    Archive(const QString &file, const QString &shownPath) : m_path(shownPath)
    {
        int code = 0;
        // libzip takes names in UTF-8 on every system: on Windows it passes
        // them to the wide functions itself, so Cyrillic names work there
        // whatever the code page (the system's 8-bit encoding would not).
        m_zip = zip_open(file.toUtf8().constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
        if (!m_zip)
            throw PlatformError(failure(m_path, openErrorText(code)));
    }
    ~Archive()
    {
        if (m_zip)
            zip_discard(m_zip);
    }
    Archive(const Archive &) = delete;
    Archive &operator=(const Archive &) = delete;

    // The data must stay alive until close(): libzip reads it only then.
    void add(const QString &name, const QByteArray &data)
    {
        zip_source_t *source = zip_source_buffer(m_zip, data.constData(), static_cast<zip_uint64_t>(data.size()), 0);
        if (!source)
            throw PlatformError(failure(m_path, lastError()));
        if (zip_file_add(m_zip, name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8) < 0) {
            zip_source_free(source);
            throw PlatformError(failure(m_path, lastError()));
        }
    }

    void close()
    {
        if (zip_close(m_zip) < 0)
            throw PlatformError(failure(m_path, lastError()));
        m_zip = nullptr;
    }

private:
    QString lastError() const { return QString::fromLocal8Bit(zip_strerror(m_zip)); }

    QString m_path;
    zip_t *m_zip = nullptr;
};

// The whole package under a hidden name in the folder of `path`, which
// names the report in messages.
std::unique_ptr<PendingFile> written(const ReportDocument &doc, const QString &path)
{
    const QDir folder = QFileInfo(path).dir();
    if (!folder.exists())
        throw PlatformError(
            failure(path, QStringLiteral("папки \"%1\" нет").arg(QDir::toNativeSeparators(folder.path()))));
    std::unique_ptr<PendingFile> file;
    try {
        file = std::make_unique<PendingFile>(folder, QStringLiteral(".протокол-XXXXXX.part"));
    } catch (const PlatformError &e) {
        throw PlatformError(failure(path, e.text()));
    }
    // A report is a document to hand on, not a private file: it gets the
    // mode of a new document, rw-r--r--, rather than the temporary file's
    // owner-only mode, which libzip would keep.
    QFile::setPermissions(file->path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                            | QFileDevice::ReadOther);
    const std::vector<DocxParts::Part> parts = DocxParts::package(doc);
    Archive archive(file->path(), path);
    for (const DocxParts::Part &part : parts)
        archive.add(part.name, part.data);
    archive.close();
    return file;
}

} // namespace

void write(const ReportDocument &doc, const QString &path)
{
    if (const auto refusal = FileAccess::targetRefusal(path))
        throw PlatformError(*refusal);
    const auto file = written(doc, path);
    if (!file->publishAs(path))
        throw PlatformError(failure(path, QStringLiteral("файл с таким именем уже есть, он оставлен без изменений")));
}

QString writeNumbered(const ReportDocument &doc, const QString &folder, const QString &base)
{
    const QDir dir(folder);
    const auto file = written(doc, dir.filePath(base + QStringLiteral(".docx")));
    return file->publishNumbered(dir, base, QStringLiteral(".docx"));
}

} // namespace DocxWriter
