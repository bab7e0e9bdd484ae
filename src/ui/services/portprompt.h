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
    PortPrompt(const QList<UiServices::PortChoice> &ports, QWidget *parent = nullptr);
    std::optional<QString> chosenDevice() const;

private:
    QList<UiServices::PortChoice> m_ports;
    QComboBox *m_list = nullptr;
};
