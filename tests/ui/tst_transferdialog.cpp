#include "check/datacheck.h"
#include "compare/tformcompare.h"
#include "files/channelfile.h"
#include "files/readarchive.h"
#include "core/support/linkfixtures.h"
#include "link/linktexts.h"
#include "mainwindowfixture.h"
#include "simulatedstation.h"
#include "stationline.h"
#include "report/tformprotokol.h"
#include "transfer/tform1.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include "main/channeltablemodel.h"
#include <QProgressBar>
#include <QTableView>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>

// The transfer dialog on a real pseudo-terminal with the simulated station.
class TransferDialogTest : public QObject
{
    Q_OBJECT
private slots:
    void optionsFileOnFirstOpening_data();
    void optionsFileOnFirstOpening();
    void portChoiceShownEverywhere_data();
    void portChoiceShownEverywhere();
    void writeRefusedWhenUnchecked();
    void writeThroughDialog();
    void stationFallsSilentInTheToneTable();
    void promptCancelled();
    void searchFindsStationOnCom3();
    void mainWindowStaysOpenDuringTransfer();
    void frameCloseActsAsExit_data();
    void frameCloseActsAsExit();
    void readShowsStationInMainWindow();
    void undoOfBrokenReadRestoresSettingsText();

private:
    struct Rig
    {
        MainWindowFixture f;
        LinkFixtures::OptionsFile options;
        QTemporaryDir dir;
        std::unique_ptr<TForm1> dialog;
        Rig()
        {
            dialog = std::make_unique<TForm1>(f.state, f.ui, f.ports);
            dialog->setOptionsFile(options.path());
            dialog->setArchiveFolder(archive());
        }
        void check(int channels)
        {
            f.makeTemplate(QString::number(channels), "140000", "1000");
            QVERIFY(f.state.check(dir.filePath("MyTemp.ini")).passed());
        }
        QString archive() const { return dir.filePath("archive"); }
        QPushButton *button(const char *name) const { return dialog->findChild<QPushButton *>(name); }
        QString status() const { return dialog->findChild<QLabel *>("StaticText1")->text(); }
        int gauge() const { return dialog->findChild<QProgressBar *>("Gauge1")->value(); }
        bool buttonsEnabled() const
        {
            return button("BitBtn1")->isEnabled() && button("BitBtn2")->isEnabled() && button("BitBtn3")->isEnabled();
        }
    };
};

void TransferDialogTest::optionsFileOnFirstOpening_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("port");
    QTest::newRow("no file") << QStringList() << 2;
    QTest::newRow("Port=1") << QStringList{"[All]", "Port=1"} << 1;
    QTest::newRow("Port=5") << QStringList{"[All]", "Port=5"} << 1;
    QTest::newRow("Port=0") << QStringList{"[All]", "Port=0"} << 1;
    QTest::newRow("Port=2") << QStringList{"[all]", "port=2"} << 2;
    QTest::newRow("not a number") << QStringList{"[All]", "Port=two"} << 2;
}

void TransferDialogTest::optionsFileOnFirstOpening()
{
    QFETCH(QStringList, lines);
    QFETCH(int, port);
    Rig rig;
    if (!lines.isEmpty())
        rig.options.write(lines);
    rig.dialog->openForTransfer();
    QCOMPARE(int(rig.f.state.portNumber), port);
    QCOMPARE(rig.dialog->radioButton1()->isChecked(), port == 1);
    QCOMPARE(rig.dialog->radioButton2()->isChecked(), port == 2);
    QVERIFY(rig.dialog->isVisible());
    QVERIFY(rig.f.ui.messages.isEmpty());
}

void TransferDialogTest::portChoiceShownEverywhere_data()
{
    QTest::addColumn<QString>("chosenIn"); // the window whose " COM1" is clicked
    QTest::addColumn<bool>("reopened");    // both windows hidden and opened again after the choice
    QTest::newRow("transfer dialog, opened again") << "transfer" << true;
    QTest::newRow("transfer dialog, comparison window open") << "transfer" << false;
    QTest::newRow("comparison window, transfer dialog open") << "compare" << false;
    QTest::newRow("comparison window, both opened again") << "compare" << true;
}

