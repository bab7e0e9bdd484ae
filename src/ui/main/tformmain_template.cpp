#include "main/channeltablemodel.h"
#include "main/keyfilter.h"
#include "main/tablehistory.h"
#include "main/tformmain.h"
#include "services/guard.h"
#include "table/templatebuilder.h"

#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

void TFormMain::buildTemplatePanel()
{
    m_panel2 = new QFrame(m_panel1);
    m_panel2->setObjectName(QStringLiteral("Panel2"));
    m_panel2->setGeometry(4, 26, 241, 99);
    m_panel2->setFrameStyle(QFrame::Panel | QFrame::Raised);

    const auto addField = [this](const char *name, const QString &label, const QString &text, int y,
                                 KeyFilter::Rule rule) {
        auto *caption = new QLabel(label, m_panel2);
        QFont bold = caption->font();
        bold.setBold(true);
        caption->setFont(bold);
        caption->setStyleSheet(QStringLiteral("color: navy;"));
        caption->setGeometry(6, y, 160, 21);
        auto *edit = new QLineEdit(text, m_panel2);
        edit->setObjectName(QLatin1String(name));
        edit->setGeometry(166, y, 68, 21);
        // Enter presses "Ok", as in any form; the rule sees the other keys.
        KeyFilter::Rule enterPasses = [rule = std::move(rule)](QChar key) -> MaybeRefusal {
            if (key == QChar(13))
                return std::nullopt;
            return rule(key);
        };
        edit->installEventFilter(new KeyFilter(m_ui, std::move(enterPasses), edit));
        connect(edit, &QLineEdit::returnPressed, this, [this] {
            if (m_bitBtn1->isVisible())
                m_bitBtn1->click();
        });
        return edit;
    };
    m_edit1 =
        addField("Edit1", QStringLiteral("Кол-во каналов"), QStringLiteral("10"), 4, &TemplateBuilder::filterCountKey);
    m_edit2 = addField("Edit2", QStringLiteral("Начальная частота, кГц"), QStringLiteral("140000"), 28,
                       &TemplateBuilder::filterFrequencyKey);
    m_edit3 = addField("Edit3", QStringLiteral("Смещение, кГц"), QStringLiteral("1000"), 52,
                       &TemplateBuilder::filterFrequencyKey);

    m_bitBtn1 = new QPushButton(QStringLiteral("Ok"), m_panel2);
    m_bitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    m_bitBtn1->setGeometry(80, 75, 80, 21);
    connect(m_bitBtn1, &QPushButton::clicked, this, &TFormMain::BitBtn1Click);
}

void TFormMain::N2Click()
{
    showWorkArea(true);
    m_edit1->setFocus();
    m_edit2->setText(QString::number(m_state.profile().lowKHz));
}

void TFormMain::BitBtn1Click()
{
    guarded(m_ui, [&] {
        const TemplateBuilder::Fields fields{m_edit1->text(), m_edit2->text(), m_edit3->text()};
        MaybeRefusal refusal;
        {
            const TableHistory::WholeStep step(*m_history, QStringLiteral("Шаблон"));
            const ChannelTableModel::TableChange change(*m_model);
            // The data are no longer checked, whatever the fields hold.
            m_state.dataValid = false;
            refusal = TemplateBuilder::build(fields, m_state);
        }
        if (refusal) {
            m_ui.showRefusal(*refusal);
            return;
        }
        m_history->markSaved();
        showSettingsText(true);
        showTable(true);
        refreshSettingsText();
    });
}
