#include "services/portprompt.h"
#include "link/linktexts.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
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
    if (ports.isEmpty()) {
        auto *none = new QLabel(LinkTexts::noPortFound(), this);
        none->setObjectName(QStringLiteral("NoPortFound"));
        layout->addWidget(none);
    }
    // Qt's standard buttons, in the language of Qt's texts; OK only with a port chosen.
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    QPushButton *ok = buttons->button(QDialogButtonBox::Ok);
    ok->setEnabled(m_list->currentIndex() >= 0);
    connect(m_list, &QComboBox::currentIndexChanged, ok, [ok](int index) { ok->setEnabled(index >= 0); });
    layout->addWidget(buttons);
}

std::optional<PortEntry> PortPrompt::chosenPort() const
{
    const int i = m_list->currentIndex();
    if (i < 0 || i >= m_ports.size())
        return std::nullopt;
    return m_ports.at(i);
}