void TransferDialogTest::portChoiceShownEverywhere()
{
    // One port for every transfer, whichever window chose it: a window that
    // showed another would write to a station the user did not mean.
    QFETCH(QString, chosenIn);
    QFETCH(bool, reopened);
    Rig rig;
    rig.options.write({"[All]", "Port=2"});
    rig.dialog->openForTransfer();
    TFormCompare *compare = rig.f.window->compareWindow();
    compare->setOptionsFile(rig.options.path());
    compare->openForStation();
    const QList<QWidget *> windows{rig.dialog.get(), compare};
    for (QWidget *window : windows)
        QVERIFY(window->findChild<QRadioButton *>("RadioButton2")->isChecked());

    QWidget *chooser = chosenIn == "transfer" ? windows.first() : windows.last();
    QTest::mouseClick(chooser->findChild<QRadioButton *>("RadioButton1"), Qt::LeftButton, {}, QPoint(5, 10));
    QCOMPARE(int(rig.f.state.portNumber), 1);
    if (reopened) {
        rig.dialog->hide();
        compare->hide();
        rig.dialog->openForTransfer();
        compare->openForStation();
    }
    QCOMPARE(int(rig.f.state.portNumber), 1);
    for (QWidget *window : windows) {
        QVERIFY2(window->findChild<QRadioButton *>("RadioButton1")->isChecked(), qPrintable(window->objectName()));
        QVERIFY2(!window->findChild<QRadioButton *>("RadioButton2")->isChecked(), qPrintable(window->objectName()));
    }
}

void TransferDialogTest::writeRefusedWhenUnchecked()
{
    Rig rig;
    auto log = std::make_shared<QStringList>();
    rig.dialog->setLinkFactory(LinkFixtures::loggingFactory(log));
    rig.f.state.portNumber = 1;
    QTest::mouseClick(rig.button("BitBtn2"), Qt::LeftButton);
    QCOMPARE(rig.f.ui.messages, QStringList{LinkTexts::dataNotChecked()});
    QVERIFY(log->isEmpty());
    QCOMPARE(rig.status(), LinkTexts::idle());
}

void TransferDialogTest::writeThroughDialog()
{
    Rig rig;
    rig.check(8);
    SimulatedStation station;
    StationLine line([&](std::uint8_t b) { return station.onByte(b, 0); });
    line.start();
    rig.options.writePorts({{1, line.devicePath()}});
    rig.f.state.portNumber = 1;
    rig.f.ui.clear();
    QTest::mouseClick(rig.button("BitBtn2"), Qt::LeftButton);
    QVERIFY2(rig.f.ui.messages.isEmpty(), qPrintable(rig.f.ui.messages.join('\n')));
    line.stop();
    const QByteArray expected =
        QByteArray(1, char(20)) + rig.f.state.image.writeOrder(rig.f.state.moduleCode, rig.f.state.bandCode);
    QCOMPARE(line.received(), expected);
    QCOMPARE(expected.size(), 26 + 18 * 8);
    QCOMPARE(rig.status(), LinkTexts::idle());
    QCOMPARE(rig.gauge(), 100);
    QVERIFY(rig.buttonsEnabled());
    QVERIFY(!rig.f.state.transferRunning);
    QVERIFY(rig.f.state.dataValid);
}

void TransferDialogTest::stationFallsSilentInTheToneTable()
{
    Rig rig;
    rig.check(2);
    SimulatedStation station;
    StationLine line([&](std::uint8_t b) { return station.onByte(b, 0); }, StationLineOptions{0, 1 + 5 + 4, false});
    line.start();
    rig.options.writePorts({{1, line.devicePath()}});
    rig.f.state.portNumber = 1;
    rig.f.ui.clear();
    const auto *advice = rig.dialog->findChild<QLabel *>("AdviceText");
    QVERIFY(advice->text().isEmpty());
    rig.button("BitBtn2")->click();
    line.stop();
    QCOMPARE(rig.status(), LinkTexts::noAnswer());
    QCOMPARE(advice->text(), LinkTexts::noAnswerAdvice());
    QVERIFY(!advice->isHidden());
    QVERIFY(rig.dialog->rect().contains(advice->geometry()));
    QVERIFY(advice->height() >= advice->heightForWidth(advice->width())); // the whole advice is seen
    QCOMPARE(rig.gauge(), 33);
    QVERIFY(rig.buttonsEnabled());
    QCOMPARE(rig.f.ui.messages.size(), 1); // the closed port's error, through the guard
    QVERIFY(!rig.f.state.transferRunning);
}

void TransferDialogTest::promptCancelled()
{
    Rig rig;
    rig.check(1);
    // A device the prompt offers is not opened to be listed.
    StationLine com3([](std::uint8_t) { return QByteArray(); });
    rig.options.writePorts({{3, com3.devicePath()}});
    auto log = std::make_shared<QStringList>();
    rig.dialog->setLinkFactory(LinkFixtures::loggingFactory(log));
    rig.f.state.portNumber = 0;
    rig.f.ui.clear();
    rig.f.ui.nextPort.reset();
    rig.button("BitBtn2")->click();
    QCOMPARE(rig.f.ui.portPrompts.size(), 1);
    QVERIFY(rig.f.ui.portPrompts.first().contains(PortEntry{"COM3", com3.devicePath()}));
    QVERIFY2(log->isEmpty(), qPrintable(log->join(' ')));
    QCOMPARE(rig.f.ui.messages.size(), 1);
    QCOMPARE(int(rig.f.state.portNumber), 0);
    QVERIFY(rig.buttonsEnabled());
    QCOMPARE(rig.status(), LinkTexts::idle());
}

