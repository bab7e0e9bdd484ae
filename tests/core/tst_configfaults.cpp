// The configuration folder and the files in it as the system may leave them:
// missing, not a folder, MyTemp.ini read-only, a pipe or a device in a file's
// place, a disk that fills up during a save. Each is handled with a message
// that names the file, or with the options file's defaults, and the window's
// data stay as they were.
//
// Root ignores file modes, so a read-only file is made with a read-only
// mount when the tests run as root; where mounting is not allowed either,
// those rows are skipped and say so.

#include "batch/batchreports.h"
#include "check/datacheck.h"
#include "common/platformerror.h"
#include "files/channelfile.h"
#include "files/readarchive.h"
#include "link/options.h"
#include "report/docxwriter.h"
#include "report/reportdocument.h"
#include "table/channelplan.h"
#include "table/templatebuilder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <csignal>
#include <functional>

#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

ChannelPlan templatePlan()
{
    ChannelPlan plan;
    const StationProfile &p = plan.profile();
    const auto refusal =
        TemplateBuilder::build({QStringLiteral("3"), QString::number(p.lowKHz + 4000), QStringLiteral("1000")}, plan);
    if (refusal)
        qFatal("template refused: %s", qPrintable(refusal->text));
    return plan;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(file.errorString()));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QString failureOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const PlatformError &error) {
        return error.text();
    }
    return QString();
}

// Runs `call` in a child process that must end within `seconds`: its result
// (0..255) comes back as the exit code; -1 when it blocked or crashed. For
// the files that could block a careless reader for ever.
int inChildWithin(int seconds, const std::function<int()> &call)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::alarm(static_cast<unsigned>(seconds));
        ::_exit(call());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A small tmpfs mounted over a temporary folder: a disk that fills up, or
// that is read-only. Mounting needs the right to (root, mostly).
class SmallDisk
{
public:
    explicit SmallDisk(int kilobytes)
    {
        const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k";
        m_mounted = ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0, options.constData()) == 0;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    bool isMounted() const { return m_mounted; }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    bool makeReadOnly() const
    {
        return ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr)
               == 0;
    }
    // Fills what is left with one file.
    void fill() const
    {
        QFile filler(filePath(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return;
        const QByteArray block(4096, 'x');
        while (filler.write(block) > 0) {
        }
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

// Sets a file size limit for its lifetime; a write beyond it fails with
// EFBIG instead of ending the process.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = m_saved;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_saved{};
    void (*m_oldHandler)(int) = nullptr;
};

} // namespace

class TestConfigFaults : public QObject
{
    Q_OBJECT

private slots:
    void tempSettingsFileFaults_data();
    void tempSettingsFileFaults();
    void tempSettingsFileThatIsAPipe();
    void readOnlyTempSettingsFile();

    void optionsFileFaults_data();
    void optionsFileFaults();

    void writeOnAFullDisk_data();
    void writeOnAFullDisk();
    void readOnlyFolder_data();
    void readOnlyFolder();
};

// MyTemp.ini cannot be written: the check ends with a message naming the
// file and the reason.
void TestConfigFaults::tempSettingsFileFaults_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("reason");
    QTest::newRow("configuration folder is a file") << "folder-is-file"
                                                    << "Not a directory";
    QTest::newRow("configuration folder under a file") << "folder-under-file"
                                                       << "Not a directory";
    QTest::newRow("MyTemp.ini is a folder") << "temp-is-folder"
                                            << "Is a directory";
    QTest::newRow("disk full: file size limit") << "size-limit"
                                                << "File too large";
    QTest::newRow("disk full: small tmpfs") << "full-tmpfs"
                                            << "No space left on device";
}

