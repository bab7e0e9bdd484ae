#pragma once

#include "services/uiservices.h"

#include <QString>

class QWidget;

// The real desktop: Qt message boxes, the system beep, Qt file dialogs and
// the desktop's default program for documents.
class DesktopServices : public UiServices
{
public:
    void setParentWindow(QWidget *parent) { m_parent = parent; }

    void showMessage(const QString &text) override;
    void playSound(Sound sound) override;
    QString askSaveFileName(const FileDialog &dialog) override;
    SavedFile askSaveFile(const FileDialog &dialog) override;
    QString askOpenFileName(const FileDialog &dialog) override;
    bool ask(const QString &question) override;
    Answer askYesNoCancel(const QString &question) override;
    int choose(const QString &question, const QStringList &buttons) override;
    void openDocument(const QString &path, std::function<void()> noProgram) override;
    // The program that hands a document on ("xdg-open"); tests give their own.
    void setDocumentOpener(const QString &program) { m_opener = program; }
    bool choosePrinter(QPrinter &printer) override;
    std::optional<PortEntry> choosePort(const QList<PortEntry> &ports) override;

private:
    QWidget *owner() const;

    QWidget *m_parent = nullptr;
    QString m_opener = QStringLiteral("xdg-open");
};
