#include "common/paths.h"
#include "common/platformerror.h"
#include "files/channelfile.h"
#include "files/readarchive.h"
#include "table/channelplan.h"
#include "support/atonemoment.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QDateTime kTime(QDate(2024, 3, 7), QTime(9, 5, 2));

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestReadArchive : public QObject
{
    Q_OBJECT

private slots:
    void portableMarker_data()
    {
        QTest::addColumn<QString>("marker"); // what stands under the marker's name
        QTest::addColumn<bool>("portable");
        QTest::newRow("marker file") << "file" << true;
        QTest::newRow("no marker") << "" << false;
        QTest::newRow("a folder of that name") << "folder" << false;
    }
    void portableMarker()
    {
        QFETCH(QString, marker);
        QFETCH(bool, portable);
        QTemporaryDir program;
        const QString path = program.filePath(Paths::portableMarkerName());
        if (marker == "file") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
        } else if (marker == "folder") {
            QVERIFY(QDir().mkdir(path));
        }
        QCOMPARE(Paths::portableFolderOf(program.path()), portable ? program.path() : QString());
        QCOMPARE(Paths::portableFolderOf(QString()), QString());
    }

    void firstDialogFolder()
    {
        // Before any folder was used: the home folder on Linux, where the
        // technician's files are; the documents folder on Windows, since the
        // profile folder above it is no place for them.
#ifdef Q_OS_WIN
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QVERIFY(!documents.isEmpty() && documents != QDir::homePath());
        QCOMPARE(Paths::firstDialogFolder(), documents);
#else
        QCOMPARE(Paths::firstDialogFolder(), QDir::homePath());
#endif
    }

    void baseName_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("expected");
        QTest::newRow("read from a station")
            << QStringList{"[Общие установки]", "Серийный номер=0123AB", "Id_номер=0001"}
            << "0123AB 2024-03-07 09-05-02";
        QTest::newRow("no serial number")
            << QStringList{"[Общие установки]", "Id_номер=0001"} << "без номера 2024-03-07 09-05-02";
        QTest::newRow("outside the section")
            << QStringList{"Серийный номер=0123AB"} << "без номера 2024-03-07 09-05-02";
        QTest::newRow("path characters") << QStringList{"[Общие установки]", "Серийный номер=../a b:c"}
                                         << "___a_b_c 2024-03-07 09-05-02";
    }
    void baseName()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, expected);
        QCOMPARE(ReadArchive::baseName(lines, kTime), expected);
    }

    void copiesNeverReplaceEachOther()
    {
        QTemporaryDir dir;
        ChannelPlan state;
        state.settingsLines = QStringList{"[Общие установки]", "Серийный номер=0123AB"};
        const QString folder = dir.filePath("a/b");
        const QString first = ReadArchive::store(state, folder, kTime);
        state.settingsLines.append("Громкость=8");
        const QString second = ReadArchive::store(state, folder, kTime);

        QCOMPARE(QFileInfo(first).fileName(), QString("0123AB 2024-03-07 09-05-02.ini"));
        QCOMPARE(QFileInfo(second).fileName(), QString("0123AB 2024-03-07 09-05-02 (2).ini"));
        QCOMPARE(contents(second), ChannelFile::encode(state));
        QVERIFY(contents(first) != contents(second));
    }

    // Stations of one serial number read within one second by threads of
    // their own: every copy keeps a name of its own.
    void copiesAtOneMomentNeverReplaceEachOther()
    {
        QTemporaryDir dir;
        constexpr int kThreads = 6;
        for (int round = 0; round < 20; ++round) {
            const QString folder = dir.filePath(QString::number(round));
            atOneMoment(kThreads, [folder](int i) {
                ChannelPlan state;
                state.settingsLines =
                    QStringList{"[Общие установки]", "Серийный номер=0123AB", QString("Id_номер=%1").arg(i)};
                ReadArchive::store(state, folder, kTime);
            });
            QCOMPARE(QDir(folder).entryList(QDir::Files).size(), kThreads);
        }
    }

    // The archive's folder comes from the environment as bytes. A name whose
    // bytes are not UTF-8 would be made as another name, each bad byte a
    // replacement character: it is refused, and nothing is made.
    void folderNamedByTheEnvironment_data()
    {
        QTest::addColumn<QByteArray>("dataHome"); // under the temporary folder; none: unset
        QTest::addColumn<QByteArray>("home");
        QTest::addColumn<QString>("refusal"); // what the failure names; empty: stored
#ifdef Q_OS_UNIX                              // the environment of Windows is text
        QTest::newRow("data folder in UTF-8") << QByteArray("данные") << QByteArray("дом") << "";
        QTest::newRow("data folder not UTF-8") << QByteArray("st\xe9") << QByteArray("дом") << "XDG_DATA_HOME";
        QTest::newRow("home not UTF-8, no data folder set") << QByteArray() << QByteArray("h\xe9") << "HOME";
#endif
    }
    void folderNamedByTheEnvironment()
    {
        QFETCH(QByteArray, dataHome);
        QFETCH(QByteArray, home);
        QFETCH(QString, refusal);
        QTemporaryDir dir;
        const QByteArray root = QFile::encodeName(dir.path()) + '/';
        const QByteArray savedData = qgetenv("XDG_DATA_HOME"), savedHome = qgetenv("HOME");
        if (dataHome.isNull())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", root + dataHome);
        qputenv("HOME", root + home);
        const ChannelPlan state;
        QString failure;
        try {
            ReadArchive::store(state, ReadArchive::folder(), kTime);
        } catch (const PlatformError &e) {
            failure = e.text();
        }
        qputenv("XDG_DATA_HOME", savedData);
        qputenv("HOME", savedHome);

        if (refusal.isEmpty()) {
            QCOMPARE(failure, QString());
            QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"данные"});
            return;
        }
        QVERIFY2(failure.contains(refusal), qPrintable(failure));
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    }

    void failureLeavesNothing()
    {
        QTemporaryDir dir;
        QFile blocker(dir.filePath("file"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        ChannelPlan state;
        QVERIFY_THROWS_EXCEPTION(PlatformError, ReadArchive::store(state, dir.filePath("file/archive"), kTime));
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"file"});
    }
};

QTEST_GUILESS_MAIN(TestReadArchive)
#include "tst_readarchive.moc"
