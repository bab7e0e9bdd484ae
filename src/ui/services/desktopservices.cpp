#include "services/desktopservices.h"
#include "services/portprompt.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
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

void DesktopServices::showMessage(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text, QMessageBox::Ok, m_parent);
    box.exec();
}

void DesktopServices::playSound(Sound sound)
{
    if (sound != Sound::None)
        QApplication::beep();
}

QString DesktopServices::askSaveFileName(const FileDialog &dialog)
{
    QFileDialog box(m_parent, dialog.title, dialog.folder, qtFilter(dialog.filter));
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
    return QFileDialog::getOpenFileName(m_parent, dialog.title, dialog.folder, qtFilter(dialog.filter));
}

bool DesktopServices::openDocument(const QString &path)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // QDesktopServices hands the file to xdg-open and reports success as soon
    // as that starts, also when xdg-open then finds no program for it. Its exit
    // status tells: it either ends quickly with an error or hands over (or
    // keeps running as the program) without one.
    auto *opener = new QProcess(qApp);
    QObject::connect(opener, &QProcess::finished, opener, &QObject::deleteLater);
    opener->start(QStringLiteral("xdg-open"), {path});
    if (!opener->waitForStarted(3000)) {
        opener->deleteLater();
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    }
    if (opener->waitForFinished(3000))
        return opener->exitStatus() == QProcess::NormalExit && opener->exitCode() == 0;
    return true;
#else
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
#endif
}

std::optional<PortEntry> DesktopServices::choosePort(const QList<PortEntry> &ports)
{
    PortPrompt prompt(ports, m_parent);
    if (prompt.exec() != QDialog::Accepted)
        return std::nullopt;
    return prompt.chosenPort();
}
