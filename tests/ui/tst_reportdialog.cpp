#include "mainwindowfixture.h"
#include "report/tformprotokol.h"

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
    void createWritesNewDocumentsAndOpensThem();
    void nothingToOpenSaysWhereTheFileIs();
    void exitRestoresMainWindow();
};

void ReportDialogTest::menuRefusesUncheckedData()
{
    MainWindowFixture f;
    QSignalSpy requested(f.window.get(), &TFormMain::reportDialogRequested);
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
    QSignalSpy requested(f.window.get(), &TFormMain::reportDialogRequested);
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
    TFormProtokol dialog(state, ui);
    dialog.setReportsFolder(dir.path());
    QCOMPARE(dialog.edit1()->text(), QStringLiteral("К7ТВ-12345"));
    QTest::mouseClick(dialog.findChild<QPushButton *>("BitBtn1"), Qt::LeftButton);
    QCOMPARE(ui.messages, QStringList{"Пока не будет произведена проверка данных, протокол создаваться не будет"});
    QVERIFY(QDir(dir.path()).isEmpty());
    QVERIFY(ui.openedDocuments.isEmpty());
}

void ReportDialogTest::createWritesNewDocumentsAndOpensThem()
{
    MainWindowFixture f;
    f.makeTemplate("31", "140000", "1000");
    f.trigger("N19");
    QVERIFY(f.state.dataValid);
    f.ui.clear();
    QTemporaryDir dir;
    TFormProtokol dialog(f.state, f.ui);
    dialog.setReportsFolder(dir.path() + "/reports");
    dialog.edit1()->setText("К7ТВ/77:1");
    auto *create = dialog.findChild<QPushButton *>("BitBtn1");
    QTest::mouseClick(create, Qt::LeftButton);
    QTest::mouseClick(create, Qt::LeftButton);
    QVERIFY2(f.ui.messages.isEmpty(), qPrintable(f.ui.messages.join('\n')));
    QCOMPARE(f.ui.openedDocuments.size(), 2);
    QVERIFY(f.ui.openedDocuments.at(0) != f.ui.openedDocuments.at(1));
    for (const QString &path : f.ui.openedDocuments) {
        QVERIFY(QFileInfo(path).isFile());
        QVERIFY(QFileInfo(path).size() > 0);
        QCOMPARE(QFileInfo(path).absolutePath(), dir.path() + "/reports");
        QVERIFY2(!QFileInfo(path).fileName().contains(':'), qPrintable(path));
    }
    QCOMPARE(dialog.edit1()->text(), QStringLiteral("К7ТВ/77:1"));
}

void ReportDialogTest::nothingToOpenSaysWhereTheFileIs()
{
    MainWindowFixture f;
    f.makeTemplate("2", "140000", "1000");
    f.trigger("N19");
    f.ui.clear();
    f.ui.documentOpens = false;
    QTemporaryDir dir;
    TFormProtokol dialog(f.state, f.ui);
    dialog.setReportsFolder(dir.path());
    dialog.BitBtn1Click();
    QCOMPARE(f.ui.messages.size(), 1);
    QVERIFY(f.ui.messages.first().contains(QDir::toNativeSeparators(dialog.lastReport())));
    QVERIFY(QFileInfo::exists(dialog.lastReport()));
}

void ReportDialogTest::exitRestoresMainWindow()
{
    MainWindowFixture f;
    TFormProtokol dialog(f.state, f.ui);
    QObject::connect(&dialog, &TFormProtokol::exitRequested, f.window.get(), &TFormMain::restoreNormal);
    f.window->showMinimized();
    dialog.show();
    QTest::mouseClick(dialog.findChild<QPushButton *>("BitBtn2"), Qt::LeftButton);
    QVERIFY(dialog.isHidden());
    QVERIFY(!(f.window->windowState() & Qt::WindowMinimized));
}

QTEST_MAIN(ReportDialogTest)
#include "tst_reportdialog.moc"
