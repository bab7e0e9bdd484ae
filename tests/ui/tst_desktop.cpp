#include "editorsfixture.h"
#include "files/ioerror.h"
#include "link/linktexts.h"
#include "link/seriallink.h"
#include "report/reportdialog.h"
#include "services/desktopservices.h"
#include "services/portprompt.h"
#include "services/startup.h"
#include "transfer/transferdialog.h"

#include <QDialogButtonBox>
#include <QComboBox>
#include <QLabel>
#include <QHeaderView>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <cerrno>

using Column = ChannelTable::Column;

// The program on the desktop: captions, language, the look of the table and
// its lists, and what must not keep the window waiting.
class DesktopTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { Startup::prepare(*qobject_cast<QApplication *>(qApp)); }
    void captionsAsTheyAre();
    void russianTexts_data();
    void russianTexts();
    void portPromptButtonsInRussian();
    void portPromptOkNeedsAPort_data();
    void portPromptOkNeedsAPort();
    void tableHeaderLook();
    void searchCaptionFits();
    void listPopupNextToCell_data();
    void listPopupNextToCell();
    void documentOpenerNotAwaited();
    void messageOverTheFormInUse();
};

namespace {
bool isRussian(const QString &text)
{
    return text.contains(QRegularExpression(QStringLiteral("[а-яА-Я]")))
           && !text.contains(QRegularExpression(QStringLiteral("[A-Za-z]{4,}")));
}
} // namespace

void DesktopTest::captionsAsTheyAre()
{
    MainWindowFixture f;
    TransferDialog transfer(f.state, f.ui, f.ports);
    ReportDialog report(f.state, f.ui);
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Ветрал 4М-13"));
    QCOMPARE(transfer.windowTitle(), QStringLiteral("Прием и передача информации в станцию"));
    QCOMPARE(report.windowTitle(), QStringLiteral("Создание протокола"));
    // A display name would be appended to every caption by the platform.
    QCOMPARE(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
}

void DesktopTest::russianTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("file dialog") << QCoreApplication::translate("QFileDialog", "&Save");
    QTest::newRow("replace confirmation")
        << QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to replace it?");
    QTest::newRow("standard button") << QCoreApplication::translate("QPlatformTheme", "Cancel");
    QTest::newRow("serial port in use") << QCoreApplication::translate("QSerialPort",
                                                                       "Permission error while locking the device");
    QTest::newRow("port not open") << SerialErrors::notOpen();
    QTest::newRow("no port chosen") << SerialErrors::noPortChosen();
    QTest::newRow("access denied") << IoError::message(EACCES);
    QTest::newRow("cannot write") << IoError::unableToWrite(QStringLiteral("/tmp/K7TV_10.ini"));
    QTest::newRow("what AK means") << LinkTexts::noAnswerAdvice();
    QTest::newRow("no port found") << LinkTexts::noPortFound();
}

void DesktopTest::russianTexts()
{
    QFETCH(QString, text);
    QVERIFY2(isRussian(text), qPrintable(text));
}

void DesktopTest::portPromptButtonsInRussian()
{
    PortPrompt prompt({});
    const QList<QPushButton *> buttons = prompt.findChild<QDialogButtonBox *>()->findChildren<QPushButton *>();
    QStringList texts;
    for (const QPushButton *b : buttons)
        texts << b->text();
    texts.sort();
    QStringList expected{QCoreApplication::translate("QPlatformTheme", "OK"),
                         QCoreApplication::translate("QPlatformTheme", "Cancel")};
    expected.sort();
    QCOMPARE(texts, expected);
    QVERIFY(isRussian(QCoreApplication::translate("QPlatformTheme", "Cancel")));
    QCOMPARE(prompt.windowTitle(), LinkTexts::promptCaption());
}

void DesktopTest::portPromptOkNeedsAPort_data()
{
    QTest::addColumn<int>("ports");
    QTest::addColumn<int>("chosen"); // -1: none
    QTest::addColumn<bool>("okEnabled");
    QTest::newRow("no port found") << 0 << -1 << false;
    QTest::newRow("one port, chosen") << 1 << 0 << true;
    QTest::newRow("two ports, none chosen") << 2 << -1 << false;
    QTest::newRow("two ports, the second chosen") << 2 << 1 << true;
}

