// The transfer dialog with the simulated station on a line in memory: the
// port it uses, a write (and its check by reading back), a read shown in
// the main window, the search, and closing it.
#include "compare/comparisondialog.h"
#include "files/channelfile.h"
#include "files/readarchive.h"
#include "link/linktexts.h"
#include "main/channeltablemodel.h"
#include "report/reportdialog.h"
#include "simulatedstation.h"
#include "transferfixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>

using LinkFixtures::TestLine;

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
    void writeVerified_data();
    void writeVerified();
    void stationFallsSilentInTheToneTable();
    void portPrompt_data();
    void portPrompt();
    void searchFindsStationOnCom3();
    void mainWindowStaysOpenDuringTransfer();
    void frameCloseActsAsExit_data();
    void frameCloseActsAsExit();
    void readShowsStationInMainWindow();
    void undoOfBrokenReadRestoresSettingsText();
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
    TransferRig rig;
    if (!lines.isEmpty())
        rig.options.write(lines);
    rig.dialog->openForTransfer();
    QCOMPARE(int(rig.f.ports.port()), port);
    QCOMPARE(rig.dialog->com1Button()->isChecked(), port == 1);
    QCOMPARE(rig.dialog->com2Button()->isChecked(), port == 2);
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
    TransferRig rig;
    rig.options.write({"[All]", "Port=2"});
    rig.dialog->openForTransfer();
    ComparisonDialog *compare = rig.f.window->compareWindow();
    compare->setOptionsFile(rig.options.path());
    compare->openForStation();
    const QList<QWidget *> windows{rig.dialog.get(), compare};
    for (QWidget *window : windows)
        QVERIFY(window->findChild<QRadioButton *>("RadioButton2")->isChecked());

    QWidget *chooser = chosenIn == "transfer" ? windows.first() : windows.last();
    QTest::mouseClick(chooser->findChild<QRadioButton *>("RadioButton1"), Qt::LeftButton, {}, QPoint(5, 10));
    QCOMPARE(int(rig.f.ports.port()), 1);
    if (reopened) {
        rig.dialog->hide();
        compare->hide();
        rig.dialog->openForTransfer();
        compare->openForStation();
    }
    QCOMPARE(int(rig.f.ports.port()), 1);
    for (QWidget *window : windows) {
        QVERIFY2(window->findChild<QRadioButton *>("RadioButton1")->isChecked(), qPrintable(window->objectName()));
        QVERIFY2(!window->findChild<QRadioButton *>("RadioButton2")->isChecked(), qPrintable(window->objectName()));
    }
}

void TransferDialogTest::writeRefusedWhenUnchecked()
{
    TransferRig rig;
    auto log = std::make_shared<QStringList>();
    rig.dialog->setLinkFactory(LinkFixtures::loggingFactory(log));
    rig.f.ports.choose(1);
    QTest::mouseClick(rig.button("BitBtn2"), Qt::LeftButton);
    QCOMPARE(rig.f.ui.messages, QStringList{LinkTexts::dataNotChecked()});
    QVERIFY(log->isEmpty());
    QCOMPARE(rig.status(), LinkTexts::idle());
    QVERIFY(!rig.dialog->isTransferRunning());
}

