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

    m_edit4 = new QLineEdit(&panel);
    m_edit4->setObjectName(QStringLiteral("Edit4"));
    m_edit4->setGeometry(124, 30, 60, 21);
    m_edit4->installEventFilter(new KeyFilter(m_ui, &RepeaterPanel::Edit4KeyPress, m_edit4));

    addLabel(panel, "Label12", QStringLiteral("Рерим работы ретранслятора"), "teal", QRect(10, 58, 236, 16));
    m_radioButton1 = new QRadioButton(QStringLiteral("Прием"), &panel);
    m_radioButton1->setObjectName(QStringLiteral("RadioButton1"));
    m_radioButton1->setGeometry(18, 78, 100, 20);
    m_radioButton1->setChecked(true);
    m_radioButton2 = new QRadioButton(QStringLiteral("Передача"), &panel);
    m_radioButton2->setObjectName(QStringLiteral("RadioButton2"));
    m_radioButton2->setGeometry(124, 78, 110, 20);

    m_bitBtn2 =
        addButton(panel, "BitBtn2", QStringLiteral("Запись"), QStyle::SP_DialogApplyButton, QRect(22, 108, 96, 27));
    m_bitBtn3 =
        addButton(panel, "BitBtn3", QStringLiteral("Закрыть"), QStyle::SP_DialogCloseButton, QRect(134, 108, 96, 27));
    connect(m_bitBtn2, &QPushButton::clicked, this, &RepeaterPanel::BitBtn2Click);
    connect(m_bitBtn3, &QPushButton::clicked, this, &RepeaterPanel::BitBtn3Click);
}

MaybeRefusal RepeaterPanel::Edit4KeyPress(QChar key)
{
    return RepeaterAssignment::filterChannelKey(key);
}

void RepeaterPanel::BitBtn2Click()
{
    guarded(m_ui, [&] {
        const auto mode =
            m_radioButton2->isChecked() ? RepeaterAssignment::Mode::Transmit : RepeaterAssignment::Mode::Receive;
        const ChannelTable before = m_state.table;
        // Whatever follows, the table must pass the check again before it is
        // written to the station.
        m_state.dataValid = false;
        const auto outcome =
            RepeaterAssignment::write(m_state.table, m_state.savedRepeaterText, m_state.image, m_edit4->text(), mode);
        if (outcome.refusal) {
            m_ui.showRefusal(*outcome.refusal);
            return;
        }
        // The marker and the cleared scan box are a step of the table's history.
        m_model.recordChangedCells(before, QStringLiteral("Ретранслятор"));
    });
}

void RepeaterPanel::BitBtn3Click()
{
    hide();
}
