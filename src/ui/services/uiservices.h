#pragma once

#include "common/refusal.h"
#include "link/portmap.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QPrinter;

// Everything the windows ask of the desktop: message boxes, sounds, file
// dialogs, opening a document. Tests hand in a recording implementation and
// read the texts instead of clicking boxes.
class UiServices
{
public:
    struct FileDialog
    {
        QString title;        // empty: the desktop's default title
        QString filter;       // "Файлы(*.ini)|*.ini", or several: "A (*.a)|*.a|B (*.b)|*.b"
        QString folder;       // start folder
        QString proposedName; // save dialog only
        // Save dialog only: the program writes a new name beside a file that
        // stands, so choosing one asks nothing about replacing it.
        bool neverReplaces = false;
    };

    // The file a save dialog chose and which of its filters (from 0) was chosen.
    struct SavedFile
    {
        QString path; // empty when the user cancels
        int filter = 0;
    };

    enum class Answer { Yes, No, Cancel };

    virtual ~UiServices() = default;

    virtual void showMessage(const QString &text) = 0;
    virtual void playSound(Sound sound) = 0;
    // Empty when the user cancels.
    virtual QString askSaveFileName(const FileDialog &dialog) = 0;
    // A save dialog whose filter chosen counts too (a format, an encoding).
    virtual SavedFile askSaveFile(const FileDialog &dialog) { return {askSaveFileName(dialog), 0}; }
    virtual QString askOpenFileName(const FileDialog &dialog) = 0;
    // A question answered by yes (true) or no.
    virtual bool ask(const QString &question) = 0;
    // A question answered by "Да", "Нет" or "Отмена" (also the box's close).
    virtual Answer askYesNoCancel(const QString &question) = 0;
    // A question answered by one of the buttons: its index, or -1 for
    // "Отмена" (also the box's close).
    virtual int choose(const QString &question, const QStringList &buttons) = 0;
    // Hands the document to the desktop's program for it and returns at once;
    // `noProgram` runs later if none takes it.
    virtual void openDocument(const QString &path, std::function<void()> noProgram) = 0;
    // The print dialog on `printer`: false when the user cancels.
    virtual bool choosePrinter(QPrinter &printer) = 0;
    // The port prompt: the chosen port, or nothing for "Cancel".
    virtual std::optional<PortEntry> choosePort(const QList<PortEntry> &ports) = 0;

    // A refusal of the program's own: its sound, then its message.
    void showRefusal(const Refusal &refusal)
    {
        if (refusal.sound != Sound::None)
            playSound(refusal.sound);
        showMessage(refusal.text);
    }
};
