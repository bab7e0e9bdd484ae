// "Сравнить со станцией…" and "Сравнить с файлом…" in the window: the list of
// differences, a double-click that selects the cell, "Взять выбранное" as one
// step of the history, and a read that breaks off changing nothing.
#include "check/datacheck.h"
#include "compare/comparisondialog.h"
#include "compare/windowplacement.h"
#include "core/support/linkfixtures.h"
#include "files/channelfile.h"
#include "link/linktexts.h"
#include "main/channeltablemodel.h"
#include "mainwindowfixture.h"
#include "simulatedstation.h"

#include <QSignalSpy>

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTreeWidget>

using C = ChannelTable::Column;

namespace {

// A main window whose comparison reads the simulated station on COM1, a line
// in memory.
struct Rig
{
    MainWindowFixture f;
    QTemporaryDir dir;
    LinkFixtures::StationOnCom1 com1;

    static StationLineOptions lineOptions(bool answering)
    {
        StationLineOptions options;
        if (!answering)
            options.silentAfter = 0;
        return options;
    }

    explicit Rig(bool answering = true) : com1({}, lineOptions(answering))
    {
        f.ports.choose(1);
        ComparisonDialog *window = f.window->compareWindow();
        window->setOptionsFile(com1.options.path());
        window->setLinkFactory(LinkFixtures::testLinkFactory());
        window->setArchiveFolder(dir.filePath("archive"));
        // The station holds the template of 4 channels, as a write leaves it.
        f.makeTemplate("4", "146000", "1000");
        QVERIFY(f.state.check(dir.filePath("MyTemp.ini")).passed());
        const QByteArray write =
            QByteArray(1, char(SimulatedStation::WriteCommand)) + f.state.checkedStation().writeOrder();
        for (char byte : write)
            com1.station.onByte(std::uint8_t(byte), 0);
    }

    ComparisonDialog *window() const { return f.window->compareWindow(); }
    // "Читать и сравнить", and the read to its end when one begins.
    void readAndCompare() const
    {
        QSignalSpy ended(window(), &ComparisonDialog::readEnded);
        QTest::mouseClick(window()->findChild<QPushButton *>("ReadAndCompare"), Qt::LeftButton);
        if (window()->isReading())
            QVERIFY(ended.wait(20000));
    }
    QTreeWidget *list() const { return window()->list(); }
    QString count() const { return window()->findChild<QLabel *>("DifferenceCount")->text(); }
    QStringList rows() const
    {
        QStringList found;
        for (int i = 0; i < list()->topLevelItemCount(); ++i) {
            const QTreeWidgetItem *item = list()->topLevelItem(i);
            if (item->isHidden())
                continue;
            found.append(QStringList{item->text(0), item->text(1), item->text(2)}.join('|'));
        }
        return found;
    }
    // Typed into the settings text, as the user would.
    void setSetting(const QString &key, const QString &value)
    {
        QStringList lines = f.state.settingsLines;
        lines.replaceInStrings(QRegularExpression("^" + key + "=.*$"), key + "=" + value);
        f.widget<QPlainTextEdit>("Memo1")->setPlainText(SettingsText::toPlainText(lines));
    }
    int archived() const { return int(QDir(dir.filePath("archive")).entryList(QDir::Files).size()); }
};

} // namespace

class CompareTest : public QObject
{
    Q_OBJECT
private slots:
    void compareWithStation_data();
    void compareWithStation();
    void takeSelected_data();
    void takeSelected();
    void compareWithFile_data();
    void compareWithFile();
    void placedBesideMainWindow_data();
    void placedBesideMainWindow();
};

void CompareTest::compareWithStation_data()
{
    QTest::addColumn<bool>("answering");
    QTest::addColumn<QString>("volume");      // the settings line's new value, empty for none
    QTest::addColumn<QString>("volumeLater"); // typed while the window is open, before the read
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("status");
    QTest::addColumn<int>("gauge"); // at the end; it only counts up
    QTest::addColumn<QStringList>("messages");

    const QString refusedVolume = "Уровень громкости изм. 1-16";
    const QString idle = LinkTexts::idle();
    const QString none;
    QTest::newRow("station holds the table")
        << true << none << none << QStringList{} << "Нет различий" << idle << 100 << QStringList{};
    QTest::newRow("one setting changed") << true << "9" << none << QStringList{"Громкость|9|8"} << "Различий: 1" << idle
                                         << 100 << QStringList{};
    QTest::newRow("station silent") << false << none << none << QStringList{} << none << LinkTexts::noAnswer() << 0
                                    << QStringList{};
    QTest::newRow("table refused by the check")
        << true << "17" << none << QStringList{} << none << idle << 0 << QStringList{refusedVolume};
    QTest::newRow("setting changed after the window opened")
        << true << none << "9" << QStringList{"Громкость|9|8"} << "Различий: 1" << idle << 100 << QStringList{};
    QTest::newRow("refused by the check after the window opened")
        << true << none << "17" << QStringList{} << none << idle << 0 << QStringList{refusedVolume};
}

