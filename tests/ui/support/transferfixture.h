#pragma once

#include "check/datacheck.h"
#include "core/support/linkfixtures.h"
#include "mainwindowfixture.h"
#include "transfer/transferdialog.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>

// The transfer dialog beside a main window, its ports mapped by an options
// file of its own to stations on lines in memory, whose time the lines count.
// A transfer runs on its worker thread; run() presses a button and lets the
// program's event loop go on until the dialog shows the transfer's end.
struct TransferRig
{
    MainWindowFixture f;
    LinkFixtures::OptionsFile options;
    QTemporaryDir dir;
    std::unique_ptr<TransferDialog> dialog;

    TransferRig()
    {
        dialog = std::make_unique<TransferDialog>(f.state, f.ui, f.ports);
        dialog->setOptionsFile(options.path());
        dialog->setArchiveFolder(archive());
        dialog->setLinkFactory(LinkFixtures::testLinkFactory());
        dialog->setSettingsFile(dir.filePath("vetral-window.ini"));
        QObject::connect(dialog.get(), &TransferDialog::readStarted, f.window.get(), &MainWindow::readStarted);
        QObject::connect(dialog.get(), &TransferDialog::readReceived, f.window.get(), &MainWindow::readReceived);
        QObject::connect(dialog.get(), &TransferDialog::readEnded, f.window.get(), &MainWindow::readEnded);
    }

    // A template of `channels` channels from 140000 kHz, checked.
    void check(int channels)
    {
        f.makeTemplate(QString::number(channels), "140000", "1000");
        QVERIFY(f.state.check(dir.filePath("MyTemp.ini")).passed());
    }
    // COM1 leads to `line`, and is the port chosen.
    void useCom1(const LinkFixtures::TestLine &line)
    {
        options.writePorts({{1, line.devicePath()}});
        f.ports.choose(1);
    }
    // Presses the button; true once the dialog has shown the transfer's end.
    bool run(const char *name)
    {
        QSignalSpy ended(dialog.get(), &TransferDialog::transferEnded);
        button(name)->click();
        return ended.wait(20000);
    }

    QString archive() const { return dir.filePath("archive"); }
    QPushButton *button(const char *name) const { return dialog->findChild<QPushButton *>(name); }
    QString status() const { return dialog->findChild<QLabel *>("StaticText1")->text(); }
    QString advice() const { return dialog->findChild<QLabel *>("AdviceText")->text(); }
    int gauge() const { return dialog->findChild<QProgressBar *>("Gauge1")->value(); }
    bool buttonsEnabled() const
    {
        return button("BitBtn1")->isEnabled() && button("BitBtn2")->isEnabled() && button("BitBtn3")->isEnabled();
    }
};
