#pragma once

#include "services/uiservices.h"

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
    QString askOpenFileName(const FileDialog &dialog) override;
    bool openDocument(const QString &path) override;
    std::optional<PortEntry> choosePort(const QList<PortEntry> &ports) override;

private:
    QWidget *m_parent = nullptr;
};
