// Pages as the painter lays them out and the channel sheet on them, read
// back from the PDF: page count, what stands on which page, the header
// repeated and the page numbers.
#include "channelsheet.h"
#include "core/support/checkfixtures.h"
#include "paperpainter.h"
#include "paperpdf.h"
#include "pdftext.h"

#include <QtTest>

namespace {

const QDate kDate(2026, 12, 7);

// A template of `channels` channels 250 kHz apart, so that 99 fit the band.
ChannelPlan sheetState(StationKind kind, int channels)
{
    ChannelPlan state;
    state.selectStation(kind);
    const int start = state.profile().lowKHz + 4000;
    if (TemplateBuilder::build({QString::number(channels), QString::number(start), QStringLiteral("250")}, state))
        qFatal("template refused");
    return state;
}

PaperDocument a4Landscape()
{
    PaperDocument doc;
    doc.page =
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(28, 28, 28, 28), QPageLayout::Point);
    doc.fontFamily = QStringLiteral("DejaVu Sans");
    return doc;
}

// A table of one column: "H" repeated `repeated` times on top, then rows "R1" ...
PaperTable numberedTable(int rows, int repeated, int linesInFirstRow = 1)
{
    PaperTable table;
    table.columnWidths << 200;
    table.repeatedRows = repeated;
    for (int r = 0; r < repeated; ++r)
        table.rows << PaperRow{{QStringLiteral("H")}, true, {}};
    for (int r = 1; r <= rows; ++r) {
        QString text = QStringLiteral("R%1").arg(r);
        if (r == 1)
            text += QString(QStringLiteral("\nx")).repeated(linesInFirstRow - 1);
        table.rows << PaperRow{{text}, false, {}};
    }
    return table;
}

// The page (from 1) each word stands on first.
int pageOf(const QStringList &pageTexts, const QString &word)
{
    for (int page = 0; page < pageTexts.size(); ++page)
        if (PdfText::words(pageTexts.at(page)).contains(word))
            return page + 1;
    return 0;
}

QStringList pageTexts(const QString &pdf)
{
    QStringList texts;
    for (int page = 1, pages = PdfText::pages(pdf); page <= pages; ++page)
        texts << PdfText::text(pdf, page);
    return texts;
}

} // namespace

class TestPaperPainter : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString pdfOf(const PaperDocument &doc, const QString &name)
    {
        return PdfText::saved(m_dir, name + QStringLiteral(".pdf"), PaperPdf::bytes(doc));
    }

