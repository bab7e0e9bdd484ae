// What the batch window and `fleet` show of a station while its steps run:
// every step counts up, the write once over all its bytes, and the station's
// bar never goes back.

#include "batch/batchprogress.h"

#include <QTest>

class TestBatchProgress : public QObject
{
    Q_OBJECT

private slots:
    void countsUp_data();
    void countsUp();
};

void TestBatchProgress::countsUp_data()
{
    // Events: a step that begins ("backup", "write", "verify", "report"), or
    // the gauge of the transfer dialog at a value.
    QTest::addColumn<int>("channels");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QList<int>>("step");    // after each gauge value
    QTest::addColumn<QList<int>>("station"); // likewise

    // The dialog's gauge of a read counts down over the records.
    QTest::newRow("a read of 3 channels") << 3 << QStringList{"backup", "100", "67", "34", "1", "0"}
                                          << QList<int>{0, 33, 66, 99, 100} << QList<int>{0, 8, 17, 25, 25};
    // The dialog's gauge of a write runs over the 26 bytes before the
    // records, falls back to 0 after the pause and runs over the records.
    QTest::newRow("a write of 3 channels")
        << 3 << QStringList{"write", "0", "33", "66", "100", "0", "33", "67", "100", "100"}
        << QList<int>{0, 11, 21, 33, 33, 55, 78, 100, 100} << QList<int>{25, 31, 36, 42, 42, 53, 64, 75, 75};
    QTest::newRow("a write of 1 channel")
        << 1 << QStringList{"write", "0", "33", "66", "100", "0", "100", "100"}
        << QList<int>{0, 20, 39, 59, 59, 100, 100} << QList<int>{25, 35, 45, 55, 55, 75, 75};
    QTest::newRow("the read-back and the report")
        << 2 << QStringList{"verify", "100", "50", "0", "report", "0", "100"} << QList<int>{0, 50, 100, 0, 100}
        << QList<int>{75, 88, 100, 100, 100};
    QTest::newRow("a step begins from nothing") << 2 << QStringList{"backup", "100", "0", "write", "0", "100"}
                                                << QList<int>{0, 100, 0, 42} << QList<int>{0, 25, 25, 46};
}

void TestBatchProgress::countsUp()
{
    QFETCH(int, channels);
    QFETCH(QStringList, events);
    QFETCH(QList<int>, step);
    QFETCH(QList<int>, station);

    const QMap<QString, SequenceStep> steps{{"backup", SequenceStep::BackUp},
                                            {"write", SequenceStep::Write},
                                            {"verify", SequenceStep::Verify},
                                            {"report", SequenceStep::Report}};
    BatchProgress progress(channels);
    SequenceStep running = SequenceStep::BackUp;
    QList<int> stepShown;
    QList<int> stationShown;
    for (const QString &event : events) {
        if (steps.contains(event)) {
            running = steps.value(event);
            progress.begin(running);
            continue;
        }
        stepShown.append(progress.stepPercent(event.toInt()));
        stationShown.append(BatchProgress::overall(running, stepShown.last()));
    }
    QCOMPARE(stepShown, step);
    QCOMPARE(stationShown, station);
}

QTEST_APPLESS_MAIN(TestBatchProgress)
#include "tst_batchprogress.moc"