void TransferDialogTest::writeThroughDialog()
{
    TransferRig rig;
    rig.check(8);
    SimulatedStation station;
    TestLine line([&](std::uint8_t b) { return station.onByte(b, 0); });
    rig.useCom1(line);
    rig.f.ui.clear();
    QVERIFY(rig.run("BitBtn2"));
    QVERIFY2(rig.f.ui.messages.isEmpty(), qPrintable(rig.f.ui.messages.join('\n')));
    const QByteArray expected = QByteArray(1, char(20)) + rig.f.state.checkedStation().writeOrder();
    QCOMPARE(line.received(), expected);
    QCOMPARE(expected.size(), 26 + 18 * 8);
    QCOMPARE(rig.status(), LinkTexts::idle());
    QCOMPARE(rig.gauge(), 100);
    // Said beside the status, with the time the write took: "Записано за 3,2 с".
    const QString written = rig.dialog->findChild<QLabel *>("AdviceText")->text();
    QVERIFY2(QRegularExpression("^Записано за \\d+,\\d с$").match(written).hasMatch(), qPrintable(written));
    // The write's trace is kept, and "Журнал обмена…" shows it and saves a copy.
    QVERIFY(rig.button("TraceButton")->isEnabled());
    rig.f.ui.nextSaveName = rig.dir.filePath("копия журнала.txt");
    QString shown;
    QTimer::singleShot(0, [&] {
        if (auto *trace = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
            shown = trace->findChild<QPlainTextEdit *>("TraceText")->toPlainText();
            trace->findChild<QPushButton *>("SaveTrace")->click();
            trace->reject();
        }
    });
    rig.button("TraceButton")->click();
    QVERIFY2(shown.contains(QRegularExpression("\nИтог: выполнено\n(.|\n)* мс  ->  стартовый байт +14\n")),
             qPrintable(shown));
    QFile kept(shown.section('\n', 0, 0).section("Файл: ", 1)), copy(rig.f.ui.nextSaveName);
    QVERIFY(kept.open(QIODevice::ReadOnly) && copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), kept.readAll());
    QVERIFY(rig.buttonsEnabled());
    QVERIFY(!rig.f.ports.transferRunning());
    QVERIFY(rig.f.state.dataValid);
}

void TransferDialogTest::writeVerified_data()
{
    // "Проверить чтением после записи": off, the bytes on the line are the
    // write's alone; on, the write is read back and compared, and the
    // dialog says what it found. The choice is kept for the next run.
    QTest::addColumn<bool>("verify");
    QTest::addColumn<QString>("station"); // "holds", "alters" a byte of the reply, "silent" after the write
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("advice"); // its start
    QTest::newRow("off") << false << "holds"
                         << "- -"
                         << "";
    QTest::newRow("on") << true << "holds"
                        << "- -"
                        << "Записано и проверено";
    QTest::newRow("on, the station holds another volume")
        << true << "alters"
        << "- -"
        << "Станция хранит не то, что записано: Громкость: записано 08, прочитано 09";
    QTest::newRow("on, no answer to the reading back")
        << true << "silent"
        << "AK"
        << "Данные записаны в станцию, но прочитать их для сверки не удалось: станция не отвечает (AK).";
}

void TransferDialogTest::writeVerified()
{
    QFETCH(bool, verify);
    QFETCH(QString, station);
    QFETCH(QString, status);
    QFETCH(QString, advice);
    const int written = 26 + 18 * 2;
    SimulatedStation memory;
    StationLineOptions options;
    options.silentAfter = station == "silent" ? written : -1;
    TestLine line(
        [&](std::uint8_t b) {
            QByteArray answer = memory.onByte(b, 0);
            if (station == "alters" && b == 30)
                answer[4] = char(answer.at(4) + 1); // the volume of the reply
            return answer;
        },
        options);
    {
        TransferRig rig;
        rig.check(2);
        rig.useCom1(line);
        rig.dialog->findChild<QCheckBox *>("VerifyAfterWrite")->setChecked(verify);
        QVERIFY(rig.run("BitBtn2"));
        QCOMPARE(line.received().size(), verify ? written + 1 : written);
        QCOMPARE(memory.completedWrites(), 1);
        QCOMPARE(rig.status(), status);
        QCOMPARE(rig.advice().left(advice.size()), advice);
        QVERIFY(rig.buttonsEnabled());
        QVERIFY(rig.f.ui.messages.isEmpty());

        // Remembered with the window's settings.
        TransferDialog again(rig.f.state, rig.f.ui, rig.f.ports);
        again.setSettingsFile(rig.dir.filePath("vetral-window.ini"));
        QCOMPARE(again.findChild<QCheckBox *>("VerifyAfterWrite")->isChecked(), verify);
    }
}