void TransferDialogTest::searchFindsStationOnCom3()
{
    Rig rig;
    SimulatedStation s1, s2, s3;
    StationLine com1([&](std::uint8_t b) { return s1.onByte(b, 0); }, StationLineOptions{0, 0, false});
    StationLine com2([&](std::uint8_t b) { return s2.onByte(b, 0); }, StationLineOptions{0, 0, false});
    StationLine com3([&](std::uint8_t b) { return s3.onByte(b, 0); });
    StationLine com4([&](std::uint8_t b) { return s3.onByte(b, 0); });
    for (StationLine *l : {&com1, &com2, &com3, &com4})
        l->start();
    rig.options.writePorts(
        {{1, com1.devicePath()}, {2, com2.devicePath()}, {3, com3.devicePath()}, {4, com4.devicePath()}});
    rig.dialog->setSearchTimings(PortSearchTimings{20, 20, 101});
    rig.f.ports.choose(2);
    TFormCompare *compare = rig.f.window->compareWindow();
    compare->openForStation();
    rig.button("BitBtn4")->click();
    for (StationLine *l : {&com1, &com2, &com3})
        l->waitForReceived(2, 2000);
    for (StationLine *l : {&com1, &com2, &com3, &com4})
        l->stop();
    QCOMPARE(int(rig.f.state.portNumber), 3);
    QCOMPARE(rig.button("BitBtn4")->text(), LinkTexts::searchFound());
    QVERIFY(!rig.dialog->radioButton1()->isChecked());
    QVERIFY(!rig.dialog->radioButton2()->isChecked());
    QVERIFY(!compare->findChild<QRadioButton *>("RadioButton2")->isChecked()); // no button stands for COM3
    QCOMPARE(com1.received(), QByteArray("\xAF\x05"));
    QCOMPARE(com2.received(), QByteArray("\xAF\x05"));
    QCOMPARE(com3.received(), QByteArray("\xAF\x05"));
    QVERIFY(com4.received().isEmpty());
    QVERIFY(rig.f.ui.messages.isEmpty());
}

void TransferDialogTest::mainWindowStaysOpenDuringTransfer()
{
    Rig rig;
    rig.f.state.transferRunning = true;
    QCloseEvent refused;
    QApplication::sendEvent(rig.f.window.get(), &refused);
    QVERIFY(!refused.isAccepted());
    rig.f.state.transferRunning = false;
    QCloseEvent accepted;
    QApplication::sendEvent(rig.f.window.get(), &accepted);
    QVERIFY(accepted.isAccepted());
}

void TransferDialogTest::frameCloseActsAsExit_data()
{
    QTest::addColumn<bool>("report"); // the report dialog, else the transfer dialog
    QTest::addColumn<bool>("transferRunning");
    QTest::addColumn<bool>("exits");
    QTest::newRow("transfer dialog") << false << false << true;
    QTest::newRow("transfer dialog during a transfer") << false << true << false;
    QTest::newRow("report dialog") << true << false << true;
}

void TransferDialogTest::frameCloseActsAsExit()
{
    // The frame's close button and Alt+F4: the main window must not stay
    // minimised behind a closed dialog.
    QFETCH(bool, report);
    QFETCH(bool, transferRunning);
    QFETCH(bool, exits);
    Rig rig;
    TFormProtokol protokol(rig.f.state, rig.f.ui);
    QWidget *dialog = report ? static_cast<QWidget *>(&protokol) : rig.dialog.get();
    QSignalSpy exit(dialog, SIGNAL(exitRequested()));
    QObject::connect(rig.dialog.get(), &TForm1::exitRequested, rig.f.window.get(), &TFormMain::restoreAfterTransfer);
    QObject::connect(&protokol, &TFormProtokol::exitRequested, rig.f.window.get(), &TFormMain::restoreNormal);
    rig.f.window->showMinimized();
    dialog->show();
    rig.f.state.transferRunning = transferRunning;
    dialog->close();
    QCOMPARE(exit.size(), exits ? 1 : 0);
    QCOMPARE(dialog->isVisible(), !exits);
    QCOMPARE(bool(rig.f.window->windowState() & Qt::WindowMinimized), !exits);
    rig.f.state.transferRunning = false;
}

