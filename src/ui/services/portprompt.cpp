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
    // The chosen port's device and adapter, and what its latency costs.
    auto *details = new QLabel(this);
    details->setObjectName(QStringLiteral("PortDetails"));
    details->setWordWrap(true);
    // Wide enough for the command that sets an adapter's latency, on one line.
    details->setMinimumWidth(details->fontMetrics().averageCharWidth() * 72);
    details->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(details);
    const auto showDetails = [this, details](int index) {
        details->setText(index >= 0 && index < m_ports.size() ? m_ports.at(index).details() : QString());
        details->setVisible(!details->text().isEmpty());
    };
    showDetails(m_list->currentIndex());
    connect(m_list, &QComboBox::currentIndexChanged, details, showDetails);
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
    // Another port's shorter details leave the room below them.
    layout->addStretch(1);
    layout->addWidget(buttons);
}

std::optional<PortEntry> PortPrompt::chosenPort() const
{
    const int i = m_list->currentIndex();
    if (i < 0 || i >= m_ports.size())
        return std::nullopt;
    return m_ports.at(i);
}