void DesktopTest::portPromptOkNeedsAPort()
{
    QFETCH(int, ports);
    QFETCH(int, chosen);
    QFETCH(bool, okEnabled);
    QList<PortEntry> entries;
    for (int i = 0; i < ports; ++i)
        entries.append({QStringLiteral("COM%1").arg(i + 1), QStringLiteral("/dev/pts/%1").arg(i + 50)});
    PortPrompt prompt(entries);
    prompt.findChild<QComboBox *>("PortList")->setCurrentIndex(chosen);
    QCOMPARE(prompt.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->isEnabled(), okEnabled);
    const auto *none = prompt.findChild<QLabel *>("NoPortFound");
    QCOMPARE(none != nullptr, ports == 0);
    if (none)
        QCOMPARE(none->text(), LinkTexts::noPortFound());
    QCOMPARE(prompt.chosenPort().has_value(), okEnabled);
    // The chosen port's device beside the list.
    QCOMPARE(prompt.findChild<QLabel *>("PortDetails")->text(), chosen >= 0 ? entries.at(chosen).details() : QString());
}

void DesktopTest::tableHeaderLook()
{
    EditorsFixture f;
    QHeaderView *header = f.grid->horizontalHeader();
    QCOMPARE(header->height(), 20);
    const QRect section(header->sectionViewportPosition(Column::Number), 0, header->sectionSize(Column::Number),
                        header->height());
    const QImage before = header->grab(section).toImage();
    f.click(Column::Number, 3);
    QCOMPARE(header->grab(section).toImage(), before);
}

void DesktopTest::searchCaptionFits()
{
    MainWindowFixture f;
    TransferDialog dialog(f.state, f.ui, f.ports);
    auto *usb = dialog.findChild<QPushButton *>("BitBtn4");
    usb->setText(LinkTexts::searchNotFound());
    QVERIFY2(usb->sizeHint().width() <= usb->width(), qPrintable(QString::number(usb->sizeHint().width())));
    // The buttons to its right are not covered.
    QVERIFY(usb->geometry().right() < dialog.findChild<QPushButton *>("BitBtn2")->x());
}

void DesktopTest::listPopupNextToCell_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("list");
    QTest::newRow("CTCSS, 56 items") << int(Column::CtcRx) << 1;
    QTest::newRow("DCS, 85 items") << int(Column::DcsTx) << 2;
    QTest::newRow("Tx_Off, 3 wide items") << int(Column::TxOff) << 8;
}

void DesktopTest::listPopupNextToCell()
{
    QFETCH(int, column);
    QFETCH(int, list);
    EditorsFixture f;
    f.click(column, 2);
    QComboBox *combo = f.list(list);
    combo->showPopup();
    QAbstractItemView *view = combo->view();
    const QRect popup = view->window()->geometry();
    const int rows = std::min(combo->count(), CellEditors::MaxShownItems);
    QVERIFY2(popup.height() <= rows * view->sizeHintForRow(0) + 12, qPrintable(QString::number(popup.height())));
    QVERIFY(view->viewport()->width() >= view->sizeHintForColumn(0));
    const QRect cell(combo->mapToGlobal(QPoint(0, 0)), combo->size());
    QVERIFY(popup.top() >= cell.top() - 1 || popup.bottom() <= cell.bottom() + 1);
    combo->hidePopup();
}

void DesktopTest::documentOpenerNotAwaited()
{
    // An opener that ends, without finding a program, only when told to:
    // the call must not wait for it, and its failure still reaches the window.
    QTemporaryDir dir;
    const QString go = dir.filePath("go");
    const QString opener = dir.filePath("opener.sh");
    QFile script(opener);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\nwhile [ ! -e '%1' ]; do sleep 0.02; done\nexit 3\n").arg(go).toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    DesktopServices ui;
    ui.setDocumentOpener(opener);
    bool noProgram = false;
    ui.openDocument(dir.filePath("report.docx"), [&] { noProgram = true; });
    QVERIFY(!noProgram);
    QFile flag(go);
    QVERIFY(flag.open(QIODevice::WriteOnly));
    flag.close();
    QTRY_VERIFY(noProgram);
}

void DesktopTest::messageOverTheFormInUse()
{
    // The main window hides while the report form is up: a message then
    // belongs to the form, or a window manager may stack it beneath.
    QWidget main;
    QWidget form;
    form.show();
    QApplication::setActiveWindow(&form);
    DesktopServices ui;
    ui.setParentWindow(&main);
    QWidget *owner = nullptr;
    QTimer::singleShot(0, [&] {
        QWidget *box = QApplication::activeModalWidget();
        owner = box ? box->parentWidget() : nullptr;
        if (box)
            box->close();
    });
    ui.showMessage(QStringLiteral("Протокол сохранен"));
    QCOMPARE(owner, &form);
}

QTEST_MAIN(DesktopTest)
#include "tst_desktop.moc"