void TransferDialogTest::readShowsStationInMainWindow()
{
    SimulatedStation station;
    StationLine line([&](std::uint8_t b) { return station.onByte(b, 0); });
    line.start();
    {
        Rig writer;
        writer.f.trigger("N3062");
        writer.f.makeTemplate("3", "30000", "12,5");
        QVERIFY(writer.f.state.check(writer.dir.filePath("MyTemp.ini")).passed());
        writer.options.writePorts({{1, line.devicePath()}});
        writer.f.state.portNumber = 1;
        writer.button("BitBtn2")->click();
        QCOMPARE(writer.status(), LinkTexts::idle());
    }
    Rig rig;
    rig.dialog->setReadObserver(rig.f.window.get());
    rig.options.writePorts({{1, line.devicePath()}});
    rig.f.state.portNumber = 1;
    rig.f.ui.clear();
    // The views hear of each change of the table's shape before it is made.
    QList<int> rowsBeforeReset;
    connect(rig.f.window->tableModel(), &QAbstractItemModel::modelAboutToBeReset, this,
            [&] { rowsBeforeReset << rig.f.window->tableModel()->rowCount(); });
    rig.button("BitBtn3")->click();
    line.stop();
    QVERIFY2(rig.f.ui.messages.isEmpty(), qPrintable(rig.f.ui.messages.join('\n')));
    QVERIFY(!rowsBeforeReset.isEmpty());
    QCOMPARE(rowsBeforeReset.first(), 10);
    QCOMPARE(rig.status(), LinkTexts::idle());
    QCOMPARE(rig.gauge(), 0);
    QVERIFY(rig.buttonsEnabled());
    QVERIFY(!rig.f.state.dataValid);
    QCOMPARE(rig.f.window->windowTitle(), QStringLiteral("Ветрал 4М-11"));
    QVERIFY(rig.f.action("N3062")->isChecked());
    const QStringList memo = rig.f.widget<QPlainTextEdit>("Memo1")->toPlainText().split('\n');
    QCOMPARE(memo.size(), 27);
    QCOMPARE(memo.at(10), QStringLiteral("Тон8=1990"));
    QCOMPARE(memo.last(), QStringLiteral("СК=1"));
    QCOMPARE(rig.f.window->tableModel()->rowCount(), 3);
    QCOMPARE(rig.f.window->tableModel()->index(2, ChannelTable::Tx).data().toString(), QStringLiteral("30025,00"));
    QVERIFY(rig.f.isShown("StringGrid1"));
    QVERIFY(!rig.f.isShown("Panel1")); // shown again by the dialog's "Выход"
    rig.dialog->hide();
    rig.f.window->restoreAfterTransfer();
    QVERIFY(rig.f.isShown("Panel1"));
    QVERIFY(rig.f.isShown("Memo1"));

    // The complete read left its copy; a copy that cannot be made is told, the read stands.
    const QStringList copies = QDir(rig.archive()).entryList(QDir::Files);
    QCOMPARE(copies.size(), 1);
    QCOMPARE(QFileInfo(QDir(rig.archive()).filePath(copies.at(0))).size(), ChannelFile::encode(rig.f.state).size());
    rig.dialog->setArchiveFolder(QDir(rig.archive()).filePath(copies.at(0)));
    line.start();
    rig.button("BitBtn3")->click();
    line.stop();
    QCOMPARE(rig.f.ui.messages.size(), 1);
    QVERIFY(rig.f.ui.messages.at(0).startsWith(ReadArchive::failureMessage(QString())));
    QCOMPARE(rig.status(), LinkTexts::idle());
}

void TransferDialogTest::undoOfBrokenReadRestoresSettingsText()
{
    Rig rig;
    rig.f.makeTemplate("3", "140000", "1000");
    auto *memo = rig.f.widget<QPlainTextEdit>("Memo1");
    memo->appendPlainText("Заметка=1"); // typed by the user before the read
    const QStringList lines = rig.f.state.settingsLines;
    const ChannelTable table = rig.f.state.table;
    SimulatedStation station;
    StationLine line([&](std::uint8_t b) { return station.onByte(b, 0); }, StationLineOptions{0, 0, false});
    line.start();
    rig.options.writePorts({{1, line.devicePath()}});
    rig.f.state.portNumber = 1;
    rig.dialog->setReadObserver(rig.f.window.get());
    rig.button("BitBtn3")->click();
    line.stop();
    QCOMPARE(rig.status(), LinkTexts::noAnswer());
    QCOMPARE(memo->toPlainText(), QStringLiteral("[Общие установки]"));

    rig.dialog->hide();
    rig.f.window->restoreAfterTransfer();
    QApplication::setActiveWindow(rig.f.window.get());
    auto *grid = rig.f.widget<QTableView>("StringGrid1");
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(rig.f.state.settingsLines, lines);
    QCOMPARE(memo->toPlainText(), lines.join(u'\n'));
    QVERIFY(rig.f.state.table == table);
    QTest::keyClick(grid, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(memo->toPlainText(), QStringLiteral("[Общие установки]"));
}

QTEST_MAIN(TransferDialogTest)
#include "tst_transferdialog.moc"
