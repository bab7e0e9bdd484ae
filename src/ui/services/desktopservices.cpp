#include "services/desktopservices.h"
#include "services/portprompt.h"
#include "services/startup.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QUrl>
#include <algorithm>

namespace {
// "Файлы(*.ini)|*.ini" is the description and the pattern, and more such
// pairs may follow; Qt wants "Файлы(*.ini) (*.ini)", one per filter.
QStringList qtFilters(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    if (parts.size() < 2)
        return {filter};
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters << parts.at(i) + QStringLiteral(" (") + parts.at(i + 1) + u')';
    return filters;
}

QString qtFilter(const QString &filter)
{
    return qtFilters(filter).join(QStringLiteral(";;"));
}

// "*.csv" gives "csv"; a name typed without an extension takes it.
QString suffixOf(const QString &qtFilter)
{
    const qsizetype dot = qtFilter.lastIndexOf(QStringLiteral("*."));
    const qsizetype end = qtFilter.indexOf(u')', dot);
    return dot < 0 || end < 0 ? QString() : qtFilter.mid(dot + 2, end - dot - 2);
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
    return askSaveFile(dialog).path;
}

UiServices::SavedFile DesktopServices::askSaveFile(const FileDialog &dialog)
{
    const QStringList filters = qtFilters(dialog.filter);
    QFileDialog box(owner(), dialog.title, dialog.folder, qtFilter(dialog.filter));
    box.setAcceptMode(QFileDialog::AcceptSave);
    box.setFileMode(QFileDialog::AnyFile);
    box.setOption(QFileDialog::DontUseNativeDialog, false);
    box.setOption(QFileDialog::DontConfirmOverwrite, dialog.neverReplaces);
    // A name typed without an extension takes the chosen filter's.
    box.setDefaultSuffix(suffixOf(filters.constFirst()));
    // Another file type chosen: a name with the extension of one type of
    // this dialog takes the new one's, so that the name says what is written.
    QObject::connect(&box, &QFileDialog::filterSelected, &box, [&box, filters](const QString &chosen) {
        const QString suffix = suffixOf(chosen);
        box.setDefaultSuffix(suffix);
        const QFileInfo name(box.selectedFiles().value(0));
        const bool ofThisDialog = std::any_of(filters.begin(), filters.end(), [&](const QString &f) {
            return suffixOf(f).compare(name.suffix(), Qt::CaseInsensitive) == 0;
        });
        if (!suffix.isEmpty() && ofThisDialog && name.suffix().compare(suffix, Qt::CaseInsensitive) != 0)
            box.selectFile(name.completeBaseName() + u'.' + suffix);
    });
    box.selectFile(dialog.proposedName);
    if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty())
        return {};
    return {box.selectedFiles().constFirst(), std::max<int>(0, int(filters.indexOf(box.selectedNameFilter())))};
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

int DesktopServices::choose(const QString &question, const QStringList &buttons)
{
    QMessageBox box(QMessageBox::Question, QString::fromUtf8(Startup::messageTitle()), question, QMessageBox::NoButton,
                    owner());
    QList<QPushButton *> shown;
    for (const QString &text : buttons)
        shown << box.addButton(text, QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("Отмена"), QMessageBox::RejectRole);
    if (!shown.isEmpty())
        box.setDefaultButton(shown.constFirst());
    box.exec();
    return int(shown.indexOf(box.clickedButton()));
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

bool DesktopServices::choosePrinter(QPrinter &printer)
{
    QPrintDialog dialog(&printer, owner());
    return dialog.exec() == QDialog::Accepted;
}

std::optional<PortEntry> DesktopServices::choosePort(const QList<PortEntry> &ports)
{
    PortPrompt prompt(ports, owner());
    if (prompt.exec() != QDialog::Accepted)
        return std::nullopt;
    return prompt.chosenPort();
}
