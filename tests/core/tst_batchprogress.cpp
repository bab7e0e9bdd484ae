// What the batch window and `fleet` show of a station while its steps run:
// every step counts up over its bytes, and the station's bar follows its
// whole sequence and never goes back.

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
    // the running step's bytes, "done/total".
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QList<int>>("step");    // after each bytes event
    QTest::addColumn<QList<int>>("station"); // likewise

    // A read's length is known once its channel count has come.
    QTest::newRow("a read of 3 channels") << QStringList{"backup", "0/0", "5/0", "28/82", "46/82", "82/82"}
                                          << QList<int>{0, 0, 34, 56, 100} << QList<int>{0, 0, 9, 14, 25};
    // The write counts once over all its bytes, its records included.
    QTest::newRow("a write of 3 channels") << QStringList{"write", "0/81", "1/81", "27/81", "54/81", "81/81"}
                                           << QList<int>{0, 1, 33, 66, 100} << QList<int>{25, 26, 42, 58, 75};
    QTest::newRow("the read-back and the report") << QStringList{"verify", "0/0", "32/64", "64/64", "report"}
                                                  << QList<int>{0, 50, 100} << QList<int>{75, 88, 100};
    // A step that reports less than before (a read whose length grew) holds.
    QTest::newRow("never back within a step")
        << QStringList{"backup", "6/6", "7/64"} << QList<int>{100, 100} << QList<int>{25, 25};
    QTest::newRow("a step begins from nothing")
        << QStringList{"backup", "64/64", "write", "0/81", "40/81"} << QList<int>{100, 0, 49} << QList<int>{25, 25, 50};
}

void TestBatchProgress::countsUp()
{
    QFETCH(QStringList, events);
    QFETCH(QList<int>, step);
    QFETCH(QList<int>, station);

    const QMap<QString, SequenceStep> steps{{"backup", SequenceStep::BackUp},
                                            {"write", SequenceStep::Write},
                                            {"verify", SequenceStep::Verify},
                                            {"report", SequenceStep::Report}};
    BatchProgress progress;
    SequenceStep running = SequenceStep::BackUp;
    QList<int> stepShown;
    QList<int> stationShown;
    for (const QString &event : events) {
        if (steps.contains(event)) {
            running = steps.value(event);
            progress.begin(running);
            continue;
        }
        const TransferProgress bytes{running, event.section('/', 0, 0).toInt(), event.section('/', 1).toInt(), false};
        stepShown.append(progress.stepPercent(bytes));
        stationShown.append(BatchProgress::overall(running, stepShown.last()));
    }
    QCOMPARE(stepShown, step);
    QCOMPARE(stationShown, station);
}

QTEST_APPLESS_MAIN(TestBatchProgress)
#include "tst_batchprogress.moc"
