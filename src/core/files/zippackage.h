#pragma once

#include <QByteArray>
#include <QString>

struct zip;
struct zip_source;

// A zip archive made in memory, for files that are packages (a .docx) or
// bundles of files. Written by the caller: libzip's own file handling
// renames its temporary file over the target, which Windows refuses while
// a pending file is held open. Failures of the zip library throw
// PlatformError with the library's reason alone.
class ZipPackage
{
public:
    ZipPackage();
    ~ZipPackage();
    ZipPackage(const ZipPackage &) = delete;
    ZipPackage &operator=(const ZipPackage &) = delete;

    // The data must stay alive until close(): libzip reads it only then.
    void add(const QString &name, const QByteArray &data);
    // The whole archive; nothing can be added after.
    QByteArray close();

private:
    QString lastError() const;
    QString sourceError() const;

    zip_source *m_buffer = nullptr;
    zip *m_zip = nullptr;
};
