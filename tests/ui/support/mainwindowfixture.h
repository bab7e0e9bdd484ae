#pragma once

#include "main/channeltablemodel.h"
#include "main/mainwindow.h"
#include "recordingservices.h"
#include "main/appstate.h"
#include "transfer/portchoice.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

// A main window on its own state with recorded messages, driven by object
// names; the table's model is checked against Qt's model contract throughout.
struct MainWindowFixture
{
    AppState state;
    RecordingServices ui;
    PortChoice ports;
    // Every window starts without files or a place remembered from an earlier
    // test, unless the test wants the last window's back.
    bool forgotten;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<QAbstractItemModelTester> modelTester;

    explicit MainWindowFixture(bool forget = true)
        : forgotten(forget && QFile::remove(RecentFiles::defaultStoreFile())),
          window(std::make_unique<MainWindow>(state, ui, ports)),
          modelTester(std::make_unique<QAbstractItemModelTester>(
              window->tableModel(), QAbstractItemModelTester::FailureReportingMode::QtTest))
    {
        window->show();
    }

    template <class T = QWidget>
    T *widget(const char *name) const
    {
        return window->findChild<T *>(QLatin1String(name));
    }
    QAction *action(const char *name) const { return window->findChild<QAction *>(QLatin1String(name)); }
    void trigger(const char *name) const { action(name)->trigger(); }
    bool isShown(const char *name) const { return !widget(name)->isHidden(); }

    void makeTemplate(const QString &count, const QString &start, const QString &step)
    {
        trigger("N2");
        widget<QLineEdit>("Edit1")->setText(count);
        widget<QLineEdit>("Edit2")->setText(start);
        widget<QLineEdit>("Edit3")->setText(step);
        QTest::mouseClick(widget<QPushButton>("BitBtn1"), Qt::LeftButton);
    }
};
