#include "main/repeaterpanel.h"
#include "main/channeltablemodel.h"
#include "main/keyfilter.h"
#include "repeater/repeaterassignment.h"
#include "services/guard.h"
#include "main/appstate.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

namespace {

QLabel *addLabel(QFrame &panel, const char *name, const QString &text, const char *colour, const QRect &place)
{
    auto *label = new QLabel(text, &panel);
    label->setObjectName(QLatin1String(name));
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->setStyleSheet(QStringLiteral("color: %1;").arg(QLatin1String(colour)));
    label->setGeometry(place);
    return label;
}

// The panel's size is fixed; the desktop's font may be wider than the one it
// was laid out for, so the title steps down until it fits on its line.
void fitToWidth(QLabel &label)
{
    QFont font = label.font();
    while (font.pointSizeF() > 6.0 && QFontMetrics(font).horizontalAdvance(label.text()) > label.width() - 4)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    label.setFont(font);
}

QPushButton *addButton(QFrame &panel, const char *name, const QString &text, QStyle::StandardPixmap glyph,
                       const QRect &place)
{
    auto *button = new QPushButton(QApplication::style()->standardIcon(glyph), text, &panel);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(place);
    return button;
}

} // namespace

RepeaterPanel::RepeaterPanel(AppState &state, UiServices &ui, ChannelTableModel &model, QWidget *parent)
    : QFrame(parent), m_state(state), m_ui(ui), m_model(model)
{
    setObjectName(QStringLiteral("Panel3"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    QFrame &panel = *this;

    QLabel *title =
        addLabel(panel, "Label10", QStringLiteral("НАСТРОЙКА РАБОТЫ РЕТРАНСЛЯТОРА"), "purple", QRect(4, 6, 244, 16));
    title->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    fitToWidth(*title);
    addLabel(panel, "Label11", QStringLiteral("Номер канала"), "navy", QRect(10, 30, 110, 21));

    m_channelEdit = new QLineEdit(&panel);
    m_channelEdit->setObjectName(QStringLiteral("Edit4"));
    m_channelEdit->setGeometry(124, 30, 60, 21);
    m_channelEdit->installEventFilter(new KeyFilter(m_ui, &RepeaterPanel::channelKeyRule, m_channelEdit));

    addLabel(panel, "Label12", QStringLiteral("Рерим работы ретранслятора"), "teal", QRect(10, 58, 236, 16));
    m_receiveButton = new QRadioButton(QStringLiteral("Прием"), &panel);
    m_receiveButton->setObjectName(QStringLiteral("RadioButton1"));
    m_receiveButton->setGeometry(18, 78, 100, 20);
    m_receiveButton->setChecked(true);
    m_transmitButton = new QRadioButton(QStringLiteral("Передача"), &panel);
    m_transmitButton->setObjectName(QStringLiteral("RadioButton2"));
    m_transmitButton->setGeometry(124, 78, 110, 20);

    m_writeButton =
        addButton(panel, "BitBtn2", QStringLiteral("Запись"), QStyle::SP_DialogApplyButton, QRect(22, 108, 96, 27));
    m_closeButton =
        addButton(panel, "BitBtn3", QStringLiteral("Закрыть"), QStyle::SP_DialogCloseButton, QRect(134, 108, 96, 27));
    connect(m_writeButton, &QPushButton::clicked, this, &RepeaterPanel::onWrite);
    connect(m_closeButton, &QPushButton::clicked, this, &RepeaterPanel::onClose);
}

MaybeRefusal RepeaterPanel::channelKeyRule(QChar key)
{
    return RepeaterAssignment::filterChannelKey(key);
}

void RepeaterPanel::onWrite()
{
    guarded(m_ui, [&] {
        const auto mode =
            m_transmitButton->isChecked() ? RepeaterAssignment::Mode::Transmit : RepeaterAssignment::Mode::Receive;
        const ChannelTable before = m_state.table;
        // Whatever follows, the table must pass the check again before it is
        // written to the station.
        m_state.dataValid = false;
        const auto outcome = RepeaterAssignment::write(m_state.table, m_state.savedRepeaterText, m_state.image,
                                                       m_channelEdit->text(), mode);
        if (outcome.refusal) {
            m_ui.showRefusal(*outcome.refusal);
            return;
        }
        // The marker and the cleared scan box are a step of the table's history.
        m_model.recordChangedCells(before, QStringLiteral("Ретранслятор"));
    });
}

void RepeaterPanel::onClose()
{
    hide();
}