void TestConfigFaults::tempSettingsFileFaults()
{
    QFETCH(QString, setup);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    SmallDisk disk(64);
    QString config = dir.filePath(QStringLiteral("vetral"));
    std::unique_ptr<FileSizeLimit> limit;
    if (setup == QLatin1String("folder-is-file")) {
        writeFile(config, "not a folder");
    } else if (setup == QLatin1String("folder-under-file")) {
        writeFile(config, "not a folder");
        config += QStringLiteral("/deeper");
    } else if (setup == QLatin1String("temp-is-folder")) {
        QVERIFY(QDir().mkpath(config + QStringLiteral("/MyTemp.ini")));
    } else if (setup == QLatin1String("full-tmpfs")) {
        if (!disk.isMounted())
            QSKIP("mounting a tmpfs is not allowed here");
        config = disk.filePath(QStringLiteral("vetral"));
        QVERIFY(QDir().mkpath(config));
        disk.fill();
    }
    const QString path = config + QStringLiteral("/MyTemp.ini");

    const ChannelPlan plan = templatePlan();
    QVERIFY(DataCheck::run(plan, dir.filePath(QStringLiteral("earlier.ini"))).passed());
    if (setup == QLatin1String("size-limit"))
        limit = std::make_unique<FileSizeLimit>(100); // the settings text is some 400 bytes
    const QString failure = failureOf([&] { DataCheck::run(plan, path); });
    limit.reset();

    QVERIFY2(failure.contains(QDir::toNativeSeparators(path)), qPrintable(failure));
    QVERIFY2(failure.contains(reason), qPrintable(failure));
}

// A pipe in MyTemp.ini's place would block the check for ever: it is
// refused at once, as no regular file.
void TestConfigFaults::tempSettingsFileThatIsAPipe()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("MyTemp.ini"));
    QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    const int result =
        inChildWithin(10, [&] { return failureOf([&] { DataCheck::run(templatePlan(), path); }).isEmpty() ? 1 : 0; });
    QCOMPARE(result, 0);

    const QString failure = failureOf([&] { DataCheck::run(templatePlan(), path); });
    QCOMPARE(failure, QStringLiteral("Не удалось создать файл %1: это не обычный файл").arg(path));
}

// A read-only MyTemp.ini (a file mode for a user, a read-only file system
// for root).
void TestConfigFaults::readOnlyTempSettingsFile()
{
    QTemporaryDir dir;
    SmallDisk disk(64);
    QString path = dir.filePath(QStringLiteral("MyTemp.ini"));
    writeFile(path, "[Общие установки]\r\n");
    QString reason = QStringLiteral("Permission denied");
    if (::geteuid() == 0) {
        if (!disk.isMounted())
            QSKIP("running as root, and mounting a read-only file system is not allowed here");
        path = disk.filePath(QStringLiteral("MyTemp.ini"));
        writeFile(path, "old");
        if (!disk.makeReadOnly())
            QSKIP("running as root, and remounting read-only is not allowed here");
        reason = QStringLiteral("Read-only file system");
    } else {
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner));
    }

    const QString failure = failureOf([&] { DataCheck::run(templatePlan(), path); });

    QVERIFY2(failure.contains(path) && failure.contains(reason), qPrintable(failure));
}

// V404Options.ini that cannot be used counts as missing (port 2), whatever
// stands in its place, and never blocks the dialog; one much longer than any
// options file is read from its start.
void TestConfigFaults::optionsFileFaults_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<int>("port");
    QTest::newRow("folder missing") << "missing" << 2;
    QTest::newRow("folder is a file") << "folder-is-file" << 2;
    QTest::newRow("file is a folder") << "file-is-folder" << 2;
    QTest::newRow("a pipe") << "pipe" << 2;
    QTest::newRow("endless device") << "dev-zero" << 2;
    QTest::newRow("a huge file") << "huge" << 1;
    QTest::newRow("binary garbage") << "garbage" << 2;
}

void TestConfigFaults::optionsFileFaults()
{
    QFETCH(QString, setup);
    QFETCH(int, port);
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("vetral"));
    QString path = config + QStringLiteral("/V404Options.ini");
    if (setup != QLatin1String("missing") && setup != QLatin1String("folder-is-file"))
        QVERIFY(QDir().mkpath(config));
    if (setup == QLatin1String("folder-is-file")) {
        writeFile(config, "[All]\r\nPort=1\r\n");
    } else if (setup == QLatin1String("file-is-folder")) {
        QVERIFY(QDir().mkpath(path));
    } else if (setup == QLatin1String("pipe")) {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (setup == QLatin1String("dev-zero")) {
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    } else if (setup == QLatin1String("huge")) {
        writeFile(path, "[All]\r\nPort=1\r\n" + QByteArray(2 * LinkOptions::MaxFileBytes, ';'));
    } else if (setup == QLatin1String("garbage")) {
        QByteArray bytes;
        for (int i = 0; i < 4096; ++i)
            bytes.append(static_cast<char>((i * 7919) % 251));
        writeFile(path, bytes);
    }

    QCOMPARE(inChildWithin(10, [&] { return int(LinkOptions::portValue(path)); }), port);
    QCOMPARE(int(LinkOptions::portValue(path)), port);
}

