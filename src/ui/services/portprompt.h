#pragma once

#include "services/uiservices.h"

#include <QDialog>

class QComboBox;

// "Select Port": asked when no port has been chosen yet; the choice holds for
// one transfer only.
class PortPrompt : public QDialog
{
    Q_OBJECT
public:
    PortPrompt(const QList<PortEntry> &ports, QWidget *parent = nullptr);
    std::optional<PortEntry> chosenPort() const;

private:
    QList<PortEntry> m_ports;
    QComboBox *m_list = nullptr;
};
