#include "services/portprompt.h"
#include "link/linktexts.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

PortPrompt::PortPrompt(const QList<PortEntry> &ports, QWidget *parent) : QDialog(parent), m_ports(ports)
{
    setWindowTitle(LinkTexts::promptCaption());
    setObjectName(QStringLiteral("PortPrompt"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(LinkTexts::promptLine1(), this));
    layout->addWidget(new QLabel(LinkTexts::promptLine2(), this));
    m_list = new QComboBox(this);
    m_list->setObjectName(QStringLiteral("PortList"));
    for (const auto &port : ports)
        m_list->addItem(port.label());
    layout->addWidget(m_list);
    // Qt's standard buttons, in the language of Qt's texts.
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

std::optional<PortEntry> PortPrompt::chosenPort() const
{
    const int i = m_list->currentIndex();
    if (i < 0 || i >= m_ports.size())
        return std::nullopt;
    return m_ports.at(i);
}
