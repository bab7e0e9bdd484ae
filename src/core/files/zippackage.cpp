#include "files/zippackage.h"

#include "common/platformerror.h"

#include <zip.h>

ZipPackage::ZipPackage()
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
        throw PlatformError(text);
    }
    zip_error_fini(&error);
    zip_source_keep(m_buffer); // for reading the package back after zip_close
}

ZipPackage::~ZipPackage()
{
    if (m_zip)
        zip_discard(m_zip);
    zip_source_free(m_buffer);
}

void ZipPackage::add(const QString &name, const QByteArray &data)
{
    zip_source_t *source = zip_source_buffer(m_zip, data.constData(), static_cast<zip_uint64_t>(data.size()), 0);
    if (!source)
        throw PlatformError(lastError());
    const zip_int64_t index = zip_file_add(m_zip, name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
        zip_source_free(source);
        throw PlatformError(lastError());
    }
    // A regular file that its owner may change and others only read:
    // libzip's own 0666 makes unzip unpack it writable by everyone.
    constexpr zip_uint32_t regularFile = 0100644;
    if (zip_file_set_external_attributes(m_zip, zip_uint64_t(index), 0, ZIP_OPSYS_UNIX, regularFile << 16) < 0)
        throw PlatformError(lastError());
}

QByteArray ZipPackage::close()
{
    if (zip_close(m_zip) < 0)
        throw PlatformError(lastError());
    m_zip = nullptr;
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_source_stat(m_buffer, &stat) < 0 || zip_source_open(m_buffer) < 0)
        throw PlatformError(sourceError());
    QByteArray bytes(static_cast<qsizetype>(stat.size), Qt::Uninitialized);
    const zip_int64_t got = zip_source_read(m_buffer, bytes.data(), stat.size);
    zip_source_close(m_buffer);
    if (got != static_cast<zip_int64_t>(stat.size))
        throw PlatformError(sourceError());
    return bytes;
}

QString ZipPackage::lastError() const
{
    return QString::fromLocal8Bit(zip_strerror(m_zip));
}

QString ZipPackage::sourceError() const
{
    return QString::fromLocal8Bit(zip_error_strerror(zip_source_error(m_buffer)));
}