void CompareTest::compareWithStation()
{
    QFETCH(bool, answering);
    QFETCH(QString, volume);
    QFETCH(QString, volumeLater);
    QFETCH(QStringList, rows);
    QFETCH(QString, count);
    QFETCH(QString, status);
    QFETCH(int, gauge);
    QFETCH(QStringList, messages);

    Rig rig(answering);
    if (!volume.isEmpty())
        rig.setSetting("Громкость", volume);
    const ChannelTable tableBefore = rig.f.state.table;
    rig.f.ui.clear();
    rig.f.trigger("N25");
    if (rig.window()->isHidden()) {
        QCOMPARE(rig.f.ui.messages, messages);
        return;
    }
    // Each comparison checks the table as it is then, not as the window found it.
    if (!volumeLater.isEmpty())
        rig.setSetting("Громкость", volumeLater);
    auto *bar = rig.window()->findChild<QProgressBar *>("Gauge1");
    QSignalSpy shown(bar, &QProgressBar::valueChanged);
    rig.readAndCompare();
    QCOMPARE(bar->value(), gauge);
    for (qsizetype i = 1; i < shown.size(); ++i)
        QVERIFY2(shown.at(i).first().toInt() >= shown.at(i - 1).first().toInt(), qPrintable(QString::number(i)));
    QCOMPARE(rig.f.ui.messages, messages);
    QCOMPARE(rig.rows(), rows);
    QCOMPARE(rig.count(), count);
    QCOMPARE(rig.window()->findChild<QLabel *>("StaticText1")->text(), status);
    QCOMPARE(rig.archived(), answering && messages.isEmpty() ? 1 : 0);
    QVERIFY(rig.f.state.table == tableBefore);
}

void CompareTest::takeSelected_data()
{
    QTest::addColumn<QString>("changeSince"); // what the table went through after the comparison

    QTest::newRow("taken as one step") << "";
    QTest::newRow("a cell edited since") << "cell";
    QTest::newRow("a row removed since") << "row";
}

void CompareTest::takeSelected()
{
    QFETCH(QString, changeSince);
    Rig rig;
    rig.f.state.table.setCell(C::Rx, 3, "148500,00");
    rig.setSetting("Тон2", "800");
    rig.f.trigger("N25");
    rig.readAndCompare();
    QCOMPARE(rig.rows(), (QStringList{"Тон2|800|750", "строка 3, Rx, кГц|148500,00|148000,00"}));

    // A double-click on the cell's difference selects that cell.
    QTreeWidgetItem *cellItem = rig.list()->topLevelItem(1);
    emit rig.list()->itemDoubleClicked(cellItem, 0);
    auto *grid = rig.f.widget<QTableView>("StringGrid1");
    const QModelIndex current = grid->currentIndex();
    QCOMPARE(ChannelTableModel::tableRow(current), 3);
    QCOMPARE(current.column(), int(C::Rx));

    rig.list()->selectAll();
    auto *take = rig.window()->findChild<QPushButton *>("TakeSelected");
    QVERIFY(take->isEnabled());
    if (changeSince == "cell") {
        QVERIFY(rig.f.window->tableModel()->setData(current, "148250,00", Qt::EditRole));
    } else if (changeSince == "row") {
        grid->setCurrentIndex(rig.f.window->tableModel()->index(0, C::Sh));
        rig.f.trigger("TableRemoveRow");
    }
    if (!changeSince.isEmpty()) {
        // The list no longer says what the table holds: nothing is taken from it.
        QVERIFY2(rig.count().contains("устарел"), qPrintable(rig.count()));
        QVERIFY(!take->isEnabled());
        const ChannelTable changed = rig.f.state.table;
        const QStringList settings = rig.f.state.settingsLines;
        rig.f.ui.clear();
        rig.window()->takeSelected();
        QCOMPARE(rig.f.ui.messages.size(), 1);
        QVERIFY2(rig.f.ui.messages.first().contains("изменилась после сравнения"),
                 qPrintable(rig.f.ui.messages.first()));
        QVERIFY(rig.f.state.table == changed);
        QCOMPARE(rig.f.state.settingsLines, settings);
        return;
    }
    // Taken from the window in use, the focus goes back to the table, where Ctrl+Z undoes the take.
    rig.window()->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), rig.window());
    QTest::mouseClick(take, Qt::LeftButton);
    QTRY_COMPARE(QApplication::activeWindow(), rig.f.window.get());
    QCOMPARE(QApplication::focusWidget(), grid);
    QCOMPARE(rig.f.state.table.cell(C::Rx, 3), QString("148000,00"));
    QVERIFY(rig.f.state.settingsLines.contains("Тон2=750"));
    // The list shows what is left of the differences after the take.
    QCOMPARE(rig.rows(), QStringList{});
    QCOMPARE(rig.count(), QString("Нет различий"));

    rig.f.action("TableUndo")->trigger(); // Ctrl+Z of the table

    QCOMPARE(rig.f.state.table.cell(C::Rx, 3), QString("148500,00"));
    QVERIFY(rig.f.state.settingsLines.contains("Тон2=800"));
}

