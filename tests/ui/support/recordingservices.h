#pragma once

#include "services/uiservices.h"

#include <QPrinter>
#include <QStringList>

// Answers the windows' questions from a script and records what they show.
class RecordingServices : public UiServices
{
public:
    QStringList messages;
    QList<Sound> sounds;
    QString nextSaveName;
    QString nextOpenName;
    QList<FileDialog> dialogs;
    QStringList openedDocuments;
    bool documentOpens = true;
    std::optional<PortEntry> nextPort;
    QList<QList<PortEntry>> portPrompts;

    void showMessage(const QString &text) override { messages << text; }
    void playSound(Sound sound) override { sounds << sound; }
    int nextSaveFilter = 0;
    QString askSaveFileName(const FileDialog &dialog) override
    {
        dialogs << dialog;
        return nextSaveName;
    }
    SavedFile askSaveFile(const FileDialog &dialog) override { return {askSaveFileName(dialog), nextSaveFilter}; }
    QString askOpenFileName(const FileDialog &dialog) override
    {
        dialogs << dialog;
        return nextOpenName;
    }
    QStringList questions;
    bool answer = true;
    bool ask(const QString &question) override
    {
        questions << question;
        return answer;
    }
    Answer threeWayAnswer = Answer::Cancel;
    Answer askYesNoCancel(const QString &question) override
    {
        questions << question;
        return threeWayAnswer;
    }
    int choice = -1;
    int choose(const QString &question, const QStringList &buttons) override
    {
        questions << question + QStringLiteral(" [") + buttons.join(u'|') + u']';
        return choice;
    }
    // A chosen printer prints into this PDF file; none: the dialog is cancelled.
    QString printerPdf;
    bool choosePrinter(QPrinter &printer) override
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printerPdf);
        return !printerPdf.isEmpty();
    }
    void openDocument(const QString &path, std::function<void()> noProgram) override
    {
        openedDocuments << path;
        if (!documentOpens)
            noProgram();
    }
    std::optional<PortEntry> choosePort(const QList<PortEntry> &ports) override
    {
        portPrompts << ports;
        return nextPort;
    }
    void clear()
    {
        messages.clear();
        sounds.clear();
    }
};
