#include "services/portprompt.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

PortPrompt::PortPrompt(const QList<UiServices::PortChoice> &ports, QWidget *parent)
    : QDialog(parent), m_ports(ports)
{
    setWindowTitle(QStringLiteral("Select Port"));
    setObjectName(QStringLiteral("PortPrompt"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("The configured serial port is not valid."), this));
    layout->addWidget(new QLabel(QStringLiteral("Please choose another port."), this));
    m_list = new QComboBox(this);
    m_list->setObjectName(QStringLiteral("PortList"));
    for (const auto &port : ports)
        m_list->addItem(port.name + QStringLiteral("  (") + port.device + u')');
    layout->addWidget(m_list);
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

std::optional<QString> PortPrompt::chosenDevice() const
{
    const int i = m_list->currentIndex();
    if (i < 0 || i >= m_ports.size())
        return std::nullopt;
    return m_ports.at(i).device;
}
