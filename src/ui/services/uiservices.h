#pragma once

#include "common/refusal.h"
#include "link/portmap.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// Everything the windows ask of the desktop: message boxes, sounds, file
// dialogs, opening a document. Tests hand in a recording implementation and
// read the texts instead of clicking boxes.
class UiServices
{
public:
    struct FileDialog
    {
        QString title;        // empty: the desktop's default title
        QString filter;       // "Файлы(*.ini)|*.ini"
        QString folder;       // start folder
        QString proposedName; // save dialog only
    };

    enum class Answer { Yes, No, Cancel };

    virtual ~UiServices() = default;

    virtual void showMessage(const QString &text) = 0;
    virtual void playSound(Sound sound) = 0;
    // Empty when the user cancels.
    virtual QString askSaveFileName(const FileDialog &dialog) = 0;
    virtual QString askOpenFileName(const FileDialog &dialog) = 0;
    // A question answered by yes (true) or no.
    virtual bool ask(const QString &question) = 0;
    // A question answered by "Да", "Нет" or "Отмена" (also the box's close).
    virtual Answer askYesNoCancel(const QString &question) = 0;
    // Hands the document to the desktop's program for it and returns at once;
    // `noProgram` runs later if none takes it.
    virtual void openDocument(const QString &path, std::function<void()> noProgram) = 0;
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