void TransferDialogTest::stationFallsSilentInTheToneTable()
{
    TransferRig rig;
    rig.check(2);
    SimulatedStation station;
    StationLineOptions silentInTones;
    silentInTones.silentAfter = 1 + 5 + 4;
    TestLine line([&](std::uint8_t b) { return station.onByte(b, 0); }, silentInTones);
    rig.useCom1(line);
    rig.f.ui.clear();
    const auto *advice = rig.dialog->findChild<QLabel *>("AdviceText");
    QVERIFY(advice->text().isEmpty());
    QVERIFY(rig.run("BitBtn2"));
    QCOMPARE(rig.status(), LinkTexts::noAnswer());
    QCOMPARE(advice->text(), LinkTexts::noAnswerAdvice());
    QVERIFY(!advice->isHidden());
    QVERIFY(rig.dialog->rect().contains(advice->geometry()));
    QVERIFY(advice->height() >= advice->heightForWidth(advice->width())); // the whole advice is seen
    QCOMPARE(rig.gauge(), 33);
    QVERIFY(rig.buttonsEnabled());
    QCOMPARE(rig.f.ui.messages, QStringList{SerialErrors::notOpen()}); // the closed port, through the guard
    QVERIFY(!rig.f.ports.transferRunning());
}

void TransferDialogTest::portPrompt_data()
{
    // No port chosen: the prompt asks, on the window's thread, before anything
    // starts; the choice holds for this transfer only.
    QTest::addColumn<bool>("answered");
    QTest::newRow("cancelled") << false;
    QTest::newRow("COM3 chosen") << true;
}

void TransferDialogTest::portPrompt()
{
    QFETCH(bool, answered);
    TransferRig rig;
    rig.check(1);
    SimulatedStation station;
    TestLine com3([&](std::uint8_t b) { return station.onByte(b, 0); });
    rig.options.writePorts({{3, com3.devicePath()}});
    auto log = std::make_shared<QStringList>();
    rig.dialog->setLinkFactory(LinkFixtures::loggingFactory(log));
    rig.f.ports.choose(0);
    rig.f.ui.clear();
    if (answered)
        rig.f.ui.nextPort = PortEntry{"COM3", com3.devicePath()};
    else
        rig.f.ui.nextPort.reset();
    if (answered)
        QVERIFY(rig.run("BitBtn2"));
    else
        rig.button("BitBtn2")->click();
    QCOMPARE(rig.f.ui.portPrompts.size(), 1);
    // A device the prompt offers is not opened to be listed.
    QCOMPARE(*log, answered ? QStringList{com3.devicePath()} : QStringList{});
    QCOMPARE(rig.f.ui.messages, answered ? QStringList{} : QStringList{SerialErrors::noPortChosen()});
    QCOMPARE(com3.received().size(), answered ? 26 + 18 : 0);
    QCOMPARE(int(rig.f.ports.port()), 0);
    QVERIFY(rig.buttonsEnabled());
    QCOMPARE(rig.status(), LinkTexts::idle());
}

void TransferDialogTest::searchFindsStationOnCom3()
{
    TransferRig rig;
    SimulatedStation s1, s2, s3;
    StationLineOptions silent;
    silent.silentAfter = 0;
    TestLine com1([&](std::uint8_t b) { return s1.onByte(b, 0); }, silent);
    TestLine com2([&](std::uint8_t b) { return s2.onByte(b, 0); }, silent);
    TestLine com3([&](std::uint8_t b) { return s3.onByte(b, 0); });
    TestLine com4([&](std::uint8_t b) { return s3.onByte(b, 0); });
    rig.options.writePorts(
        {{1, com1.devicePath()}, {2, com2.devicePath()}, {3, com3.devicePath()}, {4, com4.devicePath()}});
    rig.f.ports.choose(2);
    ComparisonDialog *compare = rig.f.window->compareWindow();
    compare->openForStation();
    QVERIFY(rig.run("BitBtn4"));
    QCOMPARE(int(rig.f.ports.port()), 3);
    QCOMPARE(rig.button("BitBtn4")->text(), LinkTexts::searchFound());
    // The buttons stay unchecked: a line says where the station is.
    const auto *found = rig.dialog->findChild<QLabel *>("FoundPort");
    QVERIFY(found);
    QCOMPARE(found->text(), "COM3 — " + com3.devicePath());
    QVERIFY(!rig.dialog->com1Button()->isChecked());
    QVERIFY(!rig.dialog->com2Button()->isChecked());
    QVERIFY(!compare->findChild<QRadioButton *>("RadioButton2")->isChecked()); // no button stands for COM3
    QCOMPARE(com1.received(), QByteArray("\xAF\x05"));
    QCOMPARE(com2.received(), QByteArray("\xAF\x05"));
    QCOMPARE(com3.received(), QByteArray("\xAF\x05"));
    QVERIFY(com4.received().isEmpty());
    QVERIFY(rig.f.ui.messages.isEmpty());
}

