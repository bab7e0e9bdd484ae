// The transfer dialog when the line fails under a transfer: the station
// goes away in the middle, or the port is lost right after it was opened.
// The dialog must come out of it usable: its own status, all three buttons
// enabled, one message, and the transfer no longer counted as running.

#include "check/datacheck.h"
#include "core/support/linkfixtures.h"
#include "link/linktexts.h"
#include "mainwindowfixture.h"
#include "simulatedstation.h"
#include "stationline.h"
#include "transfer/tform1.h"

#include <QLabel>
#include <QTemporaryDir>

class TransferFaultsTest : public QObject
{
    Q_OBJECT
private slots:
    void stationGoneMidTransfer_data();
    void stationGoneMidTransfer();
    void portLostRightAfterOpening_data();
    void portLostRightAfterOpening();

private:
    struct Rig
    {
        MainWindowFixture f;
        LinkFixtures::OptionsFile options;
        QTemporaryDir dir;
        SimulatedStation station;
        std::unique_ptr<StationLine> line;
        std::unique_ptr<TForm1> dialog;

        explicit Rig(StationLineOptions lineOptions = {})
        {
            // A station that holds three channels: its reply is 28 + 3·18 bytes.
            StationMemory memory;
            memory.settings[2] = 3;
            memory.records = QByteArray(3 * StationMemory::RecordSize, char(1));
            station = SimulatedStation(memory);
            line = std::make_unique<StationLine>([this](std::uint8_t b) { return station.onByte(b, 0); },
                                                 lineOptions);
            line->start();
            options.writePorts({{1, line->devicePath()}});
            dialog = std::make_unique<TForm1>(f.state, f.ui);
            dialog->setOptionsFile(options.path());
            dialog->setReadObserver(f.window.get());
            f.makeTemplate(QStringLiteral("3"), QStringLiteral("140000"), QStringLiteral("1000"));
            QVERIFY(DataCheck::run(f.state, dir.filePath(QStringLiteral("MyTemp.ini"))).passed());
            f.state.portNumber = 1;
            f.ui.clear();
        }
        QPushButton *button(const char *name) const { return dialog->findChild<QPushButton *>(name); }
        QString status() const { return dialog->findChild<QLabel *>("StaticText1")->text(); }
        bool buttonsEnabled() const
        {
            return button("BitBtn1")->isEnabled() && button("BitBtn2")->isEnabled() && button("BitBtn3")->isEnabled();
        }
    };
};

void TransferFaultsTest::stationGoneMidTransfer_data()
{
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<int>("messages");
    // The write goes on to its next send and stops with the closed port's
    // error; the read ends as after a time-out, without a message.
    QTest::newRow("write") << QByteArray("BitBtn2") << 1;
    QTest::newRow("read") << QByteArray("BitBtn3") << 0;
}

void TransferFaultsTest::stationGoneMidTransfer()
{
    QFETCH(QByteArray, button);
    QFETCH(int, messages);
    StationLineOptions options;
    if (button == "BitBtn2")
        options.hangUpAfter = 20;
    else
        options.hangUpAfterSent = 40;
    Rig rig(options);

    rig.button(button.constData())->click();

    QCOMPARE(rig.status(), LinkTexts::noAnswer());
    QVERIFY(rig.buttonsEnabled());
    QCOMPARE(rig.f.ui.messages.size(), messages);
    QVERIFY(!rig.f.state.transferRunning);
}

void TransferFaultsTest::portLostRightAfterOpening_data()
{
    QTest::addColumn<QByteArray>("button");
    QTest::newRow("write") << QByteArray("BitBtn2");
    QTest::newRow("read") << QByteArray("BitBtn3");
}

void TransferFaultsTest::portLostRightAfterOpening()
{
    QFETCH(QByteArray, button);
    Rig rig;
    const QString device = rig.line->devicePath();
    rig.dialog->setLinkFactory(LinkFixtures::hangUpAfterOpenFactory(*rig.line));

    rig.button(button.constData())->click();

    QCOMPARE(rig.status(), LinkTexts::noAnswer());
    QVERIFY(rig.buttonsEnabled());
    QCOMPARE(rig.f.ui.messages.size(), 1);
    QVERIFY2(rig.f.ui.messages.first().startsWith(SerialErrors::cannotSend(device, QString())),
             qPrintable(rig.f.ui.messages.first()));
    QVERIFY(!rig.f.state.transferRunning);
    QVERIFY(rig.f.state.dataValid);
}

QTEST_MAIN(TransferFaultsTest)
#include "tst_transferfaults.moc"
