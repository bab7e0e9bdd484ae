// Files a tester makes to break the program: a byte order mark that lies
// about the text behind it, save targets that are no regular files, a save
// over someone else's file, an archive copy cut off by the file size limit,
// and cells far too long for the message that quotes them.

#include "check/datacheck.h"
#include "common/platformerror.h"
#include "files/channelfile.h"
#include "files/readarchive.h"
#include "files/windows1251.h"
#include "report/docxwriter.h"
#include "report/reportdocument.h"
#include "table/channelplan.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString kSettings = QStringLiteral("[Общие установки]\r\nСерийный номер=АБВ\r\nГромкость=5\r\nТип=3\r\n");
const QString kText = kSettings + QStringLiteral("[1]\r\nRx=433000\r\nTx_Off=Норм\r\n");

QString failureOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const PlatformError &e) {
        return e.text();
    }
    return QString();
}

ChannelPlan loaded(const QByteArray &bytes)
{
    ChannelPlan state;
    ChannelFile::loadBytes(bytes, state);
    return state;
}

// A state that check and save take: n rows with the defaults of a load.
ChannelPlan channels(int n)
{
    QString text = kText;
    for (int row = 2; row <= n; ++row)
        text += QStringLiteral("[%1]\r\nRx=433000\r\n").arg(row);
    return loaded(Windows1251::encode(text));
}

mode_t typeOf(const QString &path)
{
    struct stat info
    {
    };
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? (info.st_mode & S_IFMT) : 0;
}

} // namespace

class TestHostileFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // A mark is believed only when the text behind it is valid in its
    // encoding; otherwise the file reads exactly as it would without it.
    void markOverAnotherEncoding_data()
    {
        QTest::addColumn<QByteArray>("mark");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("serial"); // the line a Windows-1251 body gives
        const QByteArray cp1251 = Windows1251::encode(kText);
        const QByteArray odd = cp1251.size() % 2 ? cp1251 : cp1251 + ' ';
        QStringEncoder utf16(QStringConverter::Utf16BE);
        QByteArray loneSurrogate = utf16.encode(kText);
        loneSurrogate.insert(2, "\xD8\x00", 2);
        const QString serial = QStringLiteral("Серийный номер=АБВ");
        QTest::newRow("UTF-8 mark, Windows-1251 text") << QByteArray("\xEF\xBB\xBF") << cp1251 << serial;
        QTest::newRow("UTF-16LE mark, odd length") << QByteArray("\xFF\xFE") << odd << serial;
        QTest::newRow("UTF-16BE mark, lone surrogate") << QByteArray("\xFE\xFF") << loneSurrogate << QString();
    }
    void markOverAnotherEncoding()
    {
        QFETCH(QByteArray, mark);
        QFETCH(QByteArray, body);
        QFETCH(QString, serial);
        const ChannelPlan marked = loaded(mark + body);
        const ChannelPlan bare = loaded(body);
        QCOMPARE(marked.settingsLines, bare.settingsLines);
        QCOMPARE(marked.table.rowCount(), bare.table.rowCount());
        QCOMPARE(marked.stationKind, bare.stationKind);
        if (!serial.isEmpty())
            QCOMPARE(marked.settingsLines.at(1), serial);
    }

    // A save never replaces what is not a regular file, by any road: it
    // refuses with a message that says what is there, and leaves it.
    void saveOntoNoRegularFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("report");
        QTest::addColumn<QString>("message");
        const QString device = QStringLiteral("Файл \"%1\" не записан: это не обычный файл, а устройство или "
                                              "канал; он оставлен без изменений.");
        const QString folder = QStringLiteral("Файл \"%1\" не записан: это папка, а не файл.");
        for (const bool report : {false, true}) {
            const char *what = report ? "report" : "channel file";
            QTest::addRow("%s onto a pipe", what) << "pipe" << report << device;
            QTest::addRow("%s onto a link to a pipe", what) << "link to pipe" << report << device;
            QTest::addRow("%s onto a folder", what) << "folder" << report << folder;
            QTest::addRow("%s onto a link to a folder", what) << "link to folder" << report << folder;
        }
    }
    void saveOntoNoRegularFile()
    {
        QFETCH(QString, name);
        QFETCH(bool, report);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QDir root(dir.path());
        QCOMPARE(::mkfifo(QFile::encodeName(root.filePath("pipe")).constData(), 0600), 0);
        QVERIFY(root.mkdir("folder"));
        QVERIFY(QFile::link(root.filePath("pipe"), root.filePath("link to pipe")));
        QVERIFY(QFile::link(root.filePath("folder"), root.filePath("link to folder")));
        const QStringList before =
            root.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        const mode_t type = typeOf(root.filePath(name));
        const ChannelPlan state = channels(1);

        const QString target = root.filePath(name);
        const QString failure = failureOf([&] {
            if (report)
                DocxWriter::write(ReportDocument::build(QStringLiteral("1"), state.settingsLines, state.table, 1),
                                  target);
            else
                ChannelFile::save(state, target);
        });

        QCOMPARE(failure, message.arg(target));
        QCOMPARE(typeOf(target), type);
        QCOMPARE(typeOf(root.filePath("pipe")), mode_t(S_IFIFO));
        QVERIFY(QDir(root.filePath("folder")).isEmpty());
        QCOMPARE(root.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot), before);
    }

    // The new version of a file takes the old one's owner and mode.
    void saveKeepsOwnerAndMode_data()
    {
        QTest::addColumn<uint>("owner");
        QTest::addColumn<uint>("mode");
        QTest::newRow("mode") << uint(::getuid()) << 0604u;
        QTest::newRow("another user's file") << 65534u << 0660u;
    }
    void saveKeepsOwnerAndMode()
    {
        QFETCH(uint, owner);
        QFETCH(uint, mode);
        if (owner != ::getuid() && ::getuid() != 0)
            QSKIP("only root may give a file to another user");
        QTemporaryDir dir;
        const QByteArray path = QFile::encodeName(dir.filePath("K7TV_10.ini"));
        ChannelFile::save(ChannelPlan(), QString::fromLocal8Bit(path));
        QCOMPARE(::chown(path.constData(), owner, owner), 0);
        QCOMPARE(::chmod(path.constData(), mode), 0);

        ChannelFile::save(channels(1), QString::fromLocal8Bit(path));

        struct stat info
        {
        };
        QCOMPARE(::stat(path.constData(), &info), 0);
        QCOMPARE(uint(info.st_uid), owner);
        QCOMPARE(uint(info.st_gid), owner);
        QCOMPARE(uint(info.st_mode & 07777), mode);
    }

    // Memory that runs out while a file is loaded ends the load with a
    // message, not the program: a child whose address space is limited to a
    // little more than it holds loads 12 MB of tiny sections.
    void loadOutOfMemory()
    {
#if defined(__SANITIZE_ADDRESS__) // GCC's word for it
        QSKIP("AddressSanitizer reserves more address space than the limit leaves");
#elif defined(__has_feature) // clang's
#if __has_feature(address_sanitizer)
        QSKIP("AddressSanitizer reserves more address space than the limit leaves");
#endif
#endif
        QTemporaryDir dir;
        const QString path = dir.filePath("sections.ini");
        {
            QByteArray bytes("[1]\r\nRx=145000\r\n");
            for (int n = 1; bytes.size() < (12 << 20); ++n)
                bytes += "[j" + QByteArray::number(n) + "]\r\n";
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        }
        QFile statm("/proc/self/statm");
        QVERIFY(statm.open(QIODevice::ReadOnly));
        const rlim_t held = statm.readAll().split(' ').value(0).toULongLong() * rlim_t(::sysconf(_SC_PAGESIZE));
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            const rlimit limit{held + (24 << 20), held + (24 << 20)};
            ::setrlimit(RLIMIT_AS, &limit);
            // An exception that nobody catches aborts the child; the test
            // library's crash handler (a stack trace by a debugger) is not
            // for a child, and a child that hangs is stopped.
            ::signal(SIGABRT, SIG_DFL);
            ::signal(SIGSEGV, SIG_DFL);
            ::alarm(60);
            int status = 3; // loaded after all
            try {
                ChannelPlan state;
                ChannelFile::load(path, state);
            } catch (const PlatformError &e) {
                status = e.text().contains(QStringLiteral("не хватило памяти")) ? 0 : 2;
            }
            ::_exit(status);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY2(WIFEXITED(status), "running out of memory ended the program");
        QCOMPARE(WEXITSTATUS(status), 0);
    }

    // A process stopped by the file size limit while it writes the archive
    // copy leaves nothing under a channel file's name.
    void archiveCopyCutShort()
    {
        QTemporaryDir dir;
        const ChannelPlan state = channels(99);
        QVERIFY(ChannelFile::encode(state).size() > 8192);
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            const rlimit limit{4096, 4096};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            ::signal(SIGXFSZ, SIG_DFL);
            try {
                ReadArchive::store(state, dir.path(), QDateTime::currentDateTime());
            } catch (...) {
            }
            ::_exit(0);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ);
        QCOMPARE(QDir(dir.path()).entryList({"*.ini"}, QDir::Files | QDir::Hidden), QStringList());
    }

    // A cell of a megabyte is quoted by a few dozen characters of it.
    void longCellInAMessage_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("key");
        QTest::newRow("number") << ""
                                << "Rx";
        QTest::newRow("code") << "Rx=433000\r\n"
                              << "CTCSS_Rx";
    }
    void longCellInAMessage()
    {
        QFETCH(QString, before);
        QFETCH(QString, key);
        const QString cell = QString(1 << 20, u'7');
        QTemporaryDir dir;
        ChannelPlan state;
        const QString text =
            kSettings + QStringLiteral("[1]\r\n") + before + key + u'=' + cell + QStringLiteral("\r\n");
        ChannelFile::loadBytes(Windows1251::encode(text), state);
        QString refusal;
        const QString message =
            failureOf([&] { refusal = DataCheck::run(state, dir.filePath("MyTemp.ini")).text(); }) + refusal;
        QVERIFY2(message.contains(QStringLiteral("7777777777…")), qPrintable(message.left(300)));
        QVERIFY2(message.size() < 300, qPrintable(message.left(300)));
    }
};

QTEST_GUILESS_MAIN(TestHostileFiles)
#include "tst_hostilefiles.moc"
