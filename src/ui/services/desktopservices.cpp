#include "services/desktopservices.h"
#include "services/portprompt.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
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
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

std::optional<PortEntry> DesktopServices::choosePort(const QList<PortEntry> &ports)
{
    PortPrompt prompt(ports, m_parent);
    if (prompt.exec() != QDialog::Accepted)
        return std::nullopt;
    return prompt.chosenPort();
}