// What each writer does with the path under test: a save over an older
// channel file, a test report, an archive copy, a batch's report folder.
QString writeInto(const QString &what, const QString &path)
{
    if (what == QLatin1String("channel file")) {
        const MaybeRefusal refusal = ChannelFile::save(templatePlan(), path);
        return refusal ? refusal->text : QString();
    }
    if (what == QLatin1String("test report")) {
        const ChannelPlan plan = templatePlan();
        DocxWriter::write(ReportDocument::build(QStringLiteral("К7ТВ-1"), plan.settingsLines, plan.table, 3), path);
        return QString();
    }
    if (what == QLatin1String("archive copy")) {
        ReadArchive::store(templatePlan(), path, QDateTime::currentDateTime());
        return QString();
    }
    BatchReports(path, QStringLiteral("К7ТВ-1")).prepare();
    return QString();
}

// The disk fills up before or while a file is written: the failure names
// the file and says why, the older file is still there, whole, and nothing
// half made is left. A batch finds out before its first station.
void TestConfigFaults::writeOnAFullDisk_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("failure"); // {path}: the path written to
    QTest::newRow("channel file") << "channel file"
                                  << "K7TV_10.ini"
                                  << "Не удалось записать в файл {path}: нет места на диске";
    QTest::newRow("test report") << "test report"
                                 << "p.docx"
                                 << "Не удалось записать протокол в файл \"{path}\": нет места на диске";
    QTest::newRow("archive copy") << "archive copy"
                                  << "архив"
                                  << "нет места на диске";
    QTest::newRow("report folder of a batch") << "report folder"
                                              << "протоколы"
                                              << "В папку протоколов \"{path}\" нельзя записать файл: нет места на "
                                                 "диске";
}

void TestConfigFaults::writeOnAFullDisk()
{
    QFETCH(QString, what);
    QFETCH(QString, name);
    QFETCH(QString, failure);
    SmallDisk disk(64);
    if (!disk.isMounted())
        QSKIP("mounting a tmpfs is not allowed here (the file size limit case is in tst_channelfile)");
    const QString path = disk.filePath(name);
    QByteArray old;
    if (what == QLatin1String("channel file")) {
        const ChannelPlan older = templatePlan();
        QCOMPARE(ChannelFile::save(older, path), MaybeRefusal());
        old = readFile(path);
    } else if (what != QLatin1String("test report")) {
        QVERIFY(QDir().mkpath(path));
    }
    disk.fill();

    const QString text = failureOf([&] { QCOMPARE(writeInto(what, path), QString()); });

    QVERIFY2(text.contains(QString(failure).replace(QStringLiteral("{path}"), path)), qPrintable(text));
    QStringList left{QStringLiteral("filler")};
    if (what == QLatin1String("channel file")) {
        QCOMPARE(readFile(path), old);
        left.append(name);
    } else if (what != QLatin1String("test report")) {
        left.append(name);
        QCOMPARE(QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
    }
    QCOMPARE(QDir(disk.filePath(QString())).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), left);
}

// A folder on a read-only file system takes no new file: said as such,
// not as a file whose access is denied.
void TestConfigFaults::readOnlyFolder_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("failure");
    QTest::newRow("channel file") << "channel file"
                                  << "K7TV_10.ini"
                                  << "Не удалось записать в файл {path}: папка только для чтения";
    QTest::newRow("report folder of a batch")
        << "report folder"
        << "протоколы"
        << "В папку протоколов \"{path}\" нельзя записать файл: папка только для чтения";
}

void TestConfigFaults::readOnlyFolder()
{
    QFETCH(QString, what);
    QFETCH(QString, name);
    QFETCH(QString, failure);
    SmallDisk disk(64);
    if (!disk.isMounted())
        QSKIP("mounting a tmpfs is not allowed here");
    const QString path = disk.filePath(name);
    if (what == QLatin1String("channel file"))
        writeFile(path, "old");
    else
        QVERIFY(QDir().mkpath(path));
    if (!disk.makeReadOnly())
        QSKIP("remounting read-only is not allowed here");

    const QString text = failureOf([&] { QCOMPARE(writeInto(what, path), QString()); });

    QCOMPARE(text, QString(failure).replace(QStringLiteral("{path}"), path));
    if (what == QLatin1String("channel file"))
        QCOMPARE(readFile(path), QByteArray("old"));
}

QTEST_GUILESS_MAIN(TestConfigFaults)
#include "tst_configfaults.moc"
