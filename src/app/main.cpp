#include "batch/batchdialog.h"
#include "common/standardstreams.h"
#include "main/mainwindow.h"
#include "report/reportdialog.h"
#include "services/desktopservices.h"
#include "services/startup.h"
#include "main/appstate.h"
#include "transfer/portchoice.h"
#include "transfer/transferdialog.h"

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <QIcon>
#include <cstdio>
#include <cstring>

namespace {

// --version and --help are answered before the window's platform starts,
// so that they work without a display (over ssh, in a package check).
// Returns the exit status when the arguments asked for one of them.
int answeredWithoutWindow(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::puts("vetral " VETRAL_VERSION);
            return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 2;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::puts("Использование: vetral [--help] [--version]\n\n"
                      "Программатор радиостанций \"Ветрал\": окно программы (нужен графический сеанс).\n"
                      "Для работы из сценариев и без экрана есть vetral-cli (vetral-cli --help).\n\n"
                      "  --help     эта справка\n"
                      "  --version  версия программы");
            return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 2;
        }
    }
    return -1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (!StandardStreams::ensureOpen())
        return 2;
    if (const int status = answeredWithoutWindow(argc, argv); status >= 0)
        return status;
    QApplication app(argc, argv);
    Startup::prepare(app);
    QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/vetral.png")));

    AppState state;
    DesktopServices ui;

    PortChoice ports;
    MainWindow mainWindow(state, ui, ports);
    ui.setParentWindow(&mainWindow);
    TransferDialog transfer(state, ui, ports);
    // What a read brings, the main window shows as it arrives.
    QObject::connect(&transfer, &TransferDialog::readStarted, &mainWindow, &MainWindow::readStarted);
    QObject::connect(&transfer, &TransferDialog::readReceived, &mainWindow, &MainWindow::readReceived);
    QObject::connect(&transfer, &TransferDialog::readEnded, &mainWindow, &MainWindow::readEnded);
    ReportDialog reportDialog(state, ui);
    BatchDialog batch(state, ui, ports, &mainWindow);
    QObject::connect(&transfer, &TransferDialog::exitRequested, &mainWindow, &MainWindow::restoreAfterTransfer);
    QObject::connect(&mainWindow, &MainWindow::transferDialogRequested, &transfer, &TransferDialog::openForTransfer);
    QObject::connect(&mainWindow, &MainWindow::reportDialogRequested, &reportDialog, &QWidget::show);
    QObject::connect(&mainWindow, &MainWindow::batchDialogRequested, &batch, &BatchDialog::showForBatch);
    QObject::connect(&reportDialog, &ReportDialog::exitRequested, &mainWindow, &MainWindow::restoreNormal);

    mainWindow.show();
    // A channel file named on the command line (a file manager's "Open with",
    // a double-click on Windows) is loaded as "Чтение файла" loads it, once
    // the window stands.
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    for (const QString &argument : arguments) {
        if (argument.startsWith(u'-'))
            continue;
        const QString path = QDir::fromNativeSeparators(argument);
        QTimer::singleShot(0, &mainWindow, [&mainWindow, path] { mainWindow.loadFile(path); });
        break;
    }
    return app.exec();
}
