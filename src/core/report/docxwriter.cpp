#include "report/docxwriter.h"
#include "common/platformerror.h"
#include "files/fileaccess.h"
#include "report/docxparts.h"

#include <QFile>
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
    explicit Archive(const QString &path) : m_path(path)
    {
        int code = 0;
        // libzip takes names in UTF-8 on every system: on Windows it passes
        // them to the wide functions itself, so Cyrillic names work there
        // whatever the code page (the system's 8-bit encoding would not).
        m_zip = zip_open(path.toUtf8().constData(), ZIP_CREATE | ZIP_EXCL, &code);
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

} // namespace

void write(const ReportDocument &doc, const QString &path)
{
    if (const auto refusal = FileAccess::targetRefusal(path))
        throw PlatformError(*refusal);
    const std::vector<DocxParts::Part> parts = DocxParts::package(doc);
    Archive archive(path);
    for (const DocxParts::Part &part : parts)
        archive.add(part.name, part.data);
    archive.close();
}

} // namespace DocxWriter