void CompareTest::compareWithFile_data()
{
    QTest::addColumn<QStringList>("fileSettings"); // lines of the file's settings text, set or added
    QTest::addColumn<QString>("fileShp2");         // "ШП" of the file's row 2; empty: the table's
    QTest::addColumn<bool>("hideTextOnly");
    QTest::addColumn<QStringList>("rows"); // those shown
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("serial");
    const QString noSerial = "В файле нет строки серийного номера";
    const QString same;

    QTest::newRow("a cell differs") << QStringList{} << "3" << false << QStringList{"строка 2, ШП|1|3"} << "Различий: 1"
                                    << noSerial;
    // A station would hold the same bytes: counted apart, and hidden on demand.
    QTest::newRow("spelling only") << QStringList{"Тон1=705"} << same << false << QStringList{"Тон1|700|705"}
                                   << "Нет различий в станции; только в тексте: 1" << noSerial;
    QTest::newRow("spelling hidden") << QStringList{"Тон1=705"} << "3" << true << QStringList{"строка 2, ШП|1|3"}
                                     << "Различий: 1; только в тексте: 1" << noSerial;
    QTest::newRow("the file names its serial number")
        << QStringList{"Серийный номер=0A12F3"} << same << false << QStringList{} << "Нет различий"
        << "Серийный номер в файле: 0A12F3 (не сравнивается)";
}

void CompareTest::compareWithFile()
{
    QFETCH(QStringList, fileSettings);
    QFETCH(QString, fileShp2);
    QFETCH(bool, hideTextOnly);
    QFETCH(QStringList, rows);
    QFETCH(QString, count);
    QFETCH(QString, serial);
    Rig rig;
    ChannelPlan other = rig.f.state;
    for (const QString &line : fileSettings) {
        const qsizetype at = other.settingsLines.indexOf(QRegularExpression("^" + line.section(u'=', 0, 0) + "="));
        if (at < 0)
            other.settingsLines.insert(1, line);
        else
            other.settingsLines[at] = line;
    }
    if (!fileShp2.isEmpty())
        other.table.setCell(C::Sh, 2, fileShp2);
    const QString path = rig.dir.filePath("other.ini");
    QVERIFY(!ChannelFile::save(other, path));
    rig.f.ui.nextOpenName = path;
    auto *hide = rig.window()->findChild<QCheckBox *>("HideTextOnly");
    QVERIFY(hide);
    hide->setChecked(hideTextOnly);
    rig.f.trigger("N24");
    QCOMPARE(rig.list()->headerItem()->text(2), QString("в файле"));
    QCOMPARE(rig.rows(), rows);
    QCOMPARE(rig.count(), count);
    QCOMPARE(rig.window()->findChild<QLabel *>("Serial")->text(), serial);
    QCOMPARE(rig.archived(), 0);
}

void CompareTest::placedBesideMainWindow_data()
{
    // Frames in screen coordinates; the window would like 640 × 420 and
    // needs 480 × 300 at least.
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QRect>("mainWindow");
    QTest::addColumn<QRect>("mainAfter");
    QTest::addColumn<QRect>("window");

    QTest::newRow("room on the right") << QRect(0, 0, 1920, 1040) << QRect(100, 100, 800, 450)
                                       << QRect(100, 100, 800, 450) << QRect(908, 100, 640, 420);
    QTest::newRow("room on the left only") << QRect(0, 0, 1920, 1040) << QRect(1000, 100, 800, 450)
                                           << QRect(1000, 100, 800, 450) << QRect(352, 100, 640, 420);
    QTest::newRow("room below only") << QRect(0, 0, 1080, 1900) << QRect(140, 100, 800, 450)
                                     << QRect(140, 100, 800, 450) << QRect(140, 558, 640, 420);
    // Centred on a laptop's screen there is room on no side; side by side there is.
    QTest::newRow("the main window moves aside")
        << QRect(0, 0, 1366, 740) << QRect(284, 153, 797, 434) << QRect(0, 153, 797, 434) << QRect(805, 153, 561, 420);
    QTest::newRow("one above the other") << QRect(0, 0, 1024, 768) << QRect(113, 153, 797, 434)
                                         << QRect(113, 0, 797, 434) << QRect(113, 442, 640, 326);
    QTest::newRow("no room at all") << QRect(0, 0, 800, 600) << QRect(0, 0, 797, 434) << QRect(0, 0, 797, 434)
                                    << QRect(160, 0, 640, 420);
}

void CompareTest::placedBesideMainWindow()
{
    QFETCH(QRect, available);
    QFETCH(QRect, mainWindow);
    QFETCH(QRect, mainAfter);
    QFETCH(QRect, window);
    const WindowPlacement::Placement placed =
        WindowPlacement::beside(mainWindow, QSize(640, 420), QSize(480, 300), available);
    QCOMPARE(placed.anchor, mainAfter);
    QCOMPARE(placed.window, window);
}

QTEST_MAIN(CompareTest)
#include "tst_compare.moc"
