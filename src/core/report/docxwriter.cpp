#include "report/docxwriter.h"
#include "common/platformerror.h"
#include "report/docxparts.h"
#include "report/reportfile.h"

#include <QDir>
#include <zip.h>

namespace DocxWriter {

namespace {

using ReportFile::failure;

// Owns the archive until it is written; an unwritten archive is discarded.
// The package is made in memory and written by the caller: libzip's own
// file handling renames its temporary file over the target, which Windows
// refuses while the pending report file is held open.
class Archive
{
public:
    // Messages name the report `shownPath`.
    explicit Archive(const QString &shownPath) : m_path(shownPath)
    {
        zip_error_t error;
        zip_error_init(&error);
        m_buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
        if (m_buffer)
            m_zip = zip_open_from_source(m_buffer, ZIP_TRUNCATE, &error);
        if (!m_zip) {
            const QString text = QString::fromLocal8Bit(zip_error_strerror(&error));
            zip_error_fini(&error);
            if (m_buffer)
                zip_source_free(m_buffer);
            throw PlatformError(failure(m_path, text));
        }
        zip_error_fini(&error);
        zip_source_keep(m_buffer); // for reading the package back after zip_close
    }
    ~Archive()
    {
        if (m_zip)
            zip_discard(m_zip);
        zip_source_free(m_buffer);
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

    // The whole package.
    QByteArray close()
    {
        if (zip_close(m_zip) < 0)
            throw PlatformError(failure(m_path, lastError()));
        m_zip = nullptr;
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_source_stat(m_buffer, &stat) < 0 || zip_source_open(m_buffer) < 0)
            throw PlatformError(failure(m_path, sourceError()));
        QByteArray bytes(static_cast<qsizetype>(stat.size), Qt::Uninitialized);
        const zip_int64_t got = zip_source_read(m_buffer, bytes.data(), stat.size);
        zip_source_close(m_buffer);
        if (got != static_cast<zip_int64_t>(stat.size))
            throw PlatformError(failure(m_path, sourceError()));
        return bytes;
    }

private:
    QString lastError() const { return QString::fromLocal8Bit(zip_strerror(m_zip)); }
    QString sourceError() const { return QString::fromLocal8Bit(zip_error_strerror(zip_source_error(m_buffer))); }

    QString m_path;
    zip_source_t *m_buffer = nullptr;
    zip_t *m_zip = nullptr;
};

} // namespace

QByteArray package(const ReportDocument &doc, const QString &shownPath)
{
    const std::vector<DocxParts::Part> parts = DocxParts::package(doc);
    Archive archive(shownPath);
    for (const DocxParts::Part &part : parts)
        archive.add(part.name, part.data);
    return archive.close();
}

void write(const ReportDocument &doc, const QString &path)
{
    ReportFile::write(package(doc, path), path);
}

QString writeNumbered(const ReportDocument &doc, const QString &folder, const QString &base)
{
    const QString suffix = QStringLiteral(".docx");
    return ReportFile::writeNumbered(package(doc, QDir(folder).filePath(base + suffix)), folder, base, suffix);
}

} // namespace DocxWriter
