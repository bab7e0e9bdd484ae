// The channel table's CSV through LibreOffice Calc and back: exported, opened
// with the options of a Russian desktop and saved again as CSV with the same
// options, as a technician edits it, it imports as the same table. Runs only
// where LibreOffice Calc is installed and skips with a message elsewhere.
#include "csvfixtures.h"
#include "libreoffice.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>
#include <map>
#include <memory>

namespace {

// ";" between fields, '"' around them, UTF-8, from line 1, standard cell
// formats, Russian (decimal comma).
const QString kOptions = QStringLiteral("59,34,76,1,,1049");

} // namespace

class TestCsvLibreOffice : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    ChannelPlan m_state = CsvFixtures::stationFormState(12);
    // Calc's work on each encoding's file, started together.
    std::map<QString, std::unique_ptr<LibreOffice::Conversion>> m_conversions;

    static QString folder(const QTemporaryDir &dir, ChannelCsv::Encoding encoding)
    {
        return dir.filePath(encoding == ChannelCsv::Encoding::Utf8 ? QStringLiteral("utf8")
                                                                   : QStringLiteral("cp1251"));
    }

private slots:
    void initTestCase()
    {
        if (LibreOffice::program().isEmpty())
            QSKIP("LibreOffice (soffice) is not installed: the CSV is not opened in a spreadsheet program");
        if (!LibreOffice::hasPart(QStringLiteral("sc")))
            QSKIP("LibreOffice Calc is not installed: the CSV is not opened in a spreadsheet program");
        QVERIFY(m_dir.isValid());
        // LibreOffice's numbers of the encodings.
        for (const auto &[encoding, charset] :
             {std::pair{ChannelCsv::Encoding::Utf8, "76"}, std::pair{ChannelCsv::Encoding::Windows1251, "1"}}) {
            const QString here = folder(m_dir, encoding);
            QVERIFY(QDir().mkpath(here + QStringLiteral("/back")));
            const QString exported = here + QStringLiteral("/каналы.csv");
            QVERIFY(!ChannelCsv::save(m_state.table, exported, encoding));
            const QString options = QString(kOptions).replace(QStringLiteral(",76,"), u',' + QString(charset) + u',');
            m_conversions[here] = std::make_unique<LibreOffice::Conversion>(
                here + QStringLiteral("/profile"),
                QStringList{QStringLiteral("--infilter=CSV:") + options, QStringLiteral("--convert-to"),
                            QStringLiteral("csv:Text - txt - csv (StarCalc):") + options},
                exported, here + QStringLiteral("/back"));
        }
    }

    void roundTrip_data()
    {
        QTest::addColumn<ChannelCsv::Encoding>("encoding");
        QTest::newRow("UTF-8") << ChannelCsv::Encoding::Utf8;
        QTest::newRow("Windows-1251") << ChannelCsv::Encoding::Windows1251;
    }
    void roundTrip()
    {
        QFETCH(ChannelCsv::Encoding, encoding);
        const QString here = folder(m_dir, encoding);
        QString output;
        QVERIFY2(m_conversions.at(here)->finish(output), qPrintable(output));
        const auto imported = ChannelCsv::load(here + QStringLiteral("/back/каналы.csv"));
        QCOMPARE(CsvFixtures::rowsOf(CsvFixtures::importedTable(imported)), CsvFixtures::rowsOf(m_state.table));
    }
};

QTEST_GUILESS_MAIN(TestCsvLibreOffice)
#include "tst_csvlibreoffice.moc"