void TransferDialogTest::mainWindowStaysOpenDuringTransfer()
{
    TransferRig rig;
    rig.f.ports.setTransferRunning(true);
    QCloseEvent refused;
    QApplication::sendEvent(rig.f.window.get(), &refused);
    QVERIFY(!refused.isAccepted());
    rig.f.ports.setTransferRunning(false);
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
    TransferRig rig;
    ReportDialog protokol(rig.f.state, rig.f.ui);
    QWidget *dialog = report ? static_cast<QWidget *>(&protokol) : rig.dialog.get();
    QSignalSpy exit(dialog, SIGNAL(exitRequested()));
    QObject::connect(rig.dialog.get(), &TransferDialog::exitRequested, rig.f.window.get(),
                     &MainWindow::restoreAfterTransfer);
    QObject::connect(&protokol, &ReportDialog::exitRequested, rig.f.window.get(), &MainWindow::restoreNormal);
    rig.f.window->showMinimized();
    dialog->show();
    rig.f.ports.setTransferRunning(transferRunning);
    dialog->close();
    QCOMPARE(exit.size(), exits ? 1 : 0);
    QCOMPARE(dialog->isVisible(), !exits);
    QCOMPARE(bool(rig.f.window->windowState() & Qt::WindowMinimized), !exits);
    rig.f.ports.setTransferRunning(false);
}

void TransferDialogTest::readShowsStationInMainWindow()
{
    SimulatedStation station;
    TestLine line([&](std::uint8_t b) { return station.onByte(b, 0); });
    {
        TransferRig writer;
        writer.f.trigger("N3062");
        writer.f.makeTemplate("3", "30000", "12,5");
        QVERIFY(writer.f.state.check(writer.dir.filePath("MyTemp.ini")).passed());
        writer.useCom1(line);
        QVERIFY(writer.run("BitBtn2"));
        QCOMPARE(writer.status(), LinkTexts::idle());
    }
    TransferRig rig;
    rig.useCom1(line);
    rig.f.ui.clear();
    // The views hear of each change of the table's shape before it is made.
    QList<int> rowsBeforeReset;
    connect(rig.f.window->tableModel(), &QAbstractItemModel::modelAboutToBeReset, this,
            [&] { rowsBeforeReset << rig.f.window->tableModel()->rowCount(); });
    QVERIFY(rig.run("BitBtn3"));
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
    QVERIFY(rig.run("BitBtn3"));
    QCOMPARE(rig.f.ui.messages.size(), 1);
    QVERIFY(rig.f.ui.messages.at(0).startsWith(ReadArchive::failureMessage(QString())));
    QCOMPARE(rig.status(), LinkTexts::idle());
}

void TransferDialogTest::undoOfBrokenReadRestoresSettingsText()
{
    TransferRig rig;
    rig.f.makeTemplate("3", "140000", "1000");
    auto *memo = rig.f.widget<QPlainTextEdit>("Memo1");
    memo->appendPlainText("Заметка=1"); // typed by the user before the read
    const QStringList lines = rig.f.state.settingsLines;
    const ChannelTable table = rig.f.state.table;
    SimulatedStation station;
    StationLineOptions silent;
    silent.silentAfter = 0;
    TestLine line([&](std::uint8_t b) { return station.onByte(b, 0); }, silent);
    rig.useCom1(line);
    QVERIFY(rig.run("BitBtn3"));
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
