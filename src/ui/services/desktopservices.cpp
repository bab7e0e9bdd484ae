#include "services/desktopservices.h"
#include "services/portprompt.h"
#include "services/startup.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QUrl>

namespace {
// "Файлы(*.ini)|*.ini" is the description and the pattern; Qt wants "Файлы(*.ini) (*.ini)".
QString qtFilter(const QString &filter)
{
    const qsizetype bar = filter.indexOf(u'|');
    if (bar < 0)
        return filter;
    return filter.left(bar) + QStringLiteral(" (") + filter.mid(bar + 1) + u')';
}
} // namespace

// The window the technician works in. The main window hides while the report
// form is up; a box owned by it may open beneath that form where windows are
// stacked by owner (Wine's X11 driver under openbox does).
QWidget *DesktopServices::owner() const
{
    if (QWidget *active = QApplication::activeWindow(); active && active->isVisible())
        return active;
    return m_parent;
}

void DesktopServices::showMessage(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(Startup::messageTitle()), text, QMessageBox::Ok, owner());
    box.exec();
}

void DesktopServices::playSound(Sound sound)
{
    if (sound != Sound::None)
        QApplication::beep();
}

QString DesktopServices::askSaveFileName(const FileDialog &dialog)
{
    QFileDialog box(owner(), dialog.title, dialog.folder, qtFilter(dialog.filter));
    box.setAcceptMode(QFileDialog::AcceptSave);
    box.setFileMode(QFileDialog::AnyFile);
    box.setDefaultSuffix(QStringLiteral("ini"));
    box.setOption(QFileDialog::DontUseNativeDialog, false);
    box.selectFile(dialog.proposedName);
    if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty())
        return {};
    return box.selectedFiles().constFirst();
}

QString DesktopServices::askOpenFileName(const FileDialog &dialog)
{
    return QFileDialog::getOpenFileName(owner(), dialog.title, dialog.folder, qtFilter(dialog.filter));
}

bool DesktopServices::ask(const QString &question)
{
    return QMessageBox::question(owner(), QString::fromUtf8(Startup::messageTitle()), question) == QMessageBox::Yes;
}

UiServices::Answer DesktopServices::askYesNoCancel(const QString &question)
{
    QMessageBox box(QMessageBox::Question, QString::fromUtf8(Startup::messageTitle()), question, QMessageBox::NoButton,
                    owner());
    QPushButton *yes = box.addButton(QStringLiteral("Да"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(QStringLiteral("Нет"), QMessageBox::NoRole);
    box.addButton(QStringLiteral("Отмена"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.exec();
    if (box.clickedButton() == yes)
        return Answer::Yes;
    if (box.clickedButton() == no)
        return Answer::No;
    return Answer::Cancel;
}

void DesktopServices::openDocument(const QString &path, std::function<void()> noProgram)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // QDesktopServices reports success as soon as xdg-open starts, also when
    // it then finds no program for the file; its exit status tells. It is
    // read when it comes, so the window never waits for the desktop.
    auto *opener = new QProcess(qApp);
    QObject::connect(opener, &QProcess::finished, opener, [opener, noProgram](int code, QProcess::ExitStatus status) {
        if (status != QProcess::NormalExit || code != 0)
            noProgram();
        opener->deleteLater();
    });
    QObject::connect(opener, &QProcess::errorOccurred, opener, [opener, noProgram, path](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
            noProgram();
        opener->deleteLater();
    });
    opener->start(m_opener, {path});
#else
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        noProgram();
#endif
}

std::optional<PortEntry> DesktopServices::choosePort(const QList<PortEntry> &ports)
{
    PortPrompt prompt(ports, owner());
    if (prompt.exec() != QDialog::Accepted)
        return std::nullopt;
    return prompt.chosenPort();
}
