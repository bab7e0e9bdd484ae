#include "batch/batchdialog.h"
#include "main/tformmain.h"
#include "report/tformprotokol.h"
#include "services/desktopservices.h"
#include "services/startup.h"
#include "state/appstate.h"
#include "transfer/tform1.h"

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Startup::prepare(app);
    QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/vetral.png")));

    AppState state;
    DesktopServices ui;

    TFormMain formMain(state, ui);
    ui.setParentWindow(&formMain);
    TForm1 form1(state, ui);
    form1.setReadObserver(&formMain);
    TFormProtokol formProtokol(state, ui);
    BatchDialog batch(state, ui, &formMain);
    QObject::connect(&form1, &TForm1::exitRequested, &formMain, &TFormMain::restoreAfterTransfer);
    QObject::connect(&formMain, &TFormMain::transferDialogRequested, &form1, &TForm1::openForTransfer);
    QObject::connect(&formMain, &TFormMain::reportDialogRequested, &formProtokol, &QWidget::show);
    QObject::connect(&formMain, &TFormMain::batchDialogRequested, &batch, &BatchDialog::showForBatch);
    QObject::connect(&formProtokol, &TFormProtokol::exitRequested, &formMain, &TFormMain::restoreNormal);

    formMain.show();
    // A channel file named on the command line (a file manager's "Open with",
    // a double-click on Windows) is loaded as "Чтение файла" loads it, once
    // the window stands.
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    for (const QString &argument : arguments) {
        if (argument.startsWith(u'-'))
            continue;
        const QString path = QDir::fromNativeSeparators(argument);
        QTimer::singleShot(0, &formMain, [&formMain, path] { formMain.loadFile(path); });
        break;
    }
    return app.exec();
}