private slots:
    // Where things go: a long table goes on over pages with its repeated
    // rows on top of each, rows never split, a paragraph kept with the next
    // block moves with it, and a row taller than what is left of a page
    // starts the next one.
    void pagination_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("repeated");
        QTest::addColumn<int>("fillerLines");   // lines of a paragraph before the table
        QTest::addColumn<bool>("keepWithNext"); // of a paragraph "K" between filler and table
        QTest::addColumn<int>("linesInFirstRow");
        QTest::addColumn<QString>("expected"); // "word@page" for the words to find
        QTest::newRow("short table, one page") << 5 << 1 << 0 << false << 1 << "R1@1 R5@1 K@1";
        QTest::newRow("long table goes on") << 80 << 1 << 0 << false << 1 << "R1@1 R80@last K@1";
        QTest::newRow("no repeated rows") << 80 << 0 << 0 << false << 1 << "R1@1 R80@last";
        // About 38 lines to a page: 10 lines, "K" and a row of 30 do not fit
        // on one; "K" and the row do.
        QTest::newRow("paragraph stays without keep") << 3 << 0 << 10 << false << 30 << "K@1 R1@2";
        QTest::newRow("paragraph goes with the table") << 3 << 0 << 10 << true << 30 << "K@2 R1@2";
    }
    void pagination()
    {
        QFETCH(int, rows);
        QFETCH(int, repeated);
        QFETCH(int, fillerLines);
        QFETCH(bool, keepWithNext);
        QFETCH(int, linesInFirstRow);
        QFETCH(QString, expected);

        PaperDocument doc = a4Landscape();
        if (fillerLines > 0)
            doc.blocks << PaperParagraph{QStringLiteral("F\n").repeated(fillerLines).chopped(1)};
        doc.blocks << PaperParagraph{QStringLiteral("K"), 12, false, false, keepWithNext};
        doc.blocks << numberedTable(rows, repeated, linesInFirstRow);
        const QStringList pages = pageTexts(pdfOf(doc, QTest::currentDataTag()));

        QVERIFY(rows < 80 || pages.size() >= 3);
        for (QString pair : expected.split(u' ')) {
            pair.replace(QStringLiteral("@last"), QStringLiteral("@%1").arg(pages.size()));
            const QString word = pair.section(u'@', 0, 0);
            QCOMPARE(QStringLiteral("%1@%2").arg(word).arg(pageOf(pages, word)), pair);
        }
        // Every row once, in order; the repeated rows on top of every page.
        QStringList seen;
        for (int page = 0; page < pages.size(); ++page) {
            const QStringList words = pages.at(page).split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
            if (repeated > 0 && page > 0)
                QCOMPARE(words.value(0), QStringLiteral("H"));
            for (const QString &word : words)
                if (word.startsWith(u'R'))
                    seen << word;
        }
        QCOMPARE(seen.size(), rows);
        for (int r = 1; r <= rows; ++r)
            QCOMPARE(seen.at(r - 1), QStringLiteral("R%1").arg(r));
    }

    // The foot of every page: its text and "Страница N из M".
    void footer()
    {
        PaperDocument doc = a4Landscape();
        doc.footer = QStringLiteral("Ветрал 4М-13 - таблица каналов");
        doc.blocks << numberedTable(80, 1);
        const QStringList pages = pageTexts(pdfOf(doc, QStringLiteral("footer")));
        QVERIFY(pages.size() >= 3);
        for (int page = 1; page <= pages.size(); ++page) {
            QVERIFY2(pages.at(page - 1).contains(QStringLiteral("Страница %1 из %2").arg(page).arg(pages.size())),
                     qPrintable(pages.at(page - 1)));
            QVERIFY(pages.at(page - 1).contains(doc.footer));
        }
    }

    // The channel sheet of a station: what a technician reads on it.
    void channelSheet_data()
    {
        QTest::addColumn<int>("channels");
        QTest::addColumn<QStringList>("edits");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QStringList>("texts"); // on the first page
        QTest::addColumn<QStringList>("absent");
        const QString legend = "РЕТР_ПР в столбце Tx: канал приема ретранслятора; РЕТР_ПП в столбце Rx: канал передачи "
                               "ретранслятора.";
        QTest::newRow("three channels") << 3 << QStringList{} << 1
                                        << QStringList{"Таблица каналов: Ветрал 4М-13 (144-174 МГц)",
                                                       "Модуль: Нет модуля",
                                                       "Каналов: 3",
                                                       "Файл: taxi.ini",
                                                       "Дата: 07.12.2026",
                                                       "Общие установки",
                                                       "Тон8=1989",
                                                       "СК=1",
                                                       "Ветрал 4М-13 - таблица каналов - taxi.ini - 07.12.2026",
                                                       "Страница 1 из 1",
                                                       "144500"}
                                        << QStringList{"[Общие установки]", "РЕТР_ПР"};
        QTest::newRow("repeater marks and boxes")
            << 3 << QStringList{"c:Tx:2=РЕТР_ПР", "c:Rx:3=РЕТР_ПП", "b:IdTone:1=1", "b:Scan:1=0"} << 1
            << QStringList{"РЕТР_ПР", "РЕТР_ПП", legend,
                           "1 144000 144000 Нет Нет Нет Нет Нет Нет 1 4 1 - 25 + Норм Нет +"}
            << QStringList{};
        QTest::newRow("99 channels") << 99 << QStringList{} << 3 << QStringList{"Каналов: 99", "Страница 1 из 3"}
                                     << QStringList{};
        QTest::newRow("400-486 MHz, module code from a file")
            << 2 << QStringList{} << 1 << QStringList{"Ветрал 4М-15 (400-486 Мгц)", "Модуль: код 9"} << QStringList{};
    }
    void channelSheet()
    {
        QFETCH(int, channels);
        QFETCH(QStringList, edits);
        QFETCH(int, pages);
        QFETCH(QStringList, texts);
        QFETCH(QStringList, absent);
        const bool band400 = QByteArray(QTest::currentDataTag()).startsWith("400");
        ChannelPlan state = sheetState(band400 ? StationKind::Band400_486 : StationKind::Band144_174, channels);
        if (band400)
            state.setModuleCode(9);
        CheckFixtures::applyEdits(state, edits);
        const QString pdf = pdfOf(ChannelSheet::build(state, kDate, QStringLiteral("taxi.ini")), "sheet");

        QCOMPARE(PdfText::pages(pdf), pages);
        const QString first = PdfText::text(pdf, 1).simplified();
        for (const QString &text : texts)
            QVERIFY2(first.contains(text), qPrintable(text + QStringLiteral("\n---\n") + first));
        for (const QString &text : absent)
            QVERIFY2(!first.contains(text), qPrintable(text));
        // Every page opens the table with its header and ends with its number.
        for (int page = 2; page <= pages; ++page) {
            const QString text = PdfText::text(pdf, page).simplified();
            QVERIFY2(text.startsWith(QStringLiteral("№ кан. Rx, кГц Tx, кГц CTC_Rx")), qPrintable(text));
            QVERIFY(text.contains(QStringLiteral("Страница %1 из %2").arg(page).arg(pages)));
        }
        // Every channel once: a frequency stands twice where Rx and Tx are one.
        const QStringList words = PdfText::words(PdfText::text(pdf));
        for (int row = 1; row <= channels; ++row) {
            const QString rx = state.table.cell(ChannelTable::Rx, row);
            if (rx.front().isDigit())
                QCOMPARE(words.count(rx), rx == state.table.cell(ChannelTable::Tx, row) ? 2 : 1);
        }
    }
};

QTEST_MAIN(TestPaperPainter)
#include "tst_paperpainter.moc"
