#pragma once

#include <QDir>
#include <QString>
#include <QTemporaryFile>

// A file written whole under a hidden temporary name in its folder and only
// then given its own name, so that a file cut short (a full disk, a process
// stopped half way) never stands under a name the user looks for. A name is
// taken only when no file has it, in one step: two files published at the
// same moment, a file that appeared after a look, or a dangling link under
// the name are never replaced.
class PendingFile
{
public:
    // Creates the temporary file in `dir` from `pattern` (a name with
    // "XXXXXX"); throws PlatformError when it cannot be made.
    PendingFile(const QDir &dir, const QString &pattern);

    // The temporary file's path, for writers that open files by name; what
    // is found under that name is what gets published.
    QString path() const { return m_file.fileName(); }
    // Writes the whole content; throws PlatformError with the reason alone
    // (its callers name the file the user knows, not the hidden one).
    void write(const QByteArray &bytes);

    // Gives the file the name `target` in the same folder; false when a file
    // (or a link, even a dangling one) of that name exists already. Throws
    // PlatformError for other failures. The temporary name is dropped when
    // the object goes, published or not.
    bool publishAs(const QString &target);
    // publishAs() the first free name of `folder/<base><suffix>`, then
    // "<base> (2)<suffix>", "<base> (3)<suffix>" ...; returns the name taken.
    QString publishNumbered(const QDir &folder, const QString &base, const QString &suffix);

private:
    QTemporaryFile m_file;
};
