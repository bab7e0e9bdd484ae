#include "mainwindowfixture.h"
#include "report/reportdialog.h"

#include <QDir>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>

// "Создать протокол" and the report dialog, with the document opener recorded.
class ReportDialogTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void menuRefusesUncheckedData();
    void menuOpensDialogAfterCheck();
    void createRefusesUncheckedData();
    void createWritesNewDocumentsAndOpensThem_data();
    void createWritesNewDocumentsAndOpensThem();
    void nothingToOpenSaysWhereTheFileIs();
    void exitRestoresMainWindow();
};

void ReportDialogTest::menuRefusesUncheckedData()
{
    MainWindowFixture f;
    QSignalSpy requested(f.window.get(), &MainWindow::reportDialogRequested);
    f.trigger("N22");
    QCOMPARE(f.ui.messages, QStringList{"Пока не будет произведена проверка данных, протокол создаваться не будет!!!"});
    QCOMPARE(requested.count(), 0);
    QVERIFY(!f.window->isMinimized());
}

void ReportDialogTest::menuOpensDialogAfterCheck()
{
    MainWindowFixture f;
    f.makeTemplate("3", "140000", "1000");
    f.trigger("N19");
    f.ui.clear();
    QSignalSpy requested(f.window.get(), &MainWindow::reportDialogRequested);
    f.trigger("N22");
    QVERIFY(f.ui.messages.isEmpty());
    QCOMPARE(requested.count(), 1);
    QVERIFY(f.window->windowState() & Qt::WindowMinimized);
}

void ReportDialogTest::createRefusesUncheckedData()
{
    AppState state;
    RecordingServices ui;
    QTemporaryDir dir;
    ReportDialog dialog(state, ui);
    dialog.setReportsFolder(dir.path());
    QCOMPARE(dialog.serialEdit()->text(), QStringLiteral("К7ТВ-12345"));
    QTest::mouseClick(dialog.findChild<QPushButton *>("BitBtn1"), Qt::LeftButton);
    QCOMPARE(ui.messages, QStringList{"Пока не будет произведена проверка данных, протокол создаваться не будет"});
    QVERIFY(QDir(dir.path()).isEmpty());
    QVERIFY(ui.openedDocuments.isEmpty());
}

void ReportDialogTest::createWritesNewDocumentsAndOpensThem_data()
{
    QTest::addColumn<QString>("name"); // as the save dialog gives it back
    QTest::addColumn<int>("filter");   // the file type chosen in it
    QTest::addColumn<QString>("file"); // the name of the first report
    QTest::addColumn<QByteArray>("magic");
    QTest::newRow(".docx") << "p.docx" << 0 << "p.docx" << QByteArray("PK");
    QTest::newRow("PDF by its extension") << "p.PDF" << 0 << "p.pdf" << QByteArray("%PDF");
    QTest::newRow("PDF by the file type") << "p" << 1 << "p.pdf" << QByteArray("%PDF");
    QTest::newRow("another extension kept") << "p.v2" << 0 << "p.v2.docx" << QByteArray("PK");
}

void ReportDialogTest::createWritesNewDocumentsAndOpensThem()
{
    QFETCH(QString, name);
    QFETCH(int, filter);
    QFETCH(QString, file);
    QFETCH(QByteArray, magic);
    MainWindowFixture f;
    f.makeTemplate("31", "140000", "1000");
    f.trigger("N19");
    QVERIFY(f.state.dataValid);
    f.ui.clear();
    QTemporaryDir dir;
    ReportDialog dialog(f.state, f.ui);
    dialog.setReportsFolder(dir.path() + "/reports");
    dialog.serialEdit()->setText("К7ТВ/77:1");
    f.ui.nextSaveName = dir.path() + "/reports/" + name;
    f.ui.nextSaveFilter = filter;
    auto *create = dialog.findChild<QPushButton *>("BitBtn1");
    QTest::mouseClick(create, Qt::LeftButton);
    QTest::mouseClick(create, Qt::LeftButton);
    QVERIFY2(f.ui.messages.isEmpty(), qPrintable(f.ui.messages.join('\n')));
    // The dialog starts in the reports folder, made for it, with a name a file may take.
    const UiServices::FileDialog &asked = f.ui.dialogs.constFirst();
    QCOMPARE(asked.folder, dir.path() + "/reports");
    QVERIFY(QFileInfo(asked.folder).isDir());
    QVERIFY2(asked.proposedName.startsWith("Протокол К7ТВ_77_1 ") && asked.proposedName.endsWith(".docx"),
             qPrintable(asked.proposedName));
    // The second report does not replace the first.
    const QString second = QFileInfo(file).completeBaseName() + " (2)." + QFileInfo(file).suffix();
    QCOMPARE(f.ui.openedDocuments, (QStringList{dir.path() + "/reports/" + file, dir.path() + "/reports/" + second}));
    for (const QString &path : f.ui.openedDocuments) {
        QFile report(path);
        QVERIFY(report.open(QIODevice::ReadOnly));
        QCOMPARE(report.read(magic.size()), magic);
    }
    QCOMPARE(dialog.serialEdit()->text(), QStringLiteral("К7ТВ/77:1"));
}

void ReportDialogTest::nothingToOpenSaysWhereTheFileIs()
{
    MainWindowFixture f;
    f.makeTemplate("2", "140000", "1000");
    f.trigger("N19");
    f.ui.clear();
    f.ui.documentOpens = false;
    QTemporaryDir dir;
    ReportDialog dialog(f.state, f.ui);
    dialog.setReportsFolder(dir.path());
    f.ui.nextSaveName = dir.path() + "/p.docx";
    dialog.onCreate();
    QCOMPARE(f.ui.messages.size(), 1);
    QVERIFY(f.ui.messages.first().contains(QDir::toNativeSeparators(dialog.lastReport())));
    QVERIFY(QFileInfo::exists(dialog.lastReport()));
}

void ReportDialogTest::exitRestoresMainWindow()
{
    MainWindowFixture f;
    ReportDialog dialog(f.state, f.ui);
    QObject::connect(&dialog, &ReportDialog::exitRequested, f.window.get(), &MainWindow::restoreNormal);
    f.window->showMinimized();
    dialog.show();
    QTest::mouseClick(dialog.findChild<QPushButton *>("BitBtn2"), Qt::LeftButton);
    QVERIFY(dialog.isHidden());
    QVERIFY(!(f.window->windowState() & Qt::WindowMinimized));
}

QTEST_MAIN(ReportDialogTest)
#include "tst_reportdialog.moc"
