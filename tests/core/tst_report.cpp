#include "common/platformerror.h"
#include "report/docxparts.h"
#include "report/docxwriter.h"
#include "report/reportdocument.h"
#include "table/channelplan.h"
#include "table/settingstext.h"
#include "table/templatebuilder.h"

#include "support/docxfixtures.h"

#include <QTemporaryDir>

using namespace DocxFixtures;

namespace {

QStringList reportHeader()
{
    const auto &texts = ReportDocument::headerTexts();
    return QStringList(texts.begin(), texts.end());
}

// A template table of `channels` rows.
ChannelPlan templatePlan(int channels)
{
    ChannelPlan plan;
    const auto refusal =
        TemplateBuilder::build({QString::number(channels), QStringLiteral("144000"), QStringLiteral("25")}, plan);
    if (refusal)
        qFatal("template refused: %s", qPrintable(refusal->text));
    return plan;
}

// The report of a checked plan, whose image has as many channels as its table.
ReportDocument reportOf(const ChannelPlan &plan, const QString &serial)
{
    return ReportDocument::build(serial, plan.settingsLines, plan.table, plan.table.channelCount());
}

} // namespace

class TestReport : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_files = 0;

    Body writeAndRead(const ReportDocument &doc)
    {
        const QString path = m_dir.filePath(QStringLiteral("r%1.docx").arg(++m_files));
        DocxWriter::write(doc, path);
        const auto entries = unzip(path);
        if (!entries.contains(QStringLiteral("word/document.xml")))
            qFatal("no word/document.xml in %s", qPrintable(path));
        return readBody(entries.value(QStringLiteral("word/document.xml")));
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void refusals_data()
    {
        QTest::addColumn<bool>("menu");
        QTest::addColumn<bool>("dataValid");
        QTest::addColumn<QString>("expected");
        const QString text = QStringLiteral("Пока не будет произведена проверка данных, протокол создаваться не будет");
        QTest::newRow("menu, unchecked") << true << false << text + QStringLiteral("!!!");
        QTest::newRow("button, unchecked") << false << false << text;
        QTest::newRow("menu, checked") << true << true << QString();
        QTest::newRow("button, checked") << false << true << QString();
    }
    void refusals()
    {
        QFETCH(bool, menu);
        QFETCH(bool, dataValid);
        QFETCH(QString, expected);
        const MaybeRefusal refusal = menu ? ReportRefusals::forMenu(dataValid) : ReportRefusals::forButton(dataValid);
        QCOMPARE(refusal.has_value(), !expected.isEmpty());
        if (refusal)
            QCOMPARE(refusal->text, expected);
    }

    void rowsAndRepeatedHeaders_data()
    {
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QList<int>>("headerRows"); // 1-based table rows
        QTest::newRow("1") << 1 << 2 << QList<int>{1};
        QTest::newRow("29") << 29 << 30 << QList<int>{1};
        QTest::newRow("30") << 30 << 31 << QList<int>{1};
        QTest::newRow("31") << 31 << 33 << QList<int>{1, 32};
        QTest::newRow("61") << 61 << 64 << QList<int>{1, 32, 63};
        QTest::newRow("91") << 91 << 95 << QList<int>{1, 32, 63, 94};
        QTest::newRow("99") << 99 << 103 << QList<int>{1, 32, 63, 94};
    }
    void rowsAndRepeatedHeaders()
    {
        QFETCH(int, channels);
        QFETCH(int, rows);
        QFETCH(QList<int>, headerRows);
        const Body body = writeAndRead(reportOf(templatePlan(channels), QStringLiteral("К7ТВ-1")));
        QCOMPARE(body.tableCount, 1);
        QCOMPARE(body.rows.size(), rows);
        QCOMPARE(ReportDocument::tableRowCount(channels), rows);

        int channel = 0;
        for (int r = 1; r <= rows; ++r) {
            const QStringList texts = rowTexts(body.rows[r - 1]);
            QCOMPARE(texts.size(), ReportDocument::ColumnCount);
            if (headerRows.contains(r)) {
                QCOMPARE(texts, reportHeader());
            } else {
                // Channels follow in table order, none skipped by a header.
                QCOMPARE(texts.first(), QString::number(++channel));
            }
        }
        QCOMPARE(channel, channels);
    }

    void rowFormat()
    {
        const Body body = writeAndRead(reportOf(templatePlan(31), QStringLiteral("S")));
        for (int r : {0, 31}) {
            for (const Cell &cell : body.rows[r]) {
                QCOMPARE(cell.paragraph.align, QStringLiteral("center"));
                QVERIFY(cell.paragraph.bold);
                QCOMPARE(cell.paragraph.halfPoints, 22);
            }
        }
        for (const Cell &cell : body.rows[1]) {
            QCOMPARE(cell.paragraph.align, QStringLiteral("center"));
            QVERIFY(!cell.paragraph.bold);
            QCOMPARE(cell.paragraph.halfPoints, 24);
        }
        // The Latin T of the tone headers.
        QCOMPARE(body.rows[0][7].paragraph.text, QStringLiteral("T") + QStringLiteral("он_Rx"));
        QCOMPARE(body.rows[0][7].paragraph.text.at(0).unicode(), u'T');
        QCOMPARE(body.rows[0][8].paragraph.text.at(1), QChar(0x043E));
    }

    void columnMapping_data()
    {
        QTest::addColumn<int>("boxes"); // -1: the row carries no boxes; else bits scan, id, active
        QTest::addColumn<QStringList>("expectedBoxes");
        QTest::newRow("none ticked") << 0 << QStringList{"-", "-", "-"};
        QTest::newRow("scan only") << 1 << QStringList{"+", "-", "-"};
        QTest::newRow("id only") << 2 << QStringList{"-", "+", "-"};
        QTest::newRow("active only") << 4 << QStringList{"-", "-", "+"};
        QTest::newRow("scan and active, id clear") << 5 << QStringList{"+", "-", "+"};
        QTest::newRow("all ticked") << 7 << QStringList{"+", "+", "+"};
        QTest::newRow("row without boxes") << -1 << QStringList{"-", "-", "-"};
    }
    void columnMapping()
    {
        QFETCH(int, boxes);
        QFETCH(QStringList, expectedBoxes);
        ChannelPlan state = templatePlan(2);
        const QStringList cells{"7", "144006,25", "144012,50", "67,0", "71,9", "023", "025",  "3",  "4",
                                "5", "P_max",     "P_min",     "",     "12,5", "",    "RSSI", "15", ""};
        for (int c = 0; c < ChannelTable::ColumnCount; ++c)
            state.table.setCell(c, 2, cells[c]);
        if (boxes < 0) {
            state.table.detachCheckBoxes();
        } else {
            state.table.setChecked(ChannelTable::Scan, 2, boxes & 1);
            state.table.setChecked(ChannelTable::IdTone, 2, boxes & 2);
            state.table.setChecked(ChannelTable::Active, 2, boxes & 4);
        }
        const Body body = writeAndRead(reportOf(state, QStringLiteral("S")));
        QCOMPARE(body.rows.size(), 3);
        const QStringList expected{"7",
                                   "144006,25",
                                   "144012,50",
                                   "67,0",
                                   "71,9",
                                   "023",
                                   "025",
                                   "3",
                                   "4",
                                   "5",
                                   "P_min",
                                   "P_max",
                                   expectedBoxes[0],
                                   "12,5",
                                   expectedBoxes[1],
                                   "RSSI",
                                   "15",
                                   expectedBoxes[2]};
        QCOMPARE(rowTexts(body.rows[2]), expected);
    }

    void channelCountComesFromTheImage_data()
    {
        QTest::addColumn<int>("tableChannels");
        QTest::addColumn<int>("imageChannels");
        QTest::newRow("table grew after the check") << 5 << 3;
        QTest::newRow("table shrank after the check") << 3 << 5;
    }
    void channelCountComesFromTheImage()
    {
        QFETCH(int, tableChannels);
        QFETCH(int, imageChannels);
        ChannelPlan state = templatePlan(tableChannels);
        const Body body =
            writeAndRead(ReportDocument::build(QStringLiteral("S"), state.settingsLines, state.table, imageChannels));
        QCOMPARE(body.rows.size(), imageChannels + 1);
        for (int k = 1; k <= imageChannels; ++k) {
            const QStringList texts = rowTexts(body.rows[k]);
            if (k <= tableChannels) {
                QCOMPARE(texts.first(), QString::number(k));
                QCOMPARE(texts[ChannelTable::Scan], QStringLiteral("+"));
            } else {
                QCOMPARE(texts.first(), QString());
                QCOMPARE(texts[ChannelTable::Scan], QStringLiteral("-"));
                QCOMPARE(texts[ChannelTable::Active], QStringLiteral("-"));
            }
        }
    }

    void paragraphs_data()
    {
        QTest::addColumn<QString>("serial");
        QTest::addColumn<QStringList>("settings");
        QTest::addColumn<QString>("serialShown");
        QTest::newRow("template") << QStringLiteral("К7ТВ-12345") << SettingsText::templateLines()
                                  << QStringLiteral("К7ТВ-12345");
        QTest::newRow("empty serial") << QString() << SettingsText::templateLines() << QString();
        QTest::newRow("blanks kept") << QStringLiteral("  12  ") << QStringList{QStringLiteral("[Общие установки]")}
                                     << QStringLiteral("  12  ");
        QTest::newRow("no settings") << QStringLiteral("S") << QStringList{} << QStringLiteral("S");
        QTest::newRow("markup characters")
            << QStringLiteral("<a&b>\"'") << QStringList{QStringLiteral("x=<&>")} << QStringLiteral("<a&b>\"'");
        QTest::newRow("tab and control characters")
            << QStringLiteral("A\tB\x01"
                              "C\uFFFF")
            << QStringList{QStringLiteral("k=\x02v")} << QStringLiteral("A\tBC");
    }
    void paragraphs()
    {
        QFETCH(QString, serial);
        QFETCH(QStringList, settings);
        QFETCH(QString, serialShown);
        ChannelPlan state = templatePlan(3);
        state.settingsLines = settings;
        const Body body = writeAndRead(reportOf(state, serial));

        QCOMPARE(body.before.size(), 2 + 1 + settings.size() + 1 + 1);
        const Paragraph &title = body.before[0];
        QCOMPARE(title.text, QStringLiteral("Радиостанция серии \"Ветрал\""));
        QCOMPARE(body.before[1].text, serialShown);
        for (const Paragraph &p : {body.before[0], body.before[1]}) {
            QCOMPARE(p.align, QStringLiteral("center"));
            QVERIFY(p.bold);
            QCOMPARE(p.halfPoints, 40);
        }
        QStringList rest;
        for (int i = 2; i < body.before.size(); ++i) {
            const Paragraph &p = body.before[i];
            rest << p.text;
            // Only the paragraph the table follows moves with the table.
            QCOMPARE(p.keepNext, i == body.before.size() - 1);
            QCOMPARE(p.align, QStringLiteral("left"));
            QVERIFY(!p.bold);
            QCOMPARE(p.halfPoints, 24);
        }
        QStringList expected{QString()};
        for (QString line : settings)
            expected << line.remove(QChar(2));
        expected << QString() << QStringLiteral(" ");
        QCOMPARE(rest, expected);
        QCOMPARE(body.after.size(), 1);
        QCOMPARE(body.after[0].text, QString());
    }

    // With a template's settings text the table stands where Word put it: at
    // character P = 245 + length of S + the settings digit count, the paragraph
    // mark of the first blank paragraph.
    void tableAtWordPosition_data()
    {
        QTest::addColumn<QString>("serial");
        QTest::newRow("empty") << QString();
        QTest::newRow("usual") << QStringLiteral("К7ТВ-12345");
        QTest::newRow("long") << QString(200, u'Ж');
    }
    void tableAtWordPosition()
    {
        QFETCH(QString, serial);
        // Digits of the template values the check counts: volume 8, channel
        // position 0, ФВ 00, minimum volume 0, the ten tones 3+3+4·8.
        const int digitCount = 1 + 1 + 2 + 1 + 38;
        const Body body = writeAndRead(reportOf(templatePlan(10), serial));
        int characters = 0;
        for (const Paragraph &p : body.before)
            characters += int(p.text.size()) + 1;
        // The last paragraph before the table is the one whose mark stands at P.
        QCOMPARE(characters - 1, 245 + int(serial.size()) + digitCount);
        QCOMPARE(body.before.last().text, QStringLiteral(" "));
    }

    void pageAndWidths()
    {
        const Body body = writeAndRead(reportOf(templatePlan(31), QStringLiteral("S")));
        QCOMPARE(body.pageSize.value("w"), QStringLiteral("16838"));
        QCOMPARE(body.pageSize.value("h"), QStringLiteral("11906"));
        QCOMPARE(body.pageSize.value("orient"), QStringLiteral("landscape"));
        QCOMPARE(body.margins.value("left"), QStringLiteral("500"));
        QCOMPARE(body.margins.value("right"), QStringLiteral("500"));
        QCOMPARE(body.margins.value("top"), QStringLiteral("1500"));
        QCOMPARE(body.margins.value("bottom"), QStringLiteral("1340"));

        const QList<int> widths{23, 62, 62, 69, 69, 54, 54, 51, 49, 32, 37, 38, 37, 33, 24, 46, 36, 31};
        QList<int> twips;
        for (int w : widths)
            twips << w * 20;
        QCOMPARE(body.grid, twips);
        for (const auto &row : body.rows) {
            QList<int> cellWidths;
            for (const Cell &cell : row)
                cellWidths << cell.widthTwips;
            QCOMPARE(cellWidths, twips);
        }
    }

    // The parts a word processor needs, each well-formed and each named by
    // the content types and reached through the relationships.
    void packageParts()
    {
        const QString path = m_dir.filePath(QStringLiteral("package.docx"));
        DocxWriter::write(reportOf(templatePlan(2), QStringLiteral("S")), path);
        const auto entries = unzip(path);
        const QStringList names{"[Content_Types].xml",          "_rels/.rels",       "word/document.xml",
                                "word/_rels/document.xml.rels", "word/settings.xml", "word/styles.xml"};
        QCOMPARE(QStringList(entries.keys()), [&] {
            QStringList s = names;
            s.sort();
            return s;
        }());
        for (const QString &name : names) {
            QXmlStreamReader xml(entries.value(name));
            while (!xml.atEnd())
                xml.readNext();
            QVERIFY2(!xml.hasError(), qPrintable(name + QStringLiteral(": ") + xml.errorString()));
        }

        QStringList overrides;
        QXmlStreamReader types(entries.value(QStringLiteral("[Content_Types].xml")));
        while (!types.atEnd()) {
            types.readNext();
            if (types.isStartElement() && types.name() == u"Override")
                overrides << types.attributes().value("PartName").toString();
        }
        overrides.sort();
        QCOMPARE(overrides, (QStringList{"/word/document.xml", "/word/settings.xml", "/word/styles.xml"}));

        const auto targets = [&](const QString &rels, const QString &base) {
            QStringList found;
            QXmlStreamReader xml(entries.value(rels));
            while (!xml.atEnd()) {
                xml.readNext();
                if (xml.isStartElement() && xml.name() == u"Relationship")
                    found << base + xml.attributes().value("Target").toString();
            }
            found.sort();
            return found;
        };
        QCOMPARE(targets(QStringLiteral("_rels/.rels"), QString()), QStringList{"word/document.xml"});
        QCOMPARE(targets(QStringLiteral("word/_rels/document.xml.rels"), QStringLiteral("word/")),
                 (QStringList{"word/settings.xml", "word/styles.xml"}));
    }

    // The name is taken only where none stands: a file, or a link that
    // leads nowhere (which an existence check takes for a free name), stays.
    void writerNeverOverwrites_data()
    {
        QTest::addColumn<bool>("danglingLink");
        QTest::newRow("a file") << false;
#ifdef Q_OS_UNIX // QFile::link makes a .lnk shortcut on Windows
        QTest::newRow("a dangling link") << true;
#endif
    }
    void writerNeverOverwrites()
    {
        QFETCH(bool, danglingLink);
        const QString path = m_dir.filePath(QStringLiteral("taken.docx"));
        const QString target = m_dir.filePath(QStringLiteral("nowhere"));
        QFile::remove(path);
        if (danglingLink) {
            QVERIFY(QFile::link(target, path));
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("keep me");
        }
        const ReportDocument doc = reportOf(templatePlan(1), QStringLiteral("S"));
        try {
            DocxWriter::write(doc, path);
            QFAIL("an existing file was replaced");
        } catch (const PlatformError &error) {
            QVERIFY2(error.text().contains(path), qPrintable(error.text()));
        }
        if (danglingLink) {
            QCOMPARE(QFileInfo(path).symLinkTarget(), target);
            QVERIFY(!QFileInfo::exists(target));
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), QByteArray("keep me"));
        }
        QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral(".*.part")}, QDir::Files | QDir::Hidden), QStringList());
    }

    void writerReportsMissingFolder()
    {
        const QString path = m_dir.filePath(QStringLiteral("no such folder/r.docx"));
        const ReportDocument doc = reportOf(templatePlan(1), QStringLiteral("S"));
        QVERIFY_THROWS_EXCEPTION(PlatformError, DocxWriter::write(doc, path));
        QVERIFY(!QFile::exists(path));
    }

    void xmlSafe_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << QStringLiteral("Ветрал 4М") << QStringLiteral("Ветрал 4М");
        QTest::newRow("controls") << QStringLiteral("a\x01\x1F"
                                                    "b\x7F")
                                  << QStringLiteral("ab\x7F");
        QTest::newRow("tab and breaks kept") << QStringLiteral("a\tb\r\nc") << QStringLiteral("a\tb\r\nc");
        QTest::newRow("non-characters") << QStringLiteral("a\uFFFE\uFFFFb") << QStringLiteral("ab");
        QTest::newRow("pair kept") << QString::fromUcs4(U"a\U0001F4FBb") << QString::fromUcs4(U"a\U0001F4FBb");
        QTest::newRow("lone surrogates") << QString(QChar(0xD800)) + u'a' + QChar(0xDC00) << QStringLiteral("a");
    }
    void xmlSafe()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(DocxParts::xmlSafe(text), expected);
    }
};

QTEST_GUILESS_MAIN(TestReport)
#include "tst_report.moc"
